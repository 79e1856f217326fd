// Cost of report mode: the whole run recorded, then written as JSON or as the text
// report, for workloads of 100 to 10,000 processes with about 5 bursts each.
#include "model/clock_step.h"
#include "model/simulation.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/text_report.h"
#include "util/text_format.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <malloc.h>
#include <string>

namespace {

using namespace mlfq;

// Quantum 4; process i arrives at 32 * i (arrivals spread out, the CPU busy most of the
// time); 5 bursts of CPU 1 to 6 and I/O 1 to 8, from a fixed sequence.
std::string spread_workload(int processes) {
    std::uint32_t seed = 12345;
    const auto next = [&](std::uint32_t n) {
        seed = seed * 1664525u + 1013904223u;
        return static_cast<std::int64_t>((seed >> 16) % n);
    };
    std::string text = "4\n";
    for (int i = 0; i < processes; ++i) {
        text += format_text("P%d %d 0 5\n", i, i * 32);
        for (int b = 1; b < 5; ++b)
            text += format_text("%d %d\n", 1 + next(6), 1 + next(8));
        text += format_text("%d\n", 1 + next(6));
    }
    return text;
}

// Memory malloc holds now, in bytes, large blocks (mapped on their own) included.
std::size_t held() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

// Every rule that can be chosen at once: 5 queues with their own quanta, preemption, a
// boost every 200 steps, I/O back to one's own queue, slice quota (argument 1: 1).
SchedulingRules rules_for(std::int64_t all_rules) {
    SchedulingRules rules;
    if (all_rules == 0)
        return rules;
    rules.queues = 5;
    rules.quantum_per_queue = true;
    rules.queue_quantum = {2, 4, 8, 16, 32, 32, 32, 32};
    rules.preemption = true;
    rules.boost = 200;
    rules.io_keeps_queue = true;
    rules.quota = true;
    return rules;
}

void BM_ReportJson(benchmark::State& state) {
    const std::string text = spread_workload(static_cast<int>(state.range(0)));
    const SchedulingRules rules = rules_for(state.range(1));
    std::size_t events = 0, peak = 0;
    for (auto _ : state) {
        const std::size_t before = held();
        if (set_up_simulation(text, rules))
            std::abort();
        const RunRecord run = run_report("bench", {});
        reset_scheduler();
        const std::string json = json_report(run);
        peak = std::max(peak, held() - before);
        events = run.events.size();
        benchmark::DoNotOptimize(json.data());
    }
    state.counters["events"] = static_cast<double>(events);
    state.counters["events_per_s"] = benchmark::Counter(
        static_cast<double>(events), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["memory_MiB"] = static_cast<double>(peak) / (1 << 20);
}

// The text report alone, of a run recorded once: its event lines per second.
void BM_TextReport(benchmark::State& state) {
    const std::string text = spread_workload(static_cast<int>(state.range(0)));
    if (set_up_simulation(text))
        std::abort();
    const RunRecord run = run_report("bench", {});
    reset_scheduler();
    for (auto _ : state) {
        const std::string report = text_report(run, 100);
        benchmark::DoNotOptimize(report.data());
    }
    state.counters["event_lines_per_s"] = benchmark::Counter(
        static_cast<double>(run.events.size()), benchmark::Counter::kIsIterationInvariantRate);
}

// P processes arriving together at 0, each one burst of 50 units of CPU: the backlog is
// all of them from the start, so every append walks a queue of up to P processes.
std::string together_workload(int processes) {
    std::string text = "10\n";
    for (int i = 0; i < processes; ++i)
        text += format_text("P%d 0 0 1\n50\n", i);
    return text;
}

std::string workload_of(std::int64_t kind, std::int64_t processes) {
    return kind == 0 ? spread_workload(static_cast<int>(processes))
                     : together_workload(static_cast<int>(processes));
}

// An observer that does nothing: the clock step's own cost.
class NoObserver final : public SchedulingObserver {
public:
    void on_event(const SchedulingEvent& event) override { benchmark::DoNotOptimize(&event); }
};

// The bare clock-step loop, from setting up to the end of the run: what the recorder
// and the writers add to is measured against this. Arguments: processes, workload (0
// spread, 1 together).
void BM_BareRun(benchmark::State& state) {
    const std::string text = workload_of(state.range(1), state.range(0));
    for (auto _ : state) {
        if (set_up_simulation(text))
            std::abort();
        NoObserver observer;
        while (!simulation_complete())
            step(observer);
        reset_scheduler();
    }
}

// The whole report run into memory: setting up, running with the recorder, writing the
// document (argument 2: 0 text, 1 JSON).
void BM_ReportRun(benchmark::State& state) {
    const std::string text = workload_of(state.range(1), state.range(0));
    std::size_t events = 0;
    for (auto _ : state) {
        if (set_up_simulation(text))
            std::abort();
        const RunRecord run = run_report("bench", {});
        reset_scheduler();
        const std::string out = state.range(2) == 0 ? text_report(run, 100) : json_report(run);
        events = run.events.size();
        benchmark::DoNotOptimize(out.data());
    }
    state.counters["events"] = static_cast<double>(events);
}

// The run recorded, with no document written.
void BM_RecordOnly(benchmark::State& state) {
    const std::string text = workload_of(state.range(1), state.range(0));
    for (auto _ : state) {
        if (set_up_simulation(text))
            std::abort();
        const RunRecord run = run_report("bench", {});
        reset_scheduler();
        benchmark::DoNotOptimize(run.events.data());
    }
}

// Setting up alone: the workload's insertion into not_dispatched, as the lists are
// defined.
void BM_SetUpOnly(benchmark::State& state) {
    const std::string text = workload_of(state.range(1), state.range(0));
    for (auto _ : state) {
        if (set_up_simulation(text))
            std::abort();
        reset_scheduler();
    }
}

BENCHMARK(BM_BareRun)
    ->Args({200, 0})
    ->Args({2000, 0})
    ->Args({10000, 0})
    ->Args({2000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReportRun)
    ->ArgsProduct({{200, 2000, 10000}, {0}, {0, 1}})
    ->Args({2000, 1, 0})
    ->Args({2000, 1, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_RecordOnly)
    ->Args({200, 0})
    ->Args({2000, 0})
    ->Args({10000, 0})
    ->Args({2000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SetUpOnly)->Args({10000, 0})->Args({2000, 1})->Unit(benchmark::kMillisecond);

BENCHMARK(BM_ReportJson)
    ->Args({100, 0})
    ->Args({1000, 0})
    ->Args({10000, 0})
    ->Args({1000, 1})
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TextReport)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

} // namespace
