#include "support/program_run.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace mlfq::testing {

namespace {

// Reads both pipes to their ends, whichever has something.
void drain(int out_fd, int err_fd, ProgramRun& run) {
    pollfd fds[2] = {{out_fd, POLLIN, 0}, {err_fd, POLLIN, 0}};
    std::string* into[2] = {&run.output, &run.errors};
    int open_fds = 2;
    while (open_fds > 0 && ::poll(fds, 2, -1) > 0) {
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            char buffer[4096];
            const ssize_t n = ::read(fds[i].fd, buffer, sizeof buffer);
            if (n > 0) {
                into[i]->append(buffer, static_cast<std::size_t>(n));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open_fds;
            }
        }
    }
}

} // namespace

ProgramRun run_command(const std::string& binary, const std::filesystem::path& directory,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& input, const std::filesystem::path& output) {
    ProgramRun run;
    int out_pipe[2], err_pipe[2];
    if (::pipe(out_pipe) != 0 || ::pipe(err_pipe) != 0)
        return run;
    const pid_t pid = ::fork();
    if (pid == 0) {
        const int in = ::open(input.c_str(), O_RDONLY);
        if (in < 0 || ::chdir(directory.c_str()) != 0)
            _exit(126);
        ::dup2(in, STDIN_FILENO);
        const int out = output.empty() ? out_pipe[1] : ::open(output.c_str(), O_WRONLY);
        if (out < 0)
            _exit(126);
        ::dup2(out, STDOUT_FILENO);
        ::dup2(err_pipe[1], STDERR_FILENO);
        ::close(out_pipe[0]);
        ::close(err_pipe[0]);
        std::vector<char*> argv{const_cast<char*>(binary.c_str())};
        for (const std::string& a : arguments)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(binary.c_str(), argv.data());
        _exit(127);
    }
    ::close(out_pipe[1]);
    ::close(err_pipe[1]);
    drain(out_pipe[0], err_pipe[0], run);
    ::waitpid(pid, &run.status, 0);
    return run;
}

ProgramRun run_program(const std::string& binary, const std::filesystem::path& directory,
                       const std::filesystem::path& input) {
    return run_command(binary, directory, {}, input);
}

} // namespace mlfq::testing
