// What the clock step tells its front ends: every scheduling event as it happens, and
// the moments inside a step at which the whole state may be looked at.
#pragma once

#include "model/records.h"

#include <cstdint>
#include <string_view>

namespace mlfq {

struct SchedulerState;

enum class EventKind {
    arrival,       // joined ready queue 1
    dispatch,      // got the CPU; queue: the one it was taken from
    slice_expired, // left the CPU; queue: the one it was moved to
    io_start,      // left the CPU for the I/O list
    io_end,        // left the I/O list; queue: the one it joined (always 1)
    termination,   // all bursts spent; the record is released after this event
    // Only under rules that are not the classic ones (model/scheduling_rules.h):
    io_end_to_queue, // left the I/O list for the queue it was dispatched from; queue: that
    preemption,      // interrupted; queue: the one it went back to, at the front
    boost,           // every process back to queue 1; no process
};

struct SchedulingEvent {
    EventKind kind;
    const Process* process; // valid only during the call; null for a boost
    std::int64_t clock;     // the clock of the step
    int queue = 0;          // a ready queue numbered from 1, where the kind names one
    // Why it happened, in one line naming the rule and the numbers that decided it; only
    // for an observer that wants_reasons(), valid during the call.
    std::string_view reason = {};
};

// A front end of the clock step. Events arrive in the order they happen, each while the
// state is still being changed; the three moments below see the state whole.
class SchedulingObserver {
public:
    virtual ~SchedulingObserver() = default;
    virtual void on_event(const SchedulingEvent& event) = 0;
    // Whether events should carry their reasons (they cost a little to put into words).
    virtual bool wants_reasons() const { return false; }
    // The CPU tick is about to run (state.running is the process holding the CPU).
    virtual void on_cpu_tick(const SchedulerState&) {}
    // The I/O tick is about to count down every process on state.io_queue.
    virtual void on_io_tick(const SchedulerState&) {}
    // The step is over; the clock has not moved on yet.
    virtual void on_step_end(const SchedulerState&) {}
};

} // namespace mlfq
