// The rules of the scheduler that can be chosen; the defaults are the classic ones:
// four queues, one quantum for all of them, no preemption, no boost, a process back
// from I/O joins queue 1, and every dispatch starts a new slice.
#pragma once

#include <array>
#include <cstdint>

namespace mlfq {

inline constexpr int max_ready_levels = 8;
inline constexpr int classic_ready_levels = 4;
// The longest boost period: a run that never ends is told only after a whole period
// without work, and report mode keeps every step of it (see the README).
inline constexpr std::int64_t max_boost_period = 100000;

struct SchedulingRules {
    int queues = classic_ready_levels; // 1 to max_ready_levels
    // The quantum of each queue, when given; otherwise every queue uses the workload's.
    bool quantum_per_queue = false;
    std::array<std::int32_t, max_ready_levels> queue_quantum{};
    int quantum_values = 0; // how many were given; the rest take the last (finish_rules)
    // A process on a queue of higher priority interrupts the running one.
    bool preemption = false;
    // Every `boost` steps every process goes back to queue 1; 0: never.
    std::int64_t boost = 0;
    // A process back from I/O joins the queue it was last dispatched from.
    bool io_keeps_queue = false;
    // A process that leaves the CPU for I/O or is interrupted keeps the rest of its slice.
    bool quota = false;
    // Textbook timing: step t is the unit of time from t to t + 1 (model/clock_step.cpp,
    // run_textbook).
    bool textbook = false;

    bool operator==(const SchedulingRules&) const = default;
};

} // namespace mlfq
