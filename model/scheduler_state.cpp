#include "model/scheduler_state.h"

#include "model/lists.h"
#include "model/record_memory.h"

#include <algorithm>

namespace mlfq {

SchedulerState scheduler;

namespace {

// Copies `name` into a record's name field, cut to 19 characters: never past the field.
void copy_name(char (&field)[name_capacity], std::string_view name) {
    const std::size_t length = std::min(name.size(), name_max_length);
    std::copy_n(name.data(), length, field);
    field[length] = '\0';
}

} // namespace

std::int32_t quantum_of(int level) {
    return scheduler.rules.quantum_per_queue
               ? scheduler.rules.queue_quantum[static_cast<std::size_t>(level)]
               : scheduler.quantum;
}

void init_queues() {
    for (Process*& queue : scheduler.ready)
        queue = new_process_node();
    scheduler.io_queue = new_process_node();
    scheduler.running = nullptr;
}

Process* insert_by_arrival(std::string_view name, std::int32_t arrival, std::int32_t extra) {
    Process* process = new_process_node();
    scheduler.process_count += 1;
    copy_name(process->name, name);
    process->arrival = arrival;
    process->extra = extra;
    Process* at = scheduler.not_dispatched;
    while (at->next != nullptr && at->next->arrival <= arrival)
        at = at->next;
    link_after(at, process);
    return process;
}

void append_burst(Process* process, std::int32_t cpu, std::int32_t io) {
    Burst* burst = new_burst_node();
    burst->cpu = cpu;
    burst->io = io;
    append(process->bursts, burst);
}

void append_finished(std::string_view name, std::int32_t arrival, std::int64_t wait,
                     std::int64_t turnaround) {
    FinishedProcess* record = new_finished_node();
    copy_name(record->name, name);
    record->arrival = arrival;
    record->wait = wait;
    record->turnaround = turnaround;
    append(scheduler.finished, record);
}

void reset_scheduler() {
    release_list(scheduler.not_dispatched);
    for (Process* queue : scheduler.ready)
        release_list(queue);
    release_list(scheduler.io_queue);
    if (scheduler.running != nullptr) {
        scheduler.running->next = nullptr; // off every list: released alone
        release_list(scheduler.running);
    }
    release_list(scheduler.finished);
    scheduler = SchedulerState{};
}

} // namespace mlfq
