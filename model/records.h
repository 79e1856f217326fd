// The three record kinds of the simulator. Each is a node of a singly linked list whose
// head is a node of the same kind (see model/lists.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace mlfq {

// A name holds at most 19 characters and its terminating NUL.
inline constexpr std::size_t name_capacity = 20;
inline constexpr std::size_t name_max_length = name_capacity - 1;

// One CPU phase and the I/O phase that follows it; both are counted down in place.
struct Burst {
    std::int32_t cpu = 0;
    std::int32_t io = 0;
    Burst* next = nullptr;
};

struct Process {
    char name[name_capacity] = {};
    std::int32_t arrival = 0;
    std::int32_t extra = 0;      // read from the workload and listed, never used for scheduling
    std::int32_t file_order = 0; // position of the entry in the workload, from 0
    // -1 from arrival until the first dispatch, then the clock of that dispatch.
    std::int64_t first_dispatch = -1;
    Burst* bursts = nullptr; // head node of the remaining bursts, in execution order
    Process* next = nullptr;
    // For the rules that can be chosen: the queue it was last dispatched from (0-based),
    // and what is left of a slice it keeps across I/O or an interruption.
    int dispatch_level = 0;
    bool has_saved_slice = false;
    std::int64_t saved_slice = 0;
};

struct FinishedProcess {
    char name[name_capacity] = {};
    std::int32_t arrival = 0;
    std::int64_t wait = 0;       // first dispatch - arrival
    std::int64_t turnaround = 0; // clock of the terminating step - arrival
    FinishedProcess* next = nullptr;
};

} // namespace mlfq
