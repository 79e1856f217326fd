#include "util/signal_actions.h"

#include <csignal>

namespace mlfq {

void set_handler(int signal_number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_flags = SA_RESTART | SA_ONSTACK;
    sigemptyset(&action.sa_mask);
    sigaction(signal_number, &action, nullptr);
}

void handle_unless_ignored(int signal_number, void (*handler)(int)) {
    struct sigaction current {};
    if (sigaction(signal_number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN)
        set_handler(signal_number, handler);
}

void raise_by_default(int signal_number) {
    set_handler(signal_number, SIG_DFL);
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal_number);
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
    raise(signal_number);
}

namespace {

constexpr int signals[] = {
    SIGHUP,    SIGINT,  SIGQUIT,   SIGILL,  SIGTRAP, SIGABRT, SIGBUS,
    SIGFPE,    SIGUSR1, SIGSEGV,   SIGUSR2, SIGPIPE, SIGALRM, SIGTERM,
    SIGXCPU,   SIGXFSZ, SIGVTALRM, SIGPROF, SIGIO,   SIGPWR,  SIGSYS,
#ifdef SIGSTKFLT
    SIGSTKFLT,
#endif
};

} // namespace

std::span<const int> ending_signals() {
    return signals;
}

void handle_ending_signals(void (*handler)(int)) {
    for (int signal_number : signals)
        handle_unless_ignored(signal_number, handler);
    for (int signal_number = SIGRTMIN; signal_number <= SIGRTMAX; ++signal_number)
        handle_unless_ignored(signal_number, handler);
}

} // namespace mlfq
