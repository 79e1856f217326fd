// Setting the one simulation up from workload text; reset_scheduler releases it again.
#pragma once

#include "model/scheduler_state.h"
#include "model/scheduling_rules.h"
#include "model/workload_parser.h"

#include <optional>
#include <string_view>

namespace mlfq {

// Loads the workload into a fresh scheduler under `rules`, then creates the empty ready
// queues, the I/O list and the finished list, in that order. A malformed text leaves the
// scheduler as at start and returns what was wrong.
std::optional<WorkloadError> set_up_simulation(std::string_view workload_text,
                                               const SchedulingRules& rules = {});

// True when every process has terminated: nothing waits to arrive, is ready, runs or
// does I/O.
bool simulation_complete();

} // namespace mlfq
