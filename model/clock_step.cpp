#include "model/clock_step.h"

#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"

namespace mlfq {

namespace {

constexpr int lowest_level = ready_levels - 1;

// The step being run and where its events go.
class ClockStep {
public:
    explicit ClockStep(SchedulingObserver& observer) : observer_(observer) {}
    void run();

private:
    void report(EventKind kind, const Process* process, int queue = 0) {
        observer_.on_event({kind, process, scheduler.clock, queue});
    }
    void admit_arrivals();
    void dispatch();
    void expire_slice(Process* process);
    void start_io(Process* process);
    void cpu_tick();
    void io_tick();
    void finish_running();

    SchedulingObserver& observer_;
};

// Moves every process whose arrival time is now from not_dispatched to ready[0].
void ClockStep::admit_arrivals() {
    Process* pending = scheduler.not_dispatched;
    while (!is_empty(pending) && first(pending)->arrival == scheduler.clock) {
        Process* process = first(pending);
        report(EventKind::arrival, process, 1);
        process->first_dispatch = -1;
        append(scheduler.ready[0], pop_front(pending));
    }
}

// Gives an idle CPU to the first process of the highest non-empty ready queue. A new
// slice starts whenever the CPU is idle, even when nothing is ready.
void ClockStep::dispatch() {
    if (scheduler.running != nullptr)
        return;
    scheduler.slice_left = scheduler.quantum;
    for (int level = 0; level < ready_levels; ++level) {
        if (is_empty(scheduler.ready[level]))
            continue;
        scheduler.level = level;
        Process* process = pop_front(scheduler.ready[level]);
        scheduler.running = process;
        if (process->first_dispatch < 0)
            process->first_dispatch = scheduler.clock;
        report(EventKind::dispatch, process, level + 1);
        return;
    }
}

// The running process leaves the CPU for the tail of the next lower ready queue.
void ClockStep::expire_slice(Process* process) {
    if (scheduler.level < lowest_level)
        scheduler.level += 1;
    append(scheduler.ready[scheduler.level], process);
    report(EventKind::slice_expired, process, scheduler.level + 1);
    scheduler.running = nullptr;
}

void ClockStep::start_io(Process* process) {
    push_front(scheduler.io_queue, process);
    report(EventKind::io_start, process);
    scheduler.running = nullptr;
}

// One unit of CPU time for the running process. The slice expires on the tick that
// brings it to zero, and that tick does not advance the burst; a spent burst is removed
// first, even on that tick.
void ClockStep::cpu_tick() {
    Process* process = scheduler.running;
    if (process == nullptr || is_empty(process->bursts))
        return;
    scheduler.slice_left -= 1;
    Burst* burst = first(process->bursts);
    if (burst->cpu == 0 && burst->io == 0) {
        release(pop_front(process->bursts));
        if (is_empty(process->bursts))
            return; // nothing left: the process terminates at the end of this step
        burst = first(process->bursts);
    }
    if (scheduler.slice_left == 0) {
        expire_slice(process);
    } else if (burst->cpu > 0) {
        burst->cpu -= 1;
    } else if (burst->io > 0) {
        start_io(process);
    }
    // Otherwise the burst just uncovered is spent too; it goes on the next tick.
}

// One unit of I/O time for every process in I/O, side by side; then every process whose
// I/O has ended joins ready[0], scanning again from the front after each move.
void ClockStep::io_tick() {
    for (Process* process = first(scheduler.io_queue); process != nullptr;
         process = process->next) {
        Burst* burst = first(process->bursts);
        if (burst != nullptr && burst->io > 0)
            burst->io -= 1;
    }
    Process* at = scheduler.io_queue;
    while (at->next != nullptr) {
        Process* process = at->next;
        const Burst* burst = first(process->bursts);
        if (burst == nullptr || burst->io != 0) {
            at = process;
            continue;
        }
        report(EventKind::io_end, process, 1);
        append(scheduler.ready[0], unlink_after(at));
        at = scheduler.io_queue;
    }
}

// Records the running process, whose bursts are all spent, and releases it.
void ClockStep::finish_running() {
    Process* process = scheduler.running;
    const std::int64_t wait = process->first_dispatch - process->arrival;
    append_finished(process->name, process->arrival, wait, scheduler.clock - process->arrival);
    report(EventKind::termination, process);
    scheduler.wait_sum += wait;
    scheduler.finished_count += 1;
    release(process->bursts);
    release(process);
    scheduler.running = nullptr;
}

void ClockStep::run() {
    admit_arrivals();
    dispatch();
    observer_.on_cpu_tick(scheduler);
    cpu_tick();
    observer_.on_io_tick(scheduler);
    io_tick();
    if (scheduler.running != nullptr && is_empty(scheduler.running->bursts))
        finish_running();
    observer_.on_step_end(scheduler);
    scheduler.clock += 1;
}

} // namespace

void step(SchedulingObserver& observer) {
    ClockStep(observer).run();
}

} // namespace mlfq
