// Reading the workload file: its whole text, or why it could not be read.
#pragma once

#include <string>

namespace mlfq {

// The file the program reads when no other is named.
inline constexpr const char* workload_file_name = "processo.txt";

struct WorkloadRead {
    bool ok = false;
    int error_number = 0; // errno of the failure when not ok
    std::string text;
};

WorkloadRead read_workload_file(const char* path);

} // namespace mlfq
