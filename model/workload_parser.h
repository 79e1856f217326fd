// Parsing of the workload text: the quantum, then one entry per process (name,
// arrival, extra, number of bursts, the CPU/I/O pairs and the final CPU burst).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mlfq {

struct WorkloadError {
    std::int64_t line = 0;
    std::string message; // in Portuguese; printable, with no control character
};

// Reads `text` into scheduler.quantum and scheduler.not_dispatched (whose head node must
// exist). A malformed text leaves no process behind and returns what was wrong.
std::optional<WorkloadError> parse_workload(std::string_view text);

// Quotes a piece of input for a message: well-formed UTF-8 stays as written, control
// characters, bytes that are not UTF-8, quotes and backslashes become \xNN, and anything
// past 40 bytes is cut off with "...".
std::string quote_input(std::string_view input);

} // namespace mlfq
