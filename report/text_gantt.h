// The Gantt chart in text: a row per process, a column per step, wrapped to a width.
#pragma once

#include "report/run_record.h"

#include <string>

namespace mlfq {

// Runs longer than this many steps, or with more processes, are charted in part; the
// chart says what it leaves out.
inline constexpr std::int64_t text_chart_max_steps = 600;
inline constexpr std::size_t text_chart_max_processes = 100;

std::string text_gantt(const RunRecord& run, int width);

} // namespace mlfq
