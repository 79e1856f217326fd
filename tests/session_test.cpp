// The session fed keys gives, byte for byte, what the menu loop that reads its keys
// gives for the same keys, workload and rules.
#include "console/main_menu.h"
#include "console/session.h"
#include "model/simulation.h"
#include "support/scripted_console.h"

#include <gtest/gtest.h>

#include <random>

namespace mlfq::testing {
namespace {

struct Screens {
    std::string output;
    bool ended = false;
};

// The reference: the loop reading every key from a scripted console.
Screens by_menu_loop(std::string_view workload, const SchedulingRules& rules,
                     const std::deque<int>& codes) {
    EXPECT_FALSE(set_up_simulation(workload, rules).has_value());
    ScriptedConsole console;
    console.keys = codes;
    Screens run;
    while (!console.keys.empty() && main_menu_once()) {
    }
    run.output = console.output;
    reset_scheduler();
    return run;
}

Screens by_session(std::string_view workload, const SchedulingRules& rules,
                   const std::deque<int>& codes) {
    EXPECT_FALSE(set_up_simulation(workload, rules).has_value());
    ScriptedConsole console;
    Session session(console);
    session.start();
    for (int code : codes) {
        if (session.ended())
            break;
        session.key(code);
    }
    Screens run{console.output, session.ended()};
    reset_scheduler();
    return run;
}

TEST(Session, SameBytesAsTheMenuLoopForEveryKey) {
    const struct {
        const char* workload;
        SchedulingRules rules;
    } workloads[] = {
        {"3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n", {}},
        {"2\nX 0 0 3\n1 2\n0 0\n2\nY 0 0 1\n3\nZ 4 1 2\n2 1\n1\n", {.preemption = true}},
        {"1\nA 0 0 1\n2\nB 0 0 2\n1 1\n1\n", {.queues = 2, .boost = 3, .io_keeps_queue = true}},
        {"4\nA 0 0 2\n0 1\n3\nB 2 0 1\n0\n", {.quota = true, .textbook = true}},
        {"3\n", {}},
    };
    const std::string keys = "ccccc\t12345xq\x1b\t0\x48";
    std::mt19937 rng(5);
    for (const auto& w : workloads) {
        for (int round = 0; round < 60; ++round) {
            std::deque<int> codes;
            const int length = 5 + static_cast<int>(rng() % 60);
            for (int i = 0; i < length; ++i)
                codes.push_back(static_cast<unsigned char>(keys[rng() % keys.size()]));
            // Enough TABs to finish any step, then a key back from a listing, then ESC.
            codes.insert(codes.end(), 300, key_tab);
            codes.push_back('x');
            codes.push_back(key_escape);
            const Screens reference = by_menu_loop(w.workload, w.rules, codes);
            const Screens session = by_session(w.workload, w.rules, codes);
            ASSERT_EQ(session.output, reference.output) << w.workload << " round " << round;
            EXPECT_TRUE(session.ended);
        }
    }
}

} // namespace
} // namespace mlfq::testing
