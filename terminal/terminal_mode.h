// The terminal on standard input, in the three states the program uses:
//  - original: the settings found at start, put back on every way out;
//  - quiet: for the whole run, no echo and no line buffering, so keys typed ahead are
//    held unechoed for the next reads, while Ctrl+C still interrupts;
//  - raw: during a key read only, where Ctrl+C, Ctrl+Z and Ctrl+\ are ordinary keys.
// When standard input is not a terminal, all of this does nothing.
#pragma once

namespace mlfq {

// Saves the settings, enters the quiet state, and makes sure the saved settings come
// back at exit and when a signal ends or stops the process.
void terminal_start();

void terminal_enter_raw();
void terminal_leave_raw();

// Puts back the settings found at start. Safe to call twice, and from a signal handler.
void terminal_restore();

} // namespace mlfq
