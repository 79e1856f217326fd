// Cost of loading a workload and of one clock step, as the workload grows.
// Run: cmake --preset bench && cmake --build --preset bench && build/bench/bench/mlfq_bench
#include "console/console.h"
#include "console/main_menu.h"
#include "model/clock_step.h"
#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"
#include "model/workload_parser.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <string>

namespace {

using namespace mlfq;

enum Order { ascending, descending, equal };

// Answers every TAB prompt at once and throws the text away.
class SilentConsole final : public Console {
public:
    void write(std::string_view) override {}
    void clear() override {}
    int read_key() override { return key_tab; }
};

std::string workload(int processes, Order order, int bursts) {
    std::string text = "3\n";
    for (int i = 0; i < processes; ++i) {
        const int arrival = order == ascending ? i : order == descending ? processes - i : 0;
        text += format_text("P%d %d 0 %d\n", i, arrival, bursts);
        for (int b = 1; b < bursts; ++b)
            text += "5 3\n";
        text += "5\n";
    }
    return text;
}

void load(const std::string& text) {
    if (set_up_simulation(text).has_value())
        std::abort();
}

// Time and record memory per process for loading, by order of arrivals and burst count
// (argument 1: 0 ascending, 1 descending, 2 all equal).
void BM_Load(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    const auto order = static_cast<Order>(state.range(1));
    const int bursts = static_cast<int>(state.range(2));
    const std::string text = workload(processes, order, bursts);
    std::size_t record_bytes = 0;
    for (auto _ : state) {
        state.PauseTiming();
        reset_scheduler();
        const std::size_t before = mallinfo2().uordblks;
        state.ResumeTiming();
        load(text);
        state.PauseTiming();
        record_bytes = mallinfo2().uordblks - before;
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * processes);
    state.counters["bytes_per_process"] = static_cast<double>(record_bytes) / processes;
    reset_scheduler();
}

// One clock step with the processes spread over the four ready queues and I/O: every
// fifth process in a long I/O phase, the others in ready queue i % 5.
void BM_Step(benchmark::State& state) {
    const int processes = static_cast<int>(state.range(0));
    SilentConsole console;
    Console* previous = set_console(&console);
    std::string text = "3\n";
    for (int i = 0; i < processes; ++i)
        text += format_text("P%d 0 0 2\n%s5\n", i, i % 5 == 4 ? "0 1000000\n" : "1000000 3\n");
    load(text);
    for (int i = 0; i < processes; ++i) {
        Process* p = pop_front(scheduler.not_dispatched);
        p->first_dispatch = 0;
        if (i % 5 == 4)
            push_front(scheduler.io_queue, p);
        else
            append(scheduler.ready[i % 5], p);
    }
    scheduler.clock = 1;
    for (auto _ : state)
        step();
    reset_scheduler();
    set_console(previous);
}

void load_arguments(benchmark::internal::Benchmark* b) {
    for (int processes : {1000, 10000, 100000})
        for (int order : {ascending, descending, equal})
            for (int bursts : {1, 20})
                b->Args({processes, order, bursts});
}

BENCHMARK(BM_Load)->Apply(load_arguments)->Unit(benchmark::kMillisecond)->MinTime(0.2);
BENCHMARK(BM_Step)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
