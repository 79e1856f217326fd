// The Gantt chart as a standalone SVG picture: a row per process in file order, a
// rectangle per timeline segment, a colour per ready queue, a time axis and a legend.
#pragma once

#include "report/report_texts.h"
#include "report/run_record.h"

#include <string>

namespace mlfq {

// The colour of ready queue q (1-based) in the chart and its legend (Okabe-Ito palette,
// told apart with the common colour-vision deficiencies).
const char* queue_colour(int queue);

// The picture; `standalone` adds the XML declaration and namespace for a file of its
// own, without it the markup is for inline use in an HTML page.
std::string svg_gantt(const RunRecord& run, bool standalone, const ChartOptions& options = {});

// The picture's width and height, in pixels.
struct PictureSize {
    double width = 0, height = 0;
};
PictureSize svg_gantt_size(const RunRecord& run, const ChartOptions& options = {});

// Text with the five XML special characters escaped; bytes that are not UTF-8 are read
// as Windows-1252 first.
std::string xml_text(std::string_view bytes);

} // namespace mlfq
