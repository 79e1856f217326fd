// Words shared by the renderers of a run.
#pragma once

#include "model/scheduling_events.h"
#include "report/run_record.h"

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace mlfq {

inline constexpr const char* report_title = "Multiplas filas com realimentacao";
// The same with its accents, for the SVG and the HTML (the screens keep theirs without).
inline constexpr const char* picture_title = "Múltiplas filas com realimentação";

// How the pictures are drawn: the chart's title in place of the usual one, and a window of
// steps [from, to) of a long run (to: the run's end when not given).
struct ChartOptions {
    std::optional<std::string> title;
    std::int64_t from = 0;
    std::optional<std::int64_t> to;
};

// The usual title of a picture: the file and the quantum, or the quantum of each queue when
// they differ.
std::string picture_heading(const RunRecord& run);

// The workload's file name as every report shows it: read as the loader reads names
// (UTF-8, else Windows-1252), with control and invisible characters as \xNN, so that no
// escape sequence reaches a terminal and every document can hold it.
std::string shown_file_name(const RunRecord& run);

// The event's name in the JSON document: "chegada", "despacho", ...
const char* event_key(EventKind kind);

// The event's message as the screens show it, without its leading line breaks and
// trailing blanks; the name as valid UTF-8.
std::string event_line(const RunRecord& run, const EventRecord& event);

// A sentence on why the run stopped before every process terminated; empty when it did
// not.
std::string stop_sentence(const RunRecord& run);

// n * scale / d with two decimals, rounded half up ("2.40"); d > 0, n >= 0.
std::string two_decimals(std::int64_t n, std::int64_t d, std::int64_t scale = 1);

// A process's row of the table: name (UTF-8), arrival, extra, first dispatch, wait,
// termination, turnaround, CPU, I/O and steps ready, "-" where a value does not exist.
inline constexpr std::size_t process_columns = 10;
using ProcessCells = std::array<std::string, process_columns>;
ProcessCells process_cells(const ProcessRecord& p);

// The averages over the terminated processes, with two decimals ("2.40"), or none before
// any terminated: response time (first dispatch - arrival), time waiting on ready queues
// (steps in state '.'), turnaround (the clock of the terminating step - arrival).
struct Measures {
    std::optional<std::string> response, ready, turnaround;
};
Measures measures(const RunRecord& run);

struct LabelledValue {
    const char* label;
    std::string value;
};

// The averages of the run: waiting time (as the status screen shows it, and with two
// decimals), turnaround of the terminated processes, CPU use.
std::vector<LabelledValue> averages(const RunRecord& run);

// What each state character means, in one line.
std::string legend(const RunRecord& run);

// The rules of the run in a few words: "4 filas, quantum 3 em todas, ...".
std::string rules_summary(const RunRecord& run, bool accents = false);

// A label of the averages with its accents, for the HTML.
std::string accented_label(const char* label);

} // namespace mlfq
