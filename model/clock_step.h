// One step of simulated time: arrivals, dispatch, one CPU tick, one I/O tick for every
// process in I/O, termination, and the clock moves on by one.
#pragma once

namespace mlfq {

// Runs one clock step on the scheduler, showing every event and waiting for TAB after it.
void step();

} // namespace mlfq
