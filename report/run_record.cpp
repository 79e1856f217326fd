#include "report/run_record.h"

#include "model/lists.h"
#include "model/scheduler_state.h"
#include "util/byte_text.h"

#include <algorithm>

namespace mlfq {

std::optional<std::int64_t> ProcessRecord::wait() const {
    if (!first_dispatch)
        return std::nullopt;
    return *first_dispatch - arrival;
}

std::optional<std::int64_t> ProcessRecord::turnaround() const {
    if (!end)
        return std::nullopt;
    return *end - arrival;
}

std::int64_t RunRecord::average_wait() const {
    return finished_count == 0 ? 0 : wait_sum / finished_count;
}

RunRecorder::RunRecorder(RunRecord& record, bool reasons)
    : record_(&record), step_(scheduler.clock), reasons_(reasons) {
    record_->quantum = scheduler.quantum;
    record_->rules = scheduler.rules;
    for (int level = 0; level < scheduler.rules.queues; ++level)
        record_->queue_quanta.push_back(quantum_of(level));
    record_->processes.resize(static_cast<std::size_t>(length(scheduler.not_dispatched)));
    open_.resize(record_->processes.size());
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
        ProcessRecord& r = record_->processes.at(static_cast<std::size_t>(p->file_order));
        r.name = p->name;
        r.utf8_name = to_utf8(r.name);
        r.arrival = p->arrival;
        r.extra = p->extra;
        for (const Burst* b = first(p->bursts); b != nullptr; b = b->next) {
            r.cpu += b->cpu;
            r.io += b->io;
            r.bursts.push_back({b->cpu, b->io});
        }
    }
}

void RunRecorder::on_event(const SchedulingEvent& event) {
    const std::int32_t index = event.process != nullptr ? event.process->file_order : -1;
    record_->events.push_back({event.kind, index, event.clock, event.queue});
    if (reasons_)
        record_->reasons.push_back(event.reason);
    if (index < 0)
        return;
    ProcessRecord& r = record_->processes[static_cast<std::size_t>(index)];
    switch (event.kind) {
    case EventKind::dispatch:
        if (!r.first_dispatch)
            r.first_dispatch = event.clock;
        move(index, Place::cpu);
        break;
    case EventKind::arrival:
    case EventKind::slice_expired:
    case EventKind::io_end:
    case EventKind::io_end_to_queue:
    case EventKind::preemption:
        move(index, Place::ready);
        break;
    case EventKind::io_start:
        move(index, Place::io);
        break;
    case EventKind::termination:
        r.end = event.clock;
        move(index, Place::away);
        break;
    case EventKind::boost: // from queue to queue: still ready
        break;
    }
}

// A process is on a ready queue at the end of every step from the one it joined in until
// the one it leaves in; it is on the I/O list when the I/O tick begins from the first
// step whose tick comes after it started I/O to the last whose tick comes before it
// returns. The first state of a step wins: the CPU, then I/O, then ready.
void RunRecorder::move(std::int32_t index, Place place) {
    Open& o = open_[static_cast<std::size_t>(index)];
    const std::int64_t tick_step = after_io_tick_ ? step_ + 1 : step_;
    if (o.place == Place::ready)
        mark(index, state_ready, o.since, step_);
    else if (o.place == Place::io)
        mark(index, state_io, o.since, tick_step);
    o.place = place;
    o.since = place == Place::io ? tick_step : step_;
}

void RunRecorder::mark(std::int32_t index, char state, std::int64_t from, std::int64_t to) {
    ProcessRecord& r = record_->processes[static_cast<std::size_t>(index)];
    from = std::max(from, r.last_marked + 1);
    if (from >= to)
        return;
    r.last_marked = to - 1;
    if (state == state_ready)
        r.ready_steps += to - from;
    if (!r.timeline.empty() && r.timeline.back().state == state && r.timeline.back().to == from)
        r.timeline.back().to = to;
    else
        r.timeline.push_back({from, to, state});
}

void RunRecorder::on_cpu_tick(const SchedulerState& state) {
    if (state.running == nullptr)
        return;
    mark(state.running->file_order, static_cast<char>('1' + state.level), state.clock,
         state.clock + 1);
    record_->cpu_busy_steps += 1;
}

void RunRecorder::on_io_tick(const SchedulerState&) {
    after_io_tick_ = true;
}

void RunRecorder::on_step_end(const SchedulerState&) {
    step_ += 1;
    after_io_tick_ = false;
}

RunRecord RunRecorder::snapshot(const SchedulerState& state) const {
    RunRecord copy = *record_;
    RunRecorder closing(*this);
    closing.record_ = &copy;
    closing.finish();
    copy.total_time = state.clock;
    copy.wait_sum = state.wait_sum;
    copy.finished_count = state.finished_count;
    return copy;
}

void RunRecorder::finish() {
    for (std::size_t i = 0; i < open_.size(); ++i)
        move(static_cast<std::int32_t>(i), Place::away);
}

} // namespace mlfq
