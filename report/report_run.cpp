#include "report/report_run.h"

#include "model/clock_step.h"
#include "model/endless_run.h"
#include "model/observer_pair.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"

namespace mlfq {

RunRecord run_report(std::string file, std::optional<std::int64_t> until, SchedulingObserver* also,
                     bool reasons) {
    RunRecord record;
    record.file = std::move(file);
    RunRecorder recorder(record, reasons);
    ObserverPair observers(recorder, also);
    std::int64_t steps_without_work = 0;
    while (!simulation_complete()) {
        if (until && scheduler.clock >= *until) {
            record.stop = StopReason::time_limit;
            record.stop_limit = *until;
            break;
        }
        // Counted afresh each time: the window only shrinks as processes terminate, and
        // a termination is work done.
        if (const std::int64_t window = endless_window(); steps_without_work > window) {
            record.stop = StopReason::never_ends;
            record.stop_limit = window;
            break;
        }
        const std::int64_t work_before = scheduler.work_done;
        step(observers);
        steps_without_work = scheduler.work_done == work_before ? steps_without_work + 1 : 0;
    }
    recorder.finish();
    record.total_time = scheduler.clock;
    record.wait_sum = scheduler.wait_sum;
    record.finished_count = scheduler.finished_count;
    return record;
}

} // namespace mlfq
