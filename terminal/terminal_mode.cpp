#include "terminal/terminal_mode.h"

#include "util/signal_actions.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
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

// Only a process of the terminal's foreground process group may change its settings;
// from the background, tcsetattr would stop the process (SIGTTOU) instead. A job sent to
// the background by the shell therefore leaves the settings alone until it comes back.
// Both calls are async-signal-safe.
bool in_foreground() {
    return tcgetpgrp(STDIN_FILENO) == getpgrp();
}

// TCSANOW keeps the bytes typed ahead, which TCSAFLUSH would throw away.
void apply(int wanted) {
    mode = wanted;
    if (started && in_foreground()) {
        const termios t = settings_for(wanted);
        tcsetattr(STDIN_FILENO, TCSANOW, &t);
    }
}

// Puts the terminal back and lets the signal end the process (with a core dump where
// the signal makes one).
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

// An alternate stack for the handlers, so that running out of stack still restores.
void install_signal_stack() {
    static char stack_memory[64 * 1024];
    stack_t stack{};
    stack.ss_sp = stack_memory;
    stack.ss_size = sizeof stack_memory;
    sigaltstack(&stack, nullptr);
}

void install_signal_handlers() {
    install_signal_stack();
    handle_ending_signals(on_ending_signal);
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
    if (started && in_foreground())
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
}

} // namespace mlfq
