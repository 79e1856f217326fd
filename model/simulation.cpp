#include "model/simulation.h"

#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"

namespace mlfq {

std::optional<WorkloadError> set_up_simulation(std::string_view workload_text,
                                               const SchedulingRules& rules) {
    reset_scheduler();
    scheduler.rules = rules;
    scheduler.not_dispatched = new_process_node();
    if (std::optional<WorkloadError> error = parse_workload(workload_text)) {
        reset_scheduler();
        return error;
    }
    init_queues();
    scheduler.finished = new_finished_node();
    return std::nullopt;
}

bool simulation_complete() {
    if (scheduler.running != nullptr || !is_empty(scheduler.not_dispatched) ||
        !is_empty(scheduler.io_queue))
        return false;
    for (const Process* queue : scheduler.ready) {
        if (!is_empty(queue))
            return false;
    }
    return true;
}

} // namespace mlfq
