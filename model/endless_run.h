// Telling a run that never ends from one that is only slow.
#pragma once

#include <cstdint>

namespace mlfq {

// Once every process has arrived, a run that goes more than this many steps in a row
// without any work done (SchedulerState::work_done) never ends; no run that ends goes
// that long. Without arrivals still to come there is no such limit (the largest value).
//
// Why: with nothing in I/O (I/O counts down every step) and nothing arriving, a step
// without work gives the CPU to a process whose slice expires on that very tick. After
// its first such expiry a process gets fresh slices only, which expire at once only on
// a queue with quantum 1, and each expiry moves it one queue down. So each of the n live
// processes can expire without work at most N + 1 times above the lowest of the N
// queues; more steps than n * (N + 1) + 2 mean they all circle in the lowest queue with
// quantum 1, for ever. With a boost every S steps, everybody starts again from queue 1
// after at most S steps, and then either reaches a queue whose slices do work within
// n * (N + 1) + 2 steps or never does, since that count does not depend on their order.
std::int64_t endless_window();

} // namespace mlfq
