#include "report/report_run.h"

#include "model/clock_step.h"
#include "model/endless_run.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"

namespace mlfq {

namespace {

// Tells two observers everything, the recorder first.
class BothObservers final : public SchedulingObserver {
public:
    BothObservers(SchedulingObserver& first, SchedulingObserver* second)
        : first_(first), second_(second) {}
    bool wants_reasons() const override {
        return first_.wants_reasons() || (second_ != nullptr && second_->wants_reasons());
    }
    void on_event(const SchedulingEvent& event) override {
        first_.on_event(event);
        if (second_ != nullptr)
            second_->on_event(event);
    }
    void on_cpu_tick(const SchedulerState& state) override {
        first_.on_cpu_tick(state);
        if (second_ != nullptr)
            second_->on_cpu_tick(state);
    }
    void on_io_tick(const SchedulerState& state) override {
        first_.on_io_tick(state);
        if (second_ != nullptr)
            second_->on_io_tick(state);
    }
    void on_step_end(const SchedulerState& state) override {
        first_.on_step_end(state);
        if (second_ != nullptr)
            second_->on_step_end(state);
    }

private:
    SchedulingObserver& first_;
    SchedulingObserver* second_;
};

} // namespace

RunRecord run_report(std::string file, std::optional<std::int64_t> until, SchedulingObserver* also,
                     bool reasons) {
    RunRecord record;
    record.file = std::move(file);
    RunRecorder recorder(record, reasons);
    BothObservers observers(recorder, also);
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
