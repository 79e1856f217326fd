// The run as text for a person: header, events by step, the table of processes, the
// averages and the Gantt chart.
#pragma once

#include "report/run_record.h"

#include <string>

namespace mlfq {

std::string text_report(const RunRecord& run, int width, bool reasons = false);

} // namespace mlfq
