#pragma once

namespace mlfq {

// How the program ends; every status but 0 comes with a message on standard output.
enum ExitStatus : int {
    exit_ok = 0,            // ESC on the main menu
    exit_cannot_open = 1,   // the workload file cannot be opened
    exit_out_of_memory = 2, // an allocation failed
    exit_bad_workload = 3,  // the workload file is malformed
    exit_input_ended = 4,   // the keyboard input ended or could not be read
};

} // namespace mlfq
