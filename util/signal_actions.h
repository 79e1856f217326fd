// Signal handling shared by the terminal and report mode: handlers that put something
// right and then let the signal do what it would have done.
#pragma once

#include <span>

namespace mlfq {

// SA_RESTART: a read or write interrupted by a stop and continue goes on by itself;
// SA_ONSTACK: a stack overflow can still be handled, on a stack of its own.
void set_handler(int signal_number, void (*handler)(int));

// A signal that was ignored when the program started (nohup, a background job without
// job control) stays ignored.
void handle_unless_ignored(int signal_number, void (*handler)(int));

// Lets the signal take its default action now, from inside its own handler.
// Async-signal-safe.
void raise_by_default(int signal_number);

// Every catchable signal whose default action ends the process, but the real-time ones:
// the interrupt keys and hang-up, the user and timer signals, resource limits, the crash
// signals.
std::span<const int> ending_signals();

// The same handler for every ending signal, real-time ones included, unless ignored.
void handle_ending_signals(void (*handler)(int));

} // namespace mlfq
