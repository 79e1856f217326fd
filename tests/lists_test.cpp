#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "support/simulator_fixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mlfq::testing {
namespace {

using Lists = SimulatorTest;

std::vector<std::string> names_of(const Process* head) {
    std::vector<std::string> names;
    for (const Process* p = first(head); p != nullptr; p = p->next)
        names.emplace_back(p->name);
    return names;
}

TEST_F(Lists, InsertByArrivalKeepsFileOrderAmongEqualArrivals) {
    struct Case {
        std::vector<std::pair<const char*, int>> inserted;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {{{"a5", 5}, {"b2", 2}, {"c5", 5}}, {"b2", "a5", "c5"}},
        {{{"x3", 3}, {"y1", 1}}, {"y1", "x3"}},                  // before everything
        {{{"x1", 1}, {"y1", 1}, {"z1", 1}}, {"x1", "y1", "z1"}}, // equal to the smallest
        {{{"x4", 4}, {"y9", 9}, {"z0", 0}}, {"z0", "x4", "y9"}},
    };
    for (const Case& c : cases) {
        reset_scheduler();
        scheduler.not_dispatched = new_process_node();
        for (const auto& [name, arrival] : c.inserted) {
            Process* p = insert_by_arrival(name, arrival, 0);
            p->bursts = new_burst_node();
        }
        EXPECT_EQ(names_of(scheduler.not_dispatched), c.expected);
    }
}

TEST_F(Lists, NamesAreKeptWholeUpToNineteenCharactersAndNeverOverflow) {
    scheduler.not_dispatched = new_process_node();
    Process* whole = insert_by_arrival("ABCDEFGHIJKLMNOPQRS", 0, 0);
    Process* cut = insert_by_arrival("ABCDEFGHIJKLMNOPQRSTUVWXYZ", 0, 0);
    whole->bursts = new_burst_node();
    cut->bursts = new_burst_node();
    EXPECT_STREQ(whole->name, "ABCDEFGHIJKLMNOPQRS");
    EXPECT_STREQ(cut->name, "ABCDEFGHIJKLMNOPQRS");
}

TEST_F(Lists, BurstsAndFinishedRecordsAppendInOrder) {
    scheduler.not_dispatched = new_process_node();
    scheduler.finished = new_finished_node();
    Process* p = insert_by_arrival("A", 0, 10);
    p->bursts = new_burst_node();
    append_burst(p, 4, 2);
    append_burst(p, 3, 0);
    ASSERT_EQ(length(p->bursts), 2);
    EXPECT_EQ(first(p->bursts)->cpu, 4);
    EXPECT_EQ(first(p->bursts)->next->io, 0);
    append_finished("A", 0, 1, 5);
    append_finished("B", 2, 3, 7);
    EXPECT_STREQ(first(scheduler.finished)->name, "A");
    EXPECT_EQ(last_node(scheduler.finished)->turnaround, 7);
}

} // namespace
} // namespace mlfq::testing
