// Reading the workload file: its whole text, or why it could not be read.
#pragma once

#include <cstddef>
#include <string>

namespace mlfq {

// The file the program reads when no other is named.
inline constexpr const char* workload_file_name = "processo.txt";

// More text than this is refused as soon as it is passed: a teacher's workload is a few
// kilobytes, and loading even a sorted file this large takes hours.
inline constexpr std::size_t workload_size_limit = std::size_t{64} << 20;

struct WorkloadRead {
    enum class Problem {
        none,
        cannot_open, // error_number says why
        not_a_file,  // a device, a socket or something else that is neither a file nor a pipe
        too_large,   // more than workload_size_limit bytes
    };
    Problem problem = Problem::none;
    int error_number = 0;
    std::string text;
};

// Reads a regular file, or a pipe or FIFO to its end. Opening never waits: a FIFO that
// nobody writes to reads as empty.
WorkloadRead read_workload_file(const char* path);

} // namespace mlfq
