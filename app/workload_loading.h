// Reading the workload file and setting the simulation up from it, or saying why not.
#pragma once

#include "model/scheduling_rules.h"
#include "util/exit_status.h"

#include <optional>
#include <string>
#include <string_view>

namespace mlfq {

struct LoadFailure {
    ExitStatus status;   // exit_cannot_open or exit_bad_workload
    std::string message; // as the interactive program shows it
    std::string reason;  // for report mode, a line on why; may be empty
};

std::optional<LoadFailure> load_simulation(const std::string& file, const SchedulingRules& rules);

// Tells why on standard error, as report mode does; returns the failure's status.
int report_on_standard_error(const LoadFailure& failure);

struct Options;

// The workload the command line names: its file, or the text made from --jobs.
std::optional<LoadFailure> load_workload(const Options& options);

// The same from workload text already at hand; `shown` names it in a message.
std::optional<LoadFailure> load_simulation_text(std::string_view text, const std::string& shown,
                                                const SchedulingRules& rules);

} // namespace mlfq
