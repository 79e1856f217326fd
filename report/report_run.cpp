#include "report/report_run.h"

#include "model/clock_step.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"
#include "model/step_bound.h"

namespace mlfq {

RunRecord run_report(std::string file, std::optional<std::int64_t> until) {
    RunRecord record;
    record.file = std::move(file);
    RunRecorder recorder(record);
    const std::int64_t bound = step_bound();
    while (!simulation_complete()) {
        if (until && scheduler.clock >= *until) {
            record.stop = StopReason::time_limit;
            record.stop_limit = *until;
            break;
        }
        if (scheduler.clock >= bound) {
            record.stop = StopReason::never_ends;
            record.stop_limit = bound;
            break;
        }
        step(recorder);
    }
    record.total_time = scheduler.clock;
    record.wait_sum = scheduler.wait_sum;
    record.finished_count = scheduler.finished_count;
    return record;
}

} // namespace mlfq
