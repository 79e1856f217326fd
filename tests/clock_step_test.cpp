#include "model/clock_step.h"

#include "console/listings.h"
#include "console/main_menu.h"
#include "model/lists.h"
#include "support/simulator_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mlfq::testing {
namespace {

using ClockStep = SimulatorTest;

// Event texts, with "<tab>" for the TAB prompt that follows each, written out here rather
// than made by the program's own formatter.
std::string arrived(const std::string& name, int t) {
    return "\n\n Processo " + name + " entrou na fila de prontos no tempo: " + std::to_string(t) +
           "<tab>";
}
std::string dispatched(const std::string& name, std::int64_t t) {
    return "\n\n Processo " + name + " entrou para execucao no tempo " + std::to_string(t) +
           " <tab>";
}
std::string demoted(const std::string& name, int queue, std::int64_t t) {
    return "\n\n Processo " + name + " foi para a fila de prontos " + std::to_string(queue) +
           " tempo " + std::to_string(t) + " <tab>";
}
std::string to_io(const std::string& name, int t) {
    return "\n\n Processo " + name + " foi para a fila de IO no tempo " + std::to_string(t) +
           " <tab>";
}
std::string from_io(const std::string& name, int t) {
    return "\n\n Processo " + name + " foi para a fila de Prontos no tempo " + std::to_string(t) +
           " <tab>";
}
std::string finished(const std::string& name) {
    return "\n Processo " + name + " terminou <tab>";
}

struct Record {
    std::string name;
    std::int64_t arrival, wait, turnaround;
    bool operator==(const Record&) const = default;
};

std::vector<Record> finished_records() {
    std::vector<Record> records;
    for (const FinishedProcess* r = first(scheduler.finished); r != nullptr; r = r->next)
        records.push_back({r->name, r->arrival, r->wait, r->turnaround});
    return records;
}

// A scenario: a workload and what each clock step writes, step by step from clock 0.
struct Scenario {
    const char* title;
    const char* workload;
    std::vector<std::string> events_by_step;
    std::vector<Record> records;
};

TEST_F(ClockStep, Scenarios) {
    const Scenario scenarios[] = {
        {"quantum 4, one burst of 3: terminating takes one tick after the last unit",
         "4\nA 0 0 1\n3\n",
         {arrived("A", 0) + dispatched("A", 0), "", "", finished("A"), ""},
         {{"A", 0, 0, 3}}},
        {"quantum 3, one burst of 5: two units per slice, demoted on the third tick",
         "3\nA 0 0 1\n5\n",
         {arrived("A", 0) + dispatched("A", 0), "", demoted("A", 2, 2), dispatched("A", 3), "",
          demoted("A", 3, 5), dispatched("A", 6), finished("A")},
         {{"A", 0, 0, 7}}},
        {"quantum 1: every tick expires the slice, down to the fourth queue and there",
         "1\nA 0 0 1\n2\n",
         {arrived("A", 0) + dispatched("A", 0) + demoted("A", 2, 0),
          dispatched("A", 1) + demoted("A", 3, 1), dispatched("A", 2) + demoted("A", 4, 2),
          dispatched("A", 3) + demoted("A", 4, 3)},
         {}},
        {"quantum 0: never preempted; I/O of 3 counted from the step it starts",
         "0\nA 0 0 2\n2 3\n1\n",
         {arrived("A", 0) + dispatched("A", 0), "", to_io("A", 2), "", from_io("A", 4),
          dispatched("A", 5), finished("A")},
         {{"A", 0, 0, 6}}},
        {"two I/O phases ending together: the later entrant joins ready[0] first",
         "9\nX 0 0 2\n1 3\n1\nY 0 0 2\n1 1\n1\n",
         {arrived("X", 0) + arrived("Y", 0) + dispatched("X", 0), to_io("X", 1), dispatched("Y", 2),
          to_io("Y", 3) + from_io("Y", 3) + from_io("X", 3), dispatched("Y", 4), finished("Y"),
          dispatched("X", 6), finished("X")},
         {{"Y", 0, 2, 5}, {"X", 0, 0, 7}}},
        {"a 0 0 first burst goes on the first tick, which already advances the next",
         "3\nA 0 0 2\n0 0\n2\n",
         {arrived("A", 0) + dispatched("A", 0), "", finished("A")},
         {{"A", 0, 0, 2}}},
        {"a 0 0 burst after an I/O phase costs one extra tick",
         "5\nA 0 0 3\n1 1\n0 0\n1\n",
         {arrived("A", 0) + dispatched("A", 0), to_io("A", 1) + from_io("A", 1), dispatched("A", 2),
          "", finished("A")},
         {{"A", 0, 0, 4}}},
        {"quantum 1: the 0 0 burst goes, and the slice expires on the same tick",
         "1\nA 0 0 2\n0 0\n1\n",
         {arrived("A", 0) + dispatched("A", 0) + demoted("A", 2, 0)},
         {}},
        {"a single burst of 0: admitted, dispatched and terminated in one step",
         "3\nB 2 0 1\n0\n",
         {"", "", arrived("B", 2) + dispatched("B", 2) + finished("B"), ""},
         {{"B", 2, 0, 0}}},
        {"the worked example of the README: demoted before its I/O, I/O of 2 ends a step later",
         "3\nA 0 0 2\n2 2\n1\nB 1 0 1\n3\n",
         {arrived("A", 0) + dispatched("A", 0), arrived("B", 1), demoted("A", 2, 2),
          dispatched("B", 3), "", demoted("B", 2, 5), dispatched("A", 6) + to_io("A", 6),
          dispatched("B", 7) + from_io("A", 7), finished("B"), dispatched("A", 9), finished("A")},
         {{"B", 1, 2, 7}, {"A", 0, 0, 10}}},
        {"a slice expiring after the last unit of a burst with I/O: demoted, I/O later",
         "3\nA 0 0 2\n2 1\n1\n",
         {arrived("A", 0) + dispatched("A", 0), "", demoted("A", 2, 2),
          dispatched("A", 3) + to_io("A", 3) + from_io("A", 3), dispatched("A", 4), finished("A")},
         {{"A", 0, 0, 5}}},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.title);
        reset_scheduler();
        load(s.workload);
        for (std::size_t t = 0; t < s.events_by_step.size(); ++t)
            EXPECT_EQ(steps(1), s.events_by_step[t]) << "step " << t;
        EXPECT_EQ(scheduler.clock, static_cast<std::int64_t>(s.events_by_step.size()));
        EXPECT_EQ(finished_records(), s.records);
    }
}

// The road of one key press in the example workload, and the status screen after it.
TEST_F(ClockStep, FirstStepOfTheExample) {
    load("3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n");
    EXPECT_EQ(steps(1), arrived("A", 0) + dispatched("A", 0));
    EXPECT_EQ(scheduler.running->name, std::string("A"));
    EXPECT_EQ(scheduler.running->first_dispatch, 0);
    EXPECT_EQ(first(scheduler.running->bursts)->cpu, 3);
    EXPECT_EQ(first(scheduler.not_dispatched)->name, std::string("B"));
    show_status_screen();
    EXPECT_NE(console.take_output().find(" Tempo TOTAL           : 1\n"
                                         " QUANTUM               : 3 \n"
                                         " SLICE restante        : 2 \n"
                                         " Tempo medio de Espera : 0 \n"),
              std::string::npos);
}

TEST_F(ClockStep, AnIdleStepOnlyStartsASliceAndMovesTheClock) {
    load("6\nA 5 0 1\n1\n");
    EXPECT_EQ(steps(2), "");
    EXPECT_EQ(scheduler.clock, 2);
    EXPECT_EQ(scheduler.slice_left, 6);
    EXPECT_EQ(console.keys_read, 0);
}

TEST_F(ClockStep, QuantumOneNeverCountsDownCpuTime) {
    load("1\nA 0 0 2\n3 1\n1\n");
    steps(200);
    EXPECT_EQ(scheduler.finished_count, 0);
    EXPECT_EQ(first(first(scheduler.ready[3])->bursts)->cpu, 3);
    EXPECT_EQ(scheduler.level, 3);
}

TEST_F(ClockStep, EveryEventWaitsForTabAndIgnoresOtherKeys) {
    load("4\nA 0 0 1\n1\n");
    console.type("<esc>c\t"
                 "x\t");
    step();
    EXPECT_TRUE(console.keys.empty());
    EXPECT_EQ(console.take_output(), arrived("A", 0) + dispatched("A", 0));
}

TEST_F(ClockStep, CountersAreWideAndShownTrue) {
    load("-2147483648\nA 0 0 1\n3\nB 0 0 1\n1\n");
    steps(3);
    EXPECT_EQ(scheduler.slice_left, std::int64_t{-2147483651});
    show_status_screen();
    EXPECT_NE(console.take_output().find(" SLICE restante        : -2147483651 \n"),
              std::string::npos);

    scheduler.clock = 5000000000; // as if five billion steps had passed
    EXPECT_EQ(steps(3), finished("A") + dispatched("B", 5000000001) + finished("B"));
    EXPECT_EQ(finished_records(),
              (std::vector<Record>{{"A", 0, 0, 5000000000}, {"B", 0, 5000000001, 5000000002}}));
    EXPECT_EQ(scheduler.wait_sum, 5000000001);
    show_status_screen();
    EXPECT_NE(console.take_output().find(" Tempo medio de Espera : 2500000000 \n"),
              std::string::npos);
}

// Worked out by hand from the scheduling rules, one clock step at a time: P drops
// through all four queues, Q and S terminate early, R and T are in I/O together and S
// arrives late; average wait (2 + 1 + 4 + 5 + 0) / 5 = 2.
TEST_F(ClockStep, FiveProcessesThroughEveryQueue) {
    load("3\n"
         "P 0 0 2\n7 2\n1\n"
         "Q 1 0 1\n2\n"
         "R 2 0 2\n1 3\n1\n"
         "T 3 0 2\n1 4\n1\n"
         "S 9 0 1\n1\n");
    const std::vector<std::string> events_by_step = {
        arrived("P", 0) + dispatched("P", 0),              // 0: P 6/2
        arrived("Q", 1),                                   // 1: P 5/2
        arrived("R", 2) + demoted("P", 2, 2),              // 2
        arrived("T", 3) + dispatched("Q", 3),              // 3: Q 1/0
        "",                                                // 4: Q 0/0
        finished("Q"),                                     // 5
        dispatched("R", 6),                                // 6: R 0/3
        to_io("R", 7),                                     // 7: R io 2
        dispatched("T", 8),                                // 8: T 0/4, R io 1
        arrived("S", 9) + to_io("T", 9) + from_io("R", 9), // 9: T io 3
        dispatched("S", 10),                               // 10: T io 2
        finished("S"),                                     // 11: T io 1
        dispatched("R", 12) + from_io("T", 12),            // 12: R 0/0 gone, 0/0 left
        finished("R"),                                     // 13
        dispatched("T", 14),                               // 14
        finished("T"),                                     // 15
        dispatched("P", 16),                               // 16: from queue 2, P 4/2
        "",                                                // 17: P 3/2
        demoted("P", 3, 18),                               // 18
        dispatched("P", 19),                               // 19: P 2/2
        "",                                                // 20: P 1/2
        demoted("P", 4, 21),                               // 21
        dispatched("P", 22),                               // 22: P 0/2
        to_io("P", 23),                                    // 23: io 1
        from_io("P", 24),                                  // 24
        dispatched("P", 25),                               // 25
        finished("P"),                                     // 26
    };
    for (std::size_t t = 0; t < events_by_step.size(); ++t)
        ASSERT_EQ(steps(1), events_by_step[t]) << "step " << t;
    EXPECT_EQ(
        finished_records(),
        (std::vector<Record>{
            {"Q", 1, 2, 4}, {"S", 9, 1, 2}, {"R", 2, 4, 11}, {"T", 3, 5, 12}, {"P", 0, 0, 26}}));
    EXPECT_EQ(scheduler.wait_sum, 12);
    EXPECT_EQ(scheduler.finished_count, 5);
    show_status_screen();
    EXPECT_NE(console.take_output().find(" Tempo TOTAL           : 27\n"
                                         " QUANTUM               : 3 \n"
                                         " SLICE restante        : 1 \n"
                                         " Tempo medio de Espera : 2 \n"),
              std::string::npos);
}

} // namespace
} // namespace mlfq::testing
