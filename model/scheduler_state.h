// The one state of the simulator: clock, quantum, the process lists and the statistics.
#pragma once

#include "model/records.h"
#include "model/scheduling_rules.h"

#include <cstdint>
#include <string_view>

namespace mlfq {

struct SchedulerState {
    // Counters that grow with every step are 64-bit so that they never overflow.
    std::int64_t clock = 0;
    std::int32_t quantum = 0;
    std::int64_t slice_left = 0; // keeps falling below 0 when the quantum is 0 or less
    int level = 0;               // ready queue of the last dispatch, or of the last demotion
    Process* running = nullptr;
    Process* not_dispatched = nullptr; // by arrival, equal arrivals in file order
    // First in, first out; index 0 served first; rules.queues of them are in use.
    Process* ready[max_ready_levels] = {};
    Process* io_queue = nullptr; // most recent entrant first
    FinishedProcess* finished = nullptr;
    std::int64_t wait_sum = 0;
    std::int64_t finished_count = 0;
    SchedulingRules rules;
    // Units of work done so far: CPU and I/O units counted down, bursts removed, I/O
    // phases started, arrivals and terminations. A run in which it stops growing for long
    // enough never ends (see model/endless_run.h).
    std::int64_t work_done = 0;
    // Processes loaded from the workload: with finished_count, how many are still live.
    std::int64_t process_count = 0;
    // The consequences of the timing that surprise people, each explained in an event's
    // reason the first time it decides something in a run (model/clock_step.cpp).
    unsigned explained = 0;
};

// The quantum of ready queue `level` (0-based) under the rules in force.
std::int32_t quantum_of(int level);

// The simulator's state; there is exactly one.
extern SchedulerState scheduler;

// Creates the ready head nodes (all eight, rules.queues of them in use) and the I/O head
// node; no process is running.
void init_queues();

// A new process on `not_dispatched`, after every process that arrives no later; its
// name is copied (at most 19 characters) and its burst list is still to be made.
Process* insert_by_arrival(std::string_view name, std::int32_t arrival, std::int32_t extra);

// Appends a burst at the end of the process's burst list.
void append_burst(Process* process, std::int32_t cpu, std::int32_t io);

// Records a terminated process at the end of `finished`.
void append_finished(std::string_view name, std::int32_t arrival, std::int64_t wait,
                     std::int64_t turnaround);

// Releases every record and head node and puts the state back to its start values.
void reset_scheduler();

} // namespace mlfq
