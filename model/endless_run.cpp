#include "model/endless_run.h"

#include "model/lists.h"
#include "model/scheduler_state.h"

#include <limits>

namespace mlfq {

std::int64_t endless_window() {
    if (!is_empty(scheduler.not_dispatched))
        return std::numeric_limits<std::int64_t>::max();
    // Every process has arrived: each is running, ready, in I/O or terminated.
    const std::int64_t live = scheduler.process_count - scheduler.finished_count;
    const std::int64_t boost = scheduler.rules.boost > 0 ? scheduler.rules.boost : 0;
    return boost + live * (scheduler.rules.queues + 1) + 2;
}

} // namespace mlfq
