#pragma once

namespace mlfq {

// The program's run on a simulation already set up: shows the status screen and runs
// the command of each key until ESC.
void main_menu();

// One pass of the loop without the loading: the status screen and one key.
// Returns false when the key was ESC.
bool main_menu_once();

// The command of the key c: one clock step, every event shown with its TAB pause.
void step();

// Draws the status screen (after clearing the screen).
void show_status_screen();

} // namespace mlfq
