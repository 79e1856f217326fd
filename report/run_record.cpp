#include "report/run_record.h"

#include "model/lists.h"
#include "model/scheduler_state.h"

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

RunRecorder::RunRecorder(RunRecord& record) : record_(record) {
    record_.quantum = scheduler.quantum;
    record_.rules = scheduler.rules;
    for (int level = 0; level < scheduler.rules.queues; ++level)
        record_.queue_quanta.push_back(quantum_of(level));
    record_.processes.resize(static_cast<std::size_t>(length(scheduler.not_dispatched)));
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
        ProcessRecord& r = record_.processes.at(static_cast<std::size_t>(p->file_order));
        r.name = p->name;
        r.arrival = p->arrival;
        r.extra = p->extra;
        for (const Burst* b = first(p->bursts); b != nullptr; b = b->next) {
            r.cpu += b->cpu;
            r.io += b->io;
        }
    }
}

void RunRecorder::on_event(const SchedulingEvent& event) {
    const std::int32_t index = event.process != nullptr ? event.process->file_order : -1;
    record_.events.push_back({event.kind, index, event.clock, event.queue});
    if (index < 0)
        return;
    ProcessRecord& r = record_.processes[static_cast<std::size_t>(index)];
    if (event.kind == EventKind::dispatch && !r.first_dispatch)
        r.first_dispatch = event.clock;
    if (event.kind == EventKind::termination)
        r.end = event.clock;
}

// The first state a process gets in a step is its state: the CPU, then I/O, then ready.
void RunRecorder::mark(const Process* process, char state, std::int64_t clock) {
    ProcessRecord& r = record_.processes[static_cast<std::size_t>(process->file_order)];
    if (r.last_marked == clock)
        return;
    r.last_marked = clock;
    if (state == state_ready)
        r.ready_steps += 1;
    if (!r.timeline.empty() && r.timeline.back().state == state && r.timeline.back().to == clock)
        r.timeline.back().to = clock + 1;
    else
        r.timeline.push_back({clock, clock + 1, state});
}

void RunRecorder::on_cpu_tick(const SchedulerState& state) {
    if (state.running == nullptr)
        return;
    mark(state.running, static_cast<char>('1' + state.level), state.clock);
    record_.cpu_busy_steps += 1;
}

void RunRecorder::on_io_tick(const SchedulerState& state) {
    for (const Process* p = first(state.io_queue); p != nullptr; p = p->next)
        mark(p, state_io, state.clock);
}

void RunRecorder::on_step_end(const SchedulerState& state) {
    for (const Process* queue : state.ready) {
        for (const Process* p = first(queue); p != nullptr; p = p->next)
            mark(p, state_ready, state.clock);
    }
}

} // namespace mlfq
