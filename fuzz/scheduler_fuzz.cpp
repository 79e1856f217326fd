// A random valid workload under random scheduling rules, driven by random commands
// (clock steps and listings): after every command each process is in exactly one place
// (at most one on the CPU), the statistics agree with the finished list, and the clock
// counts the steps.
#include "console/console.h"
#include "console/listings.h"
#include "console/main_menu.h"
#include "fuzz_check.h"
#include "model/clock_step.h"
#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"

#include <cstdint>
#include <set>
#include <string>

namespace {

using namespace mlfq;

// Answers every pause at once; the fuzz input may put a few other keys before a TAB.
class FuzzConsole final : public Console {
public:
    void write(std::string_view text) override { written += text.size(); }
    void clear() override {}
    int read_key() override { return ++reads % 3 == 0 ? key_escape : key_tab; }
    std::size_t written = 0;
    unsigned reads = 0;
};

// Takes bytes from the input, then zeros.
class Bytes {
public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t next() { return at_ < size_ ? data_[at_++] : 0; }
    bool empty() const { return at_ >= size_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t at_ = 0;
};

// A valid workload of 1 to 8 small processes.
std::string workload(Bytes& in, int& processes) {
    std::string text = std::to_string(in.next() % 8 - 2) + "\n"; // quantum -2 to 5
    processes = 1 + in.next() % 8;
    for (int p = 0; p < processes; ++p) {
        const int bursts = 1 + in.next() % 4;
        text += "P" + std::to_string(p) + " " + std::to_string(in.next() % 12) + " " +
                std::to_string(in.next()) + " " + std::to_string(bursts) + "\n";
        for (int b = 1; b < bursts; ++b)
            text += std::to_string(in.next() % 5) + " " + std::to_string(in.next() % 5) + "\n";
        text += std::to_string(in.next() % 5) + "\n";
    }
    return text;
}

void collect(const Process* head, std::set<const Process*>& seen, std::size_t& count) {
    for (const Process* p = first(head); p != nullptr; p = p->next) {
        seen.insert(p);
        ++count;
    }
}

void check_invariants(int processes, std::int64_t steps) {
    std::set<const Process*> seen;
    std::size_t places = 0;
    collect(scheduler.not_dispatched, seen, places);
    for (const Process* queue : scheduler.ready)
        collect(queue, seen, places);
    collect(scheduler.io_queue, seen, places);
    if (scheduler.running != nullptr) {
        FUZZ_CHECK(scheduler.running->next == nullptr);
        seen.insert(scheduler.running);
        ++places;
    }
    FUZZ_CHECK(seen.size() == places); // nobody in two places
    FUZZ_CHECK(static_cast<std::int64_t>(places) + scheduler.finished_count == processes);

    std::int64_t finished = 0, waits = 0;
    for (const FinishedProcess* r = first(scheduler.finished); r != nullptr; r = r->next) {
        ++finished;
        waits += r->wait;
        FUZZ_CHECK(r->wait >= 0 && r->turnaround >= r->wait);
    }
    FUZZ_CHECK(finished == scheduler.finished_count);
    FUZZ_CHECK(waits == scheduler.wait_sum);
    FUZZ_CHECK(scheduler.clock == steps);
    FUZZ_CHECK(scheduler.level >= 0 && scheduler.level < scheduler.rules.queues);
    for (int level = scheduler.rules.queues; level < max_ready_levels; ++level)
        FUZZ_CHECK(is_empty(scheduler.ready[level])); // only the queues in use hold processes
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next)
        FUZZ_CHECK(p->arrival >= scheduler.clock);
    // Under the classic timing an I/O that has run out rejoins a queue in the same step;
    // under textbook timing at the start of the next one.
    for (const Process* p = first(scheduler.io_queue); p != nullptr; p = p->next)
        FUZZ_CHECK(first(p->bursts)->io > 0 ||
                   (scheduler.rules.textbook && first(p->bursts)->io == 0));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Bytes in(data, size);
    int processes = 0;
    const std::string text = workload(in, processes);

    // Random rules: two bytes of flags and sizes, and a quantum per queue.
    SchedulingRules rules;
    const std::uint8_t flags = in.next(), sizes = in.next();
    rules.queues = 1 + sizes % max_ready_levels;
    rules.quantum_per_queue = (flags & 1) != 0;
    for (auto& q : rules.queue_quantum)
        q = in.next() % 6 - 1; // -1 to 4
    rules.preemption = (flags & 2) != 0;
    rules.boost = (flags & 4) != 0 ? 1 + sizes / 8 % 16 : 0;
    rules.io_keeps_queue = (flags & 8) != 0;
    rules.quota = (flags & 16) != 0;
    rules.textbook = (flags & 32) != 0;

    FuzzConsole console;
    Console* previous = set_console(&console);
    FUZZ_CHECK(!set_up_simulation(text, rules).has_value());

    void (*const listings[])() = {show_not_dispatched, show_running, show_ready, show_finished,
                                  show_io};
    std::int64_t steps = 0;
    for (int command = 0; command < 400 && !in.empty(); ++command) {
        const std::uint8_t choice = in.next();
        if (choice % 8 < 3) {
            step();
            ++steps;
        } else {
            listings[choice % 8 - 3]();
        }
        check_invariants(processes, steps);
    }
    reset_scheduler();
    set_console(previous);
    return 0;
}
