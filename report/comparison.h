// Runs of one workload under several rule sets, side by side: the text, JSON, SVG and HTML
// of the comparison, each run titled with its rules, on one time axis.
#pragma once

#include "report/report_texts.h"
#include "report/run_record.h"

#include <string>
#include <vector>

namespace mlfq {

std::string comparison_text(const std::vector<RunRecord>& runs, int width);
// {"comparacao": [document, document, ...]}
std::string comparison_json(const std::vector<RunRecord>& runs);
std::string comparison_svg(const std::vector<RunRecord>& runs, bool standalone,
                           const ChartOptions& options = {});
std::string comparison_html(const std::vector<RunRecord>& runs, const ChartOptions& options = {});

} // namespace mlfq
