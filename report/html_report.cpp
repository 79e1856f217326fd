#include "report/html_report.h"

#include "report/report_texts.h"
#include "report/svg_gantt.h"
#include "util/text_format.h"

#include <optional>

namespace mlfq {

namespace {

constexpr const char* style =
    R"(body{font-family:"DejaVu Sans",Verdana,sans-serif;margin:24px;color:#222}
h1{font-size:22px}h2{font-size:17px;margin-top:28px}
table{border-collapse:collapse}td,th{border:1px solid #bbb;padding:3px 8px}
td.n{text-align:right}th{background:#eee}
ol.eventos{font-family:"DejaVu Sans Mono",monospace;font-size:13px}
.parou{font-weight:bold}
.motivo{font-family:"DejaVu Sans",Verdana,sans-serif;font-size:12px;color:#555}
)";

void append_table(std::string& out, const RunRecord& run) {
    out += "<h2>Processos</h2>\n<table>\n<tr><th>Nome</th><th>Chegada</th><th>Extra</th>"
           "<th>Primeiro despacho</th><th>Espera (resposta)</th><th>Término</th>"
           "<th>Turnaround</th><th>CPU</th><th>IO</th><th>Pronto (passos esperando)</th></tr>\n";
    for (const ProcessRecord& p : run.processes) {
        const ProcessCells cells = process_cells(p);
        out += format_text("<tr><td>%s</td>", xml_text(cells[0]));
        for (std::size_t c = 1; c < process_columns; ++c)
            out += format_text("<td class=\"n\">%s</td>", cells[c]);
        out += "</tr>\n";
    }
    out += "</table>\n";
}

void append_averages(std::string& out, const RunRecord& run) {
    out += "<h2>Médias</h2>\n<ul>\n";
    for (const LabelledValue& item : averages(run))
        out += format_text("<li>%s: %s</li>\n", accented_label(item.label), item.value);
    out += "</ul>\n";
}

void append_events(std::string& out, const RunRecord& run) {
    out += "<h2>Eventos</h2>\n";
    if (run.events.empty()) {
        out += "<p>Nenhum evento.</p>\n";
        return;
    }
    out += "<ol class=\"eventos\">\n";
    for (std::size_t i = 0; i < run.events.size(); ++i) {
        out += format_text("<li>%s", xml_text(event_line(run, run.events[i])));
        if (i < run.reasons.size())
            out += format_text("<br><span class=\"motivo\">%s</span>", xml_text(run.reasons[i]));
        out += "</li>\n";
    }
    out += "</ol>\n";
}

} // namespace

std::string html_report(const RunRecord& run, const ChartOptions& options) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += format_text("<title>%s: %s</title>\n<style>\n%s</style>\n</head>\n<body>\n",
                       picture_title, xml_text(shown_file_name(run)), style);
    out +=
        format_text("<h1>%s</h1>\n<p>Arquivo: %s &middot; quantum %d &middot; %d processos "
                    "&middot; tempo total %d</p>\n",
                    xml_text(options.title.value_or(picture_title)), xml_text(shown_file_name(run)),
                    run.quantum, static_cast<std::int64_t>(run.processes.size()), run.total_time);
    out += format_text("<p>Regras: %s</p>\n", xml_text(rules_summary(run, true)));
    if (const std::string stop = stop_sentence(run); !stop.empty())
        out += format_text("<p class=\"parou\">%s</p>\n", xml_text(stop));
    append_table(out, run);
    append_averages(out, run);
    out += "<h2>Gráfico de Gantt</h2>\n";
    out += svg_gantt(run, false, options);
    append_events(out, run);
    out += "</body>\n</html>\n";
    return out;
}

} // namespace mlfq
