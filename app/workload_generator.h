// Random workloads for practice and for measuring: `mlfq --gerar N [--semente S]`.
#pragma once

#include <cstdint>
#include <string>

namespace mlfq {

// A valid workload of `processes` processes in the usual layout, the same bytes for the
// same seed on every machine. Its shape: quantum 2 to 5; process i is named P<i>; the
// first arrives at 0 and each next one 0 to 3 units after the one before; the second
// number 0 to 9; 1 to 5 CPU bursts of 1 to 8 units, with I/O phases of 1 to 6 units
// between them.
std::string generate_workload(std::int64_t processes, std::uint64_t seed);

} // namespace mlfq
