#include "report/text_gantt.h"

#include "report/report_texts.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <algorithm>

namespace mlfq {

namespace {

// A process's states over steps [from, to), blank where it has none.
std::string row_cells(const ProcessRecord& p, std::int64_t from, std::int64_t to) {
    std::string cells(static_cast<std::size_t>(to - from), ' ');
    for (const Segment& s : p.timeline) {
        if (s.from >= to)
            break;
        for (std::int64_t t = std::max(s.from, from); t < std::min(s.to, to); ++t)
            cells[static_cast<std::size_t>(t - from)] = s.state;
    }
    return cells;
}

// Labels at every step that is a multiple of 10, each where its column begins, when it
// fits before the next one and within the chunk.
std::string ruler(std::int64_t from, std::int64_t to) {
    std::string line(static_cast<std::size_t>(to - from), ' ');
    for (std::int64_t t = from; t < to; ++t) {
        if (t % 10 != 0)
            continue;
        const std::string label = format_text("%d", t);
        const auto at = static_cast<std::size_t>(t - from);
        if (at + label.size() <= line.size())
            line.replace(at, label.size(), label);
    }
    return line;
}

std::string trimmed(std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

} // namespace

std::string text_gantt(const RunRecord& run, int width) {
    const std::int64_t shown_steps = std::min(run.total_time, text_chart_max_steps);
    const std::size_t shown_processes = std::min(run.processes.size(), text_chart_max_processes);
    std::size_t name_width = 0;
    for (std::size_t i = 0; i < shown_processes; ++i)
        name_width = std::max(name_width, utf8_length(run.processes[i].utf8_name));
    // Each line: the name, " |", the cells; at least ten cells a line.
    const std::int64_t per_line =
        std::max<std::int64_t>(10, width - static_cast<std::int64_t>(name_width) - 2);
    std::string out;
    for (std::int64_t from = 0; from < shown_steps; from += per_line) {
        const std::int64_t to = std::min(shown_steps, from + per_line);
        if (from > 0)
            out += "\n";
        for (std::size_t i = 0; i < shown_processes; ++i) {
            const std::string& name = run.processes[i].utf8_name;
            out += trimmed(name + std::string(name_width - utf8_length(name), ' ') + " |" +
                           row_cells(run.processes[i], from, to)) +
                   "\n";
        }
        out += trimmed(std::string(name_width + 2, ' ') + ruler(from, to)) + "\n";
    }
    if (shown_steps == 0)
        out += "(nenhum passo)\n";
    if (shown_steps < run.total_time)
        out += format_text("(grafico cortado no tempo %d de %d; o grafico inteiro: --svg ou "
                           "--html)\n",
                           shown_steps, run.total_time);
    if (shown_processes < run.processes.size())
        out += format_text("(mostrados os primeiros %d de %d processos; todos: --svg ou "
                           "--html)\n",
                           static_cast<std::int64_t>(shown_processes),
                           static_cast<std::int64_t>(run.processes.size()));
    out += "Legenda: " + legend(run) + "\n";
    return out;
}

} // namespace mlfq
