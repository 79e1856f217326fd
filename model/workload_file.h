// Loading of the workload file "processo.txt" from the working directory.
#pragma once

namespace mlfq {

inline constexpr const char* workload_file_name = "processo.txt";

// Creates not_dispatched and fills it from "processo.txt", setting the quantum. Ends the
// program with status 1 when the file cannot be read and with status 3 when it is
// malformed, each time with a message; nothing has been drawn on the screen before.
void load_workload();

} // namespace mlfq
