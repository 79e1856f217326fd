#include "model/endless_run.h"

#include "model/lists.h"
#include "model/scheduler_state.h"

#include <limits>

namespace mlfq {

std::int64_t endless_window() {
    if (!is_empty(scheduler.not_dispatched))
        return std::numeric_limits<std::int64_t>::max();
    std::int64_t live = scheduler.running != nullptr ? 1 : 0;
    for (int level = 0; level < scheduler.rules.queues; ++level)
        live += length(scheduler.ready[level]);
    live += length(scheduler.io_queue);
    const std::int64_t boost = scheduler.rules.boost > 0 ? scheduler.rules.boost : 0;
    return boost + live * (scheduler.rules.queues + 1) + 2;
}

} // namespace mlfq
