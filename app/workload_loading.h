// Reading the workload file and setting the simulation up from it, or saying why not.
#pragma once

#include "model/scheduling_rules.h"
#include "util/exit_status.h"

#include <optional>
#include <string>

namespace mlfq {

struct LoadFailure {
    ExitStatus status;   // exit_cannot_open or exit_bad_workload
    std::string message; // as the interactive program shows it
    std::string reason;  // for report mode, a line on why; may be empty
};

std::optional<LoadFailure> load_simulation(const std::string& file, const SchedulingRules& rules);

} // namespace mlfq
