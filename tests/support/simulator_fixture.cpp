#include "support/simulator_fixture.h"

#include "console/main_menu.h"
#include "model/simulation.h"

namespace mlfq::testing {

void SimulatorTest::load(std::string_view workload) {
    const auto error = set_up_simulation(workload);
    ASSERT_FALSE(error.has_value()) << error->message;
}

std::string SimulatorTest::steps(int count) {
    console.tab_when_idle = true;
    for (int i = 0; i < count; ++i)
        step();
    console.tab_when_idle = false;
    return console.take_output();
}

} // namespace mlfq::testing
