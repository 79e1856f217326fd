#include "report/text_report.h"

#include "report/report_texts.h"
#include "report/text_gantt.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <algorithm>
#include <array>
#include <optional>

namespace mlfq {

namespace {

std::string header(const RunRecord& run) {
    return format_text("%s: relatorio da simulacao\n"
                       "Arquivo   : %s\n"
                       "Quantum   : %d\n"
                       "Regras    : %s\n"
                       "Processos : %d\n",
                       report_title, shown_file_name(run), run.quantum, rules_summary(run),
                       static_cast<std::int64_t>(run.processes.size()));
}

// The events under a line with the clock of their step; steps without events left out.
void append_events(std::string& out, const RunRecord& run, bool reasons) {
    out += "\nEventos\n";
    std::optional<std::int64_t> step;
    for (const EventRecord& e : run.events) {
        if (step != e.clock) {
            step = e.clock;
            out += format_text("Tempo %d\n", e.clock);
        }
        out += ' '; // the message's own leading blank makes two
        out += event_line(run, e);
        out += '\n';
        if (const std::size_t i = static_cast<std::size_t>(&e - run.events.data());
            reasons && i < run.reasons.size()) {
            out += "    porque ";
            out += run.reasons[i];
            out += '\n';
        }
    }
    if (run.events.empty())
        out += "(nenhum evento)\n";
}

// The table of processes, the name left-aligned and the numbers right-aligned.
void append_table(std::string& out, const RunRecord& run) {
    std::vector<ProcessCells> rows = {{"Nome", "Chegada", "Extra", "Despacho", "Espera", "Termino",
                                       "Turnaround", "CPU", "IO", "Pronto"}};
    for (const ProcessRecord& p : run.processes)
        rows.push_back(process_cells(p));
    std::array<std::size_t, process_columns> widths{};
    for (const ProcessCells& row : rows) {
        for (std::size_t c = 0; c < process_columns; ++c)
            widths[c] = std::max(widths[c], utf8_length(row[c]));
    }
    out += "\nProcessos (Despacho: primeiro despacho; Termino: passo do termino; "
           "Pronto: passos esperando)\n";
    for (const ProcessCells& row : rows) {
        std::string line = row[0] + std::string(widths[0] - utf8_length(row[0]), ' ');
        for (std::size_t c = 1; c < process_columns; ++c)
            line += "  " + std::string(widths[c] - row[c].size(), ' ') + row[c];
        out += line + "\n";
    }
}

void append_averages(std::string& out, const RunRecord& run) {
    out += "\nMedias\n";
    for (const LabelledValue& item : averages(run)) {
        const std::string label = item.label;
        out += label + std::string(22 - label.size(), ' ') + ": " + item.value + "\n";
    }
}

} // namespace

std::string text_report(const RunRecord& run, int width, bool reasons) {
    std::string out = header(run);
    append_events(out, run, reasons);
    append_table(out, run);
    append_averages(out, run);
    out += "\nGrafico de Gantt (um caractere por passo)\n";
    out += text_gantt(run, width);
    if (const std::string stop = stop_sentence(run); !stop.empty())
        out += "\n" + stop + "\n";
    return out;
}

} // namespace mlfq
