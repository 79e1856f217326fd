// Setting the one simulation up from workload text, and releasing it again.
#pragma once

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

// Releases every record and puts the scheduler back to its start values.
void tear_down_simulation();

// True when every process has terminated: nothing waits to arrive, is ready, runs or
// does I/O.
bool simulation_complete();

} // namespace mlfq
