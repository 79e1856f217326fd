// Report mode's run: the same clock step as the key c, repeated without pauses.
#pragma once

#include "report/run_record.h"

#include <cstdint>
#include <optional>
#include <string>

namespace mlfq {

// Runs the simulation set up before (see model/simulation.h) until every process has
// terminated, the clock reaches `until`, or it has gone without any work done for longer
// than a run that ends can (model/endless_run.h), and returns what happened. `file`
// names the workload.
// `also`, when given, is told everything the recorder is (the page's live views, tests).
// With `reasons`, every event's reason is recorded too.
RunRecord run_report(std::string file, std::optional<std::int64_t> until,
                     SchedulingObserver* also = nullptr, bool reasons = false);

} // namespace mlfq
