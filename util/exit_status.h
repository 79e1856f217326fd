// How the program ends. Interactive runs report on standard output, as the screens do;
// report mode and command-line errors report on standard error.
#pragma once

namespace mlfq {

enum ExitStatus : int {
    exit_ok = 0,            // ESC on the main menu, or a report written
    exit_cannot_open = 1,   // the workload file cannot be opened
    exit_out_of_memory = 2, // an allocation failed
    exit_bad_workload = 3,  // the workload file is malformed
    exit_input_ended = 4,   // the keyboard input ended or could not be read
    exit_usage = 64,        // a wrong command line (sysexits EX_USAGE)
    exit_write_failed = 74, // standard output could not be written (EX_IOERR)
    exit_cannot_create = 73 // an output file could not be written (EX_CANTCREAT)
};

} // namespace mlfq
