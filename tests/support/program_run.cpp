#include "support/program_run.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mlfq::testing {

ProgramRun run_program(const std::string& binary, const std::filesystem::path& directory,
                       const std::filesystem::path& input) {
    ProgramRun run;
    int pipe_fds[2];
    if (::pipe(pipe_fds) != 0)
        return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        if (in < 0 || ::chdir(directory.c_str()) != 0)
            _exit(126);
        ::dup2(in, STDIN_FILENO);
        ::dup2(pipe_fds[1], STDOUT_FILENO);
        ::close(pipe_fds[0]);
        ::execl(binary.c_str(), binary.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(pipe_fds[1]);
    char buffer[4096];
    ssize_t n = 0;
    while ((n = ::read(pipe_fds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<std::size_t>(n));
    ::close(pipe_fds[0]);
    ::waitpid(pid, &run.status, 0);
    return run;
}

} // namespace mlfq::testing
