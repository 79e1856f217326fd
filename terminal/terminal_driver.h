// The terminal's thin driver of the interactive session: the terminal's states and
// signals, keys read and decoded with their timing, text written to the end.
#pragma once

#include "console/session.h"
#include "terminal/terminal_console.h"

namespace mlfq {

// Why the session's run on the terminal ended.
enum class TerminalEnd {
    escape,      // ESC on the status screen
    input_ended, // the keyboard input ended or could not be read (told on the screen)
    write_failed // standard output could not be written (told on standard error)
};

// Puts the terminal in the program's state, starts the session and feeds it every key
// until it ends; the terminal is put back whenever the program ends.
TerminalEnd drive_on_terminal(Session& session, TerminalConsole& console);

} // namespace mlfq
