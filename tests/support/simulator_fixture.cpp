#include "support/simulator_fixture.h"

#include "model/clock_step.h"
#include "model/record_memory.h"
#include "model/workload_parser.h"

namespace mlfq::testing {

void SimulatorTest::load(std::string_view workload) {
    scheduler.not_dispatched = new_process_node();
    const auto error = parse_workload(workload);
    ASSERT_FALSE(error.has_value()) << error->message;
    init_queues();
    scheduler.finished = new_finished_node();
}

std::string SimulatorTest::steps(int count) {
    console.tab_when_idle = true;
    for (int i = 0; i < count; ++i)
        step();
    console.tab_when_idle = false;
    return console.take_output();
}

} // namespace mlfq::testing
