// Loading of the workload file "processo.txt" from the working directory.
#pragma once

#include <optional>
#include <string>

namespace mlfq {

inline constexpr const char* workload_file_name = "processo.txt";

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> read_file(const char* path);

// Creates not_dispatched and fills it from "processo.txt", setting the quantum. Ends the
// program with status 1 when the file cannot be read and with status 3 when it is
// malformed, each time with a message; nothing has been drawn on the screen before.
void load_workload();

} // namespace mlfq
