// mlfq: an interactive simulator of CPU scheduling with multilevel feedback queues.
#include "console/main_menu.h"
#include "console/terminal_console.h"
#include "console/terminal_mode.h"
#include "model/exit_status.h"
#include "model/record_memory.h"

#include <cstdio>
#include <new>

int main() {
    // Text reaches the screen at once, in order with everything else written.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    std::set_new_handler([] { mlfq::out_of_memory(); });
    mlfq::terminal_start();
    mlfq::TerminalConsole console;
    mlfq::set_console(&console);
    mlfq::main_menu();
    return mlfq::exit_ok;
}
