// Two front ends of one clock step: everything told to the first, then to the second
// (which may be absent).
#pragma once

#include "model/scheduling_events.h"

namespace mlfq {

class ObserverPair final : public SchedulingObserver {
public:
    ObserverPair(SchedulingObserver& first, SchedulingObserver* second)
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

} // namespace mlfq
