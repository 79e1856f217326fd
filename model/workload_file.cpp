#include "model/workload_file.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mlfq {

namespace {

WorkloadRead failure(WorkloadRead::Problem problem, int error_number = 0) {
    WorkloadRead read;
    read.problem = problem;
    read.error_number = error_number;
    return read;
}

// Reads to the end, or until more than the limit has come.
WorkloadRead read_all(int fd) {
    WorkloadRead read;
    char chunk[64 * 1024];
    for (;;) {
        const ssize_t got = ::read(fd, chunk, sizeof chunk);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return failure(WorkloadRead::Problem::cannot_open, errno);
        if (got == 0)
            return read;
        if (read.text.size() + static_cast<std::size_t>(got) > workload_size_limit)
            return failure(WorkloadRead::Problem::too_large);
        read.text.append(chunk, static_cast<std::size_t>(got));
    }
}

} // namespace

WorkloadRead read_workload_file(const char* path) {
    // O_NONBLOCK: opening a FIFO without a writer returns at once instead of waiting.
    const int fd = ::open(path, O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return failure(WorkloadRead::Problem::cannot_open, errno);
    struct stat info {};
    WorkloadRead read;
    if (::fstat(fd, &info) != 0)
        read = failure(WorkloadRead::Problem::cannot_open, errno);
    else if (S_ISDIR(info.st_mode))
        read = failure(WorkloadRead::Problem::cannot_open, EISDIR);
    else if (!S_ISREG(info.st_mode) && !S_ISFIFO(info.st_mode))
        read = failure(WorkloadRead::Problem::not_a_file); // /dev/zero, /dev/tty, a socket
    else if (S_ISREG(info.st_mode) && static_cast<std::size_t>(info.st_size) > workload_size_limit)
        read = failure(WorkloadRead::Problem::too_large);
    else if (::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK) != 0)
        read = failure(WorkloadRead::Problem::cannot_open, errno);
    else
        read = read_all(fd);
    ::close(fd);
    return read;
}

} // namespace mlfq
