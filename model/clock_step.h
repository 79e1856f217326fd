// One step of simulated time: arrivals, dispatch, one CPU tick, one I/O tick for every
// process in I/O, termination, and the clock moves on by one.
#pragma once

#include "model/scheduling_events.h"

namespace mlfq {

// Runs one clock step on the scheduler, reporting every event to `observer`.
void step(SchedulingObserver& observer);

} // namespace mlfq
