// A worksheet for printing: the workload and the rules, an empty Gantt grid and a table to
// fill in, and no answer anywhere in it (the answer key is the HTML report).
#pragma once

#include "report/run_record.h"

#include <string>

namespace mlfq {

// The grid's length does not give the run's end away: at least 5 columns past it, rounded
// up to a multiple of 10.
std::int64_t worksheet_columns(const RunRecord& run);

std::string worksheet_html(const RunRecord& run);

} // namespace mlfq
