#include "model/step_bound.h"

#include "model/lists.h"
#include "model/scheduler_state.h"

#include <algorithm>

namespace mlfq {

std::int64_t step_bound() {
    std::int64_t last_arrival = 0, work = 0;
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
        last_arrival = std::max<std::int64_t>(last_arrival, p->arrival);
        for (const Burst* b = first(p->bursts); b != nullptr; b = b->next)
            work += 2 * (std::int64_t{b->cpu} + 2) + b->io; // no overflow: at most 2^34 a burst
    }
    return last_arrival + 1 + work;
}

} // namespace mlfq
