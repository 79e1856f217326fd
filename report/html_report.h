// The whole run as one self-contained HTML page: header, process table, averages, the
// Gantt chart inline and the event list. No script, no external file.
#pragma once

#include "report/report_texts.h"
#include "report/run_record.h"

#include <string>

namespace mlfq {

std::string html_report(const RunRecord& run, const ChartOptions& options = {});

} // namespace mlfq
