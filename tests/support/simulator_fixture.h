// A fresh scheduler and a scripted console for each test.
#pragma once

#include "model/scheduler_state.h"
#include "support/scripted_console.h"

#include <gtest/gtest.h>

#include <string_view>

namespace mlfq::testing {

class SimulatorTest : public ::testing::Test {
protected:
    SimulatorTest() { reset_scheduler(); }
    ~SimulatorTest() override { reset_scheduler(); }

    // Sets the simulator up as the main menu does, from a workload text that must parse.
    void load(std::string_view workload);
    // Runs `count` clock steps, answering every TAB prompt; returns what they wrote.
    std::string steps(int count);

    ScriptedConsole console;
};

} // namespace mlfq::testing
