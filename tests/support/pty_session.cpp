#include "support/pty_session.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fstream>
#include <poll.h>
#include <pty.h>
#include <sstream>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <utmp.h>

namespace mlfq::testing {

namespace {

constexpr auto deadline = std::chrono::seconds(20);

struct Named {
    std::string_view name;
    std::string_view bytes;
};

constexpr Named key_names[] = {
    {"<esc>", "\x1b"},     {"<tab>", "\t"},      {"<enter>", "\r"},    {"<c-c>", "\x03"},
    {"<c-z>", "\x1a"},     {"<c-\\>", "\x1c"},   {"<up>", "\x1b[A"},   {"<down>", "\x1b[B"},
    {"<right>", "\x1b[C"}, {"<left>", "\x1b[D"}, {"<home>", "\x1b[H"}, {"<end>", "\x1b[F"},
    {"<f1>", "\x1bOP"},    {"<f5>", "\x1b[15~"}, {"<del>", "\x1b[3~"},
};

} // namespace

std::string key_bytes(std::string_view keys) {
    std::string bytes;
    while (!keys.empty()) {
        bool named = false;
        for (const Named& n : key_names) {
            if (keys.starts_with(n.name)) {
                bytes += n.bytes;
                keys.remove_prefix(n.name.size());
                named = true;
                break;
            }
        }
        if (!named) {
            bytes += keys.front();
            keys.remove_prefix(1);
        }
    }
    return bytes;
}

std::string readable(std::string_view raw) {
    constexpr std::string_view clear = "\x1b[H\x1b[2J";
    std::string text;
    for (std::size_t i = 0; i < raw.size();) {
        if (raw.substr(i).starts_with(clear)) {
            text += "<clr>";
            i += clear.size();
        } else if (raw.substr(i).starts_with("\r\n")) {
            text += "\n";
            i += 2;
        } else {
            text += raw[i++];
        }
    }
    return text;
}

namespace {

[[noreturn]] void exec_program(const std::string& binary, const std::filesystem::path& directory,
                               const PtyOptions& options) {
    if (::chdir(directory.c_str()) != 0)
        _exit(126);
    ::setenv("TERM", "xterm", 1);
    const rlimit no_core{0, 0};
    ::setrlimit(RLIMIT_CORE, &no_core);
    if (options.address_space_limit != 0) {
        const rlimit limit{options.address_space_limit, options.address_space_limit};
        ::setrlimit(RLIMIT_AS, &limit);
    }
    std::vector<char*> argv{const_cast<char*>(binary.c_str())};
    for (const std::string& a : options.arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    ::execv(binary.c_str(), argv.data());
    _exit(127);
}

volatile sig_atomic_t to_background = 0;

// The small shell: starts the program in the foreground process group of its own and
// ends as the program ends, with its status or its signal. SIGUSR1 is its "bg": it takes
// the terminal's foreground back and lets the stopped program go on in the background.
[[noreturn]] void run_as_shell(const std::string& binary, const std::filesystem::path& directory,
                               const PtyOptions& options, int report_fd) {
    ::signal(SIGTTOU, SIG_IGN);
    struct sigaction bg {};
    bg.sa_handler = [](int) { to_background = 1; };
    ::sigaction(SIGUSR1, &bg, nullptr); // no SA_RESTART: waitpid returns to act on it
    const pid_t program = ::fork();
    if (program == 0) {
        ::setpgid(0, 0);
        ::signal(SIGTTOU, SIG_DFL);
        exec_program(binary, directory, options);
    }
    ::setpgid(program, program);
    ::tcsetpgrp(STDIN_FILENO, program);
    if (::write(report_fd, &program, sizeof program) != sizeof program)
        _exit(125);
    int status = 0;
    for (;;) {
        const pid_t got = ::waitpid(program, &status, 0);
        if (got < 0 && errno == EINTR && to_background) {
            to_background = 0;
            ::tcsetpgrp(STDIN_FILENO, ::getpgrp());
            ::kill(program, SIGCONT);
            continue;
        }
        if (got != program || WIFEXITED(status) || WIFSIGNALED(status))
            break;
    }
    if (WIFSIGNALED(status)) {
        ::signal(WTERMSIG(status), SIG_DFL);
        ::raise(WTERMSIG(status));
    }
    _exit(WIFEXITED(status) ? WEXITSTATUS(status) : 125);
}

} // namespace

PtySession::PtySession(const std::string& binary, const std::filesystem::path& directory,
                       PtyOptions options) {
    termios cooked{};
    cfmakeraw(&cooked); // then the usual cooked flags of a login terminal
    cooked.c_iflag = ICRNL | IXON | BRKINT | IMAXBEL | IUTF8;
    cooked.c_oflag = OPOST | ONLCR;
    cooked.c_lflag = ISIG | ICANON | ECHO | ECHOE | ECHOK | ECHOCTL | ECHOKE | IEXTEN;
    cooked.c_cc[VINTR] = 3;
    cooked.c_cc[VQUIT] = 0x1c;
    cooked.c_cc[VERASE] = 0x7f;
    cooked.c_cc[VKILL] = 0x15;
    cooked.c_cc[VEOF] = 4;
    cooked.c_cc[VSUSP] = 0x1a;
    cooked.c_cc[VSTART] = 0x11;
    cooked.c_cc[VSTOP] = 0x13;
    cooked.c_cc[VMIN] = 1;
    cfsetispeed(&cooked, B38400);
    cfsetospeed(&cooked, B38400);
    winsize size{24, 80, 0, 0};
    if (openpty(&master_, &slave_, nullptr, &cooked, &size) != 0)
        return;
    tcgetattr(slave_, &initial_);
    int report[2];
    if (::pipe(report) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        ::close(master_);
        ::close(report[0]);
        login_tty(slave_);
        if (options.job_control)
            run_as_shell(binary, directory, options, report[1]);
        exec_program(binary, directory, options);
    }
    ::close(report[1]);
    program_ = pid_;
    if (options.job_control && ::read(report[0], &program_, sizeof program_) != sizeof program_)
        program_ = -1;
    ::close(report[0]);
}

PtySession::~PtySession() {
    if (pid_ > 0 && !exited_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (master_ >= 0)
        ::close(master_);
    if (slave_ >= 0)
        ::close(slave_);
}

void PtySession::type(std::string_view keys) {
    const std::string bytes = key_bytes(keys);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno != EINTR)
            return;
        done += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
}

bool PtySession::pump(std::chrono::milliseconds timeout) {
    pollfd fd{master_, POLLIN, 0};
    if (::poll(&fd, 1, static_cast<int>(timeout.count())) <= 0)
        return false;
    char buffer[4096];
    const ssize_t n = ::read(master_, buffer, sizeof buffer);
    if (n <= 0)
        return false;
    raw_.append(buffer, static_cast<std::size_t>(n));
    return true;
}

bool PtySession::wait_until(const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!done()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        pump(std::chrono::milliseconds(50));
    }
    return true;
}

std::size_t PtySession::count(std::string_view text) const {
    const std::string shown = screen();
    std::size_t n = 0;
    for (std::size_t at = shown.find(text); at != std::string::npos;
         at = shown.find(text, at + text.size()))
        ++n;
    return n;
}

bool PtySession::wait_for(std::string_view text, int wanted) {
    return wait_until([&] { return count(text) >= static_cast<std::size_t>(wanted); });
}

bool PtySession::wait_for_end(std::string_view text) {
    return wait_until([&] { return screen().ends_with(text); });
}

bool PtySession::wait_for_key_read() {
    return wait_until([&] { return (settings().c_lflag & ISIG) == 0; });
}

int PtySession::wait_exit() {
    const bool ended = wait_until([&] {
        if (!exited_ && ::waitpid(pid_, &status_, WNOHANG) == pid_)
            exited_ = true;
        return exited_;
    });
    while (pump(std::chrono::milliseconds(0))) {
    }
    return ended ? status_ : -1;
}

void PtySession::send_signal(int signal_number) const {
    ::kill(program_, signal_number);
}

void PtySession::background() const {
    ::kill(pid_, SIGUSR1);
}

char PtySession::process_state() const {
    std::ifstream stat("/proc/" + std::to_string(program_) + "/stat");
    std::string line;
    std::getline(stat, line);
    const std::size_t after_name = line.rfind(')');
    return after_name == std::string::npos || after_name + 2 >= line.size() ? '?'
                                                                            : line[after_name + 2];
}

// utime and stime are fields 14 and 15 of /proc/PID/stat; field 3 follows the name.
long PtySession::cpu_ticks() const {
    std::ifstream stat("/proc/" + std::to_string(program_) + "/stat");
    std::string line;
    std::getline(stat, line);
    std::istringstream fields(line.substr(line.rfind(')') + 2));
    std::string field;
    long ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14 || i == 15)
            ticks += std::stol(field);
    }
    return ticks;
}

termios PtySession::settings() const {
    termios now{};
    tcgetattr(slave_, &now);
    return now;
}

bool exited_with(int status, int code) {
    return WIFEXITED(status) && WEXITSTATUS(status) == code;
}

bool killed_by(int status, int signal_number) {
    return WIFSIGNALED(status) && WTERMSIG(status) == signal_number;
}

bool same_settings(const termios& a, const termios& b) {
    return a.c_iflag == b.c_iflag && a.c_oflag == b.c_oflag && a.c_cflag == b.c_cflag &&
           a.c_lflag == b.c_lflag && std::memcmp(a.c_cc, b.c_cc, sizeof a.c_cc) == 0;
}

} // namespace mlfq::testing
