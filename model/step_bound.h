// How many clock steps a workload that ends can take at most.
#pragma once

#include <cstdint>

namespace mlfq {

// Computed from the processes on not_dispatched, before the first step. Every run that
// ends (every process terminated) does so before the clock reaches this bound; a run
// still going at the bound never ends.
//
// Why: after the last arrival A, every step either gives a tick to the running process
// or, with nothing ready, counts down at least one unit of somebody's I/O (or nothing is
// left at all). A process uses at most cpu + 2 ticks of progress per burst (the units,
// the tick that starts its I/O, the tick that removes the spent burst), and every tick
// without progress is the last of a slice whose other ticks all progressed, so with a
// quantum other than 1 it holds the CPU for at most twice that. With a quantum of 1 a
// run ends only when every burst is "0 0", and then every tick removes one. So a run
// that ends takes at most A + 1 + sum of (2 * (cpu + 2) + io) over all bursts steps.
std::int64_t step_bound();

} // namespace mlfq
