#include "app/output_file.h"

#include "util/signal_actions.h"
#include "util/write_all.h"

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace mlfq {

namespace {

constexpr int max_link_hops = 40; // as the kernel allows

std::string folder_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string base_of(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The temporary file being written, for the signal handler: a fixed buffer, since a
// handler may neither allocate nor lock.
char temporary_path[PATH_MAX + NAME_MAX + 2];
volatile sig_atomic_t temporary_held = 0;

void on_ending_signal(int signal_number) {
    if (temporary_held)
        ::unlink(temporary_path);
    raise_by_default(signal_number);
}

// Runs `work` with every signal blocked, so that a temporary file and its registration
// come and go together.
template <class Work>
auto with_signals_blocked(Work work) {
    sigset_t all, previous;
    sigfillset(&all);
    sigprocmask(SIG_BLOCK, &all, &previous);
    auto result = work();
    sigprocmask(SIG_SETMASK, &previous, nullptr);
    return result;
}

// A hidden name beside the final one that fits the folder's name limit whenever the
// final name does: ".NAME.XXXXXX", the name cut as needed.
std::string temporary_pattern(const std::string& path) {
    const std::string folder = folder_of(path);
    long limit = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    if (limit <= 0)
        limit = NAME_MAX;
    const std::size_t room = static_cast<std::size_t>(limit) - 8; // "." and ".XXXXXX"
    std::string base = base_of(path);
    if (base.size() > room)
        base.resize(room);
    return folder + "." + base + ".XXXXXX";
}

int write_stream(const std::string& path, std::string_view content) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = write_all(fd, content);
    if (::close(fd) != 0 && error == 0 && errno != EINTR)
        error = errno;
    return error;
}

int replace_file(const OutputTarget& target, std::string_view content) {
    std::string temporary = temporary_pattern(target.path);
    if (temporary.size() >= sizeof temporary_path)
        return ENAMETOOLONG;
    const int fd = with_signals_blocked([&] {
        const int opened = ::mkstemp(temporary.data());
        if (opened >= 0) {
            std::memcpy(temporary_path, temporary.c_str(), temporary.size() + 1);
            temporary_held = 1;
        }
        return opened;
    });
    if (fd < 0)
        return errno;
    int error = 0;
    struct stat old {};
    if (target.exists && ::stat(target.path.c_str(), &old) == 0) {
        // The replaced file's permissions, and its owner where we may give it.
        if (::geteuid() == 0 && ::fchown(fd, old.st_uid, old.st_gid) != 0)
            error = errno;
        if (error == 0 && ::fchmod(fd, old.st_mode & 07777) != 0)
            error = errno;
    } else { // the permissions a file created the usual way would get
        const mode_t mask = ::umask(0);
        ::umask(mask);
        if (::fchmod(fd, 0666 & ~mask) != 0)
            error = errno;
    }
    if (error == 0)
        error = write_all(fd, content);
    if (error == 0 && ::fsync(fd) != 0 && errno != EINVAL && errno != EROFS)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && std::rename(temporary.c_str(), target.path.c_str()) != 0)
        error = errno;
    with_signals_blocked([&] {
        if (error != 0)
            ::unlink(temporary.c_str());
        temporary_held = 0;
        return 0;
    });
    return error;
}

} // namespace

int resolve_output(const std::string& name, OutputTarget& target) {
    target = OutputTarget{};
    if (name == "-")
        return 0;
    struct stat info {};
    // A device, FIFO or socket, also through the kernel's own links (/dev/stdout), is
    // opened by the name given.
    if (::stat(name.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        if (S_ISDIR(info.st_mode))
            return EISDIR;
        target.kind = OutputTarget::Kind::stream;
        target.path = name;
        target.exists = true;
        target.device = info.st_dev;
        target.inode = info.st_ino;
        return 0;
    }
    std::string path = name;
    for (int hops = 0;; ++hops) {
        if (::lstat(path.c_str(), &info) != 0) {
            if (errno != ENOENT)
                return errno;
            break;
        }
        if (!S_ISLNK(info.st_mode)) {
            target.exists = true;
            break;
        }
        if (hops == max_link_hops)
            return ELOOP;
        char link[PATH_MAX];
        const ssize_t length = ::readlink(path.c_str(), link, sizeof link - 1);
        if (length < 0)
            return errno;
        const std::string to(link, static_cast<std::size_t>(length));
        path = to.starts_with('/') ? to : folder_of(path) + to;
    }
    target.path = path;
    if (target.exists) {
        if (S_ISDIR(info.st_mode))
            return EISDIR;
        target.kind = S_ISREG(info.st_mode) ? OutputTarget::Kind::file : OutputTarget::Kind::stream;
        target.device = info.st_dev;
        target.inode = info.st_ino;
        return 0;
    }
    target.kind = OutputTarget::Kind::file;
    if (path.ends_with('/'))
        return EISDIR;
    const std::string folder = folder_of(path);
    char* real = ::realpath(folder.empty() ? "." : folder.c_str(), nullptr);
    if (real == nullptr)
        return errno;
    target.canonical = std::string(real) + "/" + base_of(path);
    std::free(real);
    return 0;
}

bool same_target(const OutputTarget& a, const OutputTarget& b) {
    if (a.kind == OutputTarget::Kind::standard_output ||
        b.kind == OutputTarget::Kind::standard_output)
        return a.kind == b.kind;
    if (a.exists != b.exists)
        return false;
    return a.exists ? a.device == b.device && a.inode == b.inode : a.canonical == b.canonical;
}

int write_output(const OutputTarget& target, std::string_view content) {
    switch (target.kind) {
    case OutputTarget::Kind::standard_output:
        return write_all(STDOUT_FILENO, content);
    case OutputTarget::Kind::stream:
        return write_stream(target.path, content);
    case OutputTarget::Kind::file:
        break;
    }
    return replace_file(target, content);
}

void protect_temporary_files() {
    handle_ending_signals(on_ending_signal);
    // Past a file-size limit the write fails with EFBIG and is reported like any other.
    std::signal(SIGXFSZ, SIG_IGN);
}

} // namespace mlfq
