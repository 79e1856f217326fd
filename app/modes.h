// The two ways the program runs, each returning the exit status.
#pragma once

#include "app/command_line.h"

namespace mlfq {

// The simulator on the terminal, as without any argument.
int run_interactive(const Options& options);

// The whole run at once, as text, JSON, SVG or HTML.
int run_report_mode(const Options& options);

// Reads the whole program's command line and runs it.
int run_program(int argc, char** argv);

} // namespace mlfq
