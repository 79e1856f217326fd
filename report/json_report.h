// The run as a JSON document: the file, the totals, every process in file order with
// its timeline, and every event in order.
#pragma once

#include "report/run_record.h"

#include <string>

namespace mlfq {

std::string json_report(const RunRecord& run);

} // namespace mlfq
