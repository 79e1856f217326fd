#include "console/terminal_mode.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>
#include <termios.h>
#include <unistd.h>

namespace mlfq {

namespace {

enum Mode : int { original, quiet, raw };

termios saved;                         // the settings found at start
volatile sig_atomic_t started = 0;     // `saved` holds settings to put back
volatile sig_atomic_t mode = original; // the state the terminal should be in

// The settings of a state; the only place where flags are chosen.
termios settings_for(int wanted) {
    termios t = saved;
    if (wanted == original)
        return t;
    // No echo and no line editing: a key is readable at once and never shown.
    t.c_lflag &= ~static_cast<tcflag_t>(ECHO | ICANON);
    // Enter gives CR and Ctrl+S/Ctrl+Q are keys, the same whether typed ahead or not.
    t.c_iflag &= ~static_cast<tcflag_t>(ICRNL | IXON);
    // A read returns as soon as one byte is there.
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    // Output processing stays on, so "\n" still starts a new line in the first column.
    if (wanted == raw) {
        // Ctrl+C, Ctrl+Z and Ctrl+\ arrive as keys; Ctrl+V is no longer a prefix.
        t.c_lflag &= ~static_cast<tcflag_t>(ISIG | IEXTEN);
    }
    return t;
}

// TCSANOW keeps the bytes typed ahead, which TCSAFLUSH would throw away.
void apply(int wanted) {
    mode = wanted;
    if (started) {
        const termios t = settings_for(wanted);
        tcsetattr(STDIN_FILENO, TCSANOW, &t);
    }
}

void set_handler(int signal_number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

// Lets the signal take its default action now, from inside its own handler.
void raise_by_default(int signal_number) {
    set_handler(signal_number, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal_number);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal_number);
}

// Puts the terminal back and lets the signal end the process.
void on_ending_signal(int signal_number) {
    terminal_restore();
    raise_by_default(signal_number);
}

// Ctrl+Z: the terminal is usable while the process is stopped, and comes back to the
// program's state when it continues.
void on_stop(int) {
    const int saved_errno = errno;
    const int resume_mode = mode;
    terminal_restore();
    raise_by_default(SIGTSTP); // stops here until SIGCONT
    set_handler(SIGTSTP, on_stop);
    apply(resume_mode);
    errno = saved_errno;
}

// Also after a stop that could not be caught (SIGSTOP), the shell may have reset the
// terminal: set the program's state again.
void on_continue(int) {
    const int saved_errno = errno;
    apply(mode);
    errno = saved_errno;
}

// A signal that was ignored when the program started (nohup, a background job without
// job control) stays ignored.
void handle_unless_ignored(int signal_number, void (*handler)(int)) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
        set_handler(signal_number, handler);
}

void install_signal_handlers() {
    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE})
        handle_unless_ignored(signal_number, on_ending_signal);
    handle_unless_ignored(SIGTSTP, on_stop);
    set_handler(SIGCONT, on_continue);
}

} // namespace

void terminal_start() {
    if (!isatty(STDIN_FILENO) || tcgetattr(STDIN_FILENO, &saved) != 0)
        return;
    started = 1;
    std::atexit(terminal_restore);
    install_signal_handlers();
    apply(quiet);
}

void terminal_enter_raw() {
    apply(raw);
}
void terminal_leave_raw() {
    apply(quiet);
}

void terminal_restore() {
    if (started)
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

} // namespace mlfq
