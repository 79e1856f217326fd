#pragma once

namespace mlfq {

// The menu loop over a console that reads its own keys: the status screen and the command
// of each key until ESC. The program runs the same screens as a Session fed keys
// (console/session.h), which is held to these bytes; this loop reads through
// Console::read_key and serves the unit tests.
void main_menu();

// One pass of the loop without the loading: the status screen and one key.
// Returns false when the key was ESC.
bool main_menu_once();

// The command of the key c: one clock step, every event shown with its TAB pause.
void step();

// Draws the status screen (after clearing the screen).
void show_status_screen();

} // namespace mlfq
