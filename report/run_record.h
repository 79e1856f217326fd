// A whole run, recorded as it happens: every event and, for every process, what it did
// in each step, merged into segments.
#pragma once

#include "model/scheduling_events.h"
#include "model/scheduling_rules.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mlfq {

// What a process did in one step:
//   '1'..'8' it held the CPU when the step's CPU tick began (the digit: the ready queue
//            it was dispatched from, level + 1 at that moment);
//   'i'      otherwise, it was on the I/O list when the step's I/O tick began;
//   '.'      otherwise, it was on a ready queue at the end of the step (it waited).
// A step in none of these (not arrived yet, or terminated) has no state.
inline constexpr char state_io = 'i';
inline constexpr char state_ready = '.';

// Steps [from, to) in one state.
struct Segment {
    std::int64_t from = 0;
    std::int64_t to = 0;
    char state = state_ready;
    bool operator==(const Segment&) const = default;
};

struct ProcessRecord {
    std::string name;      // the bytes of the workload file
    std::string utf8_name; // the same as valid UTF-8 (Windows-1252 when not UTF-8)
    std::int32_t arrival = 0;
    std::int32_t extra = 0;
    std::int64_t cpu = 0; // totals as loaded
    std::int64_t io = 0;
    std::vector<std::array<std::int32_t, 2>> bursts; // CPU and I/O of each burst, as loaded
    std::optional<std::int64_t> first_dispatch;
    std::optional<std::int64_t> end; // the clock of the step in which it terminated
    std::int64_t ready_steps = 0;    // steps in state '.'
    std::vector<Segment> timeline;
    std::int64_t last_marked = -1; // the last step given a state

    std::optional<std::int64_t> wait() const;
    std::optional<std::int64_t> turnaround() const;
};

// The events' reasons, kept end to end in one text: no allocation per event.
class ReasonTexts {
public:
    void push_back(std::string_view reason) {
        text_.append(reason);
        ends_.push_back(text_.size());
    }
    std::size_t size() const { return ends_.size(); }
    std::string_view operator[](std::size_t i) const {
        const std::size_t from = i == 0 ? 0 : ends_[i - 1];
        return std::string_view(text_).substr(from, ends_[i] - from);
    }

private:
    std::string text_;
    std::vector<std::size_t> ends_;
};

struct EventRecord {
    EventKind kind;
    std::int32_t process; // position in RunRecord::processes
    std::int64_t clock;
    int queue;
};

enum class StopReason {
    complete,   // every process terminated
    time_limit, // the clock reached the limit asked for
    never_ends, // it went without work for longer than any run that ends does
};

struct RunRecord {
    std::string file; // as given
    std::int32_t quantum = 0;
    SchedulingRules rules;
    std::vector<std::int32_t> queue_quanta; // the quantum in force on each queue
    std::vector<ProcessRecord> processes;   // in file order
    std::vector<EventRecord> events;        // in the order they happened
    ReasonTexts reasons;                    // each event's reason, when they were asked for
    std::int64_t total_time = 0;            // the clock after the last step
    std::int64_t cpu_busy_steps = 0;        // steps in which a process held the CPU
    std::int64_t wait_sum = 0;
    std::int64_t finished_count = 0;
    StopReason stop = StopReason::complete;
    std::int64_t stop_limit = 0; // the limit, or the steps without work, that stopped it

    // What the status screen shows: wait_sum / finished_count, truncated; 0 before any.
    std::int64_t average_wait() const;
};

// Records a run into a RunRecord. Made after the simulation is set up and before the
// first step, so that it knows every process; told when the run stops (finish).
//
// Its cost grows with the events and the timeline's segments, never with the processes
// times the steps: the CPU tick marks the one process on the CPU, and a process's time in
// I/O or on a ready queue is a range opened by the event that put it there and closed by
// the event that took it away (or by finish), written as one segment.
class RunRecorder final : public SchedulingObserver {
public:
    // With `reasons`, every event's reason is kept too (RunRecord::reasons).
    explicit RunRecorder(RunRecord& record, bool reasons = false);
    bool wants_reasons() const override { return reasons_; }

    void on_event(const SchedulingEvent& event) override;
    void on_cpu_tick(const SchedulerState& state) override;
    void on_io_tick(const SchedulerState& state) override;
    void on_step_end(const SchedulerState& state) override;
    // Closes every open range at the end of the last step run.
    void finish();
    // The run so far, as if it stopped now (at the end of the last step run), while the
    // recording goes on: for a chart drawn between steps.
    RunRecord snapshot(const SchedulerState& state) const;

private:
    enum class Place : unsigned char { away, ready, io, cpu };
    struct Open {
        Place place = Place::away;
        std::int64_t since = 0; // the first step of the range
    };

    // Steps [from, to) in `state`, less those that already have a state.
    void mark(std::int32_t index, char state, std::int64_t from, std::int64_t to);
    // Where a process is from now on; the range of where it was is written.
    void move(std::int32_t index, Place place);

    RunRecord* record_;
    std::vector<Open> open_;
    std::int64_t step_ = 0;      // the clock of the step being run
    bool after_io_tick_ = false; // the step's I/O tick has begun
    bool reasons_ = false;
};

} // namespace mlfq
