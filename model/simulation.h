// Setting the one simulation up from workload text, and releasing it again.
#pragma once

#include "model/workload_parser.h"

#include <optional>
#include <string_view>

namespace mlfq {

// Loads the workload into a fresh scheduler, then creates the empty ready queues, the
// I/O list and the finished list, in that order. A malformed text leaves the scheduler
// as at start and returns what was wrong.
std::optional<WorkloadError> set_up_simulation(std::string_view workload_text);

// Releases every record and puts the scheduler back to its start values.
void tear_down_simulation();

// True when every process has terminated: nothing waits to arrive, is ready, runs or
// does I/O.
bool simulation_complete();

} // namespace mlfq
