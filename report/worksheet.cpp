#include "report/worksheet.h"

#include "report/report_texts.h"
#include "report/svg_gantt.h"
#include "util/text_format.h"

namespace mlfq {

namespace {

constexpr const char* style =
    R"(@page{size:A4 landscape;margin:12mm}
body{font-family:"DejaVu Sans",Verdana,sans-serif;color:#000;margin:16px}
h1{font-size:20px}h2{font-size:15px;margin-top:18px}
table{border-collapse:collapse}td,th{border:1px solid #000;padding:3px 7px}
td.n{text-align:right}
table.grade td{width:14px;height:20px;padding:0}
table.grade td.nome{width:auto;padding:0 6px}
table.grade td.marca{border-left:2px solid #000}
table.grade th{font-size:10px;font-weight:normal;padding:0;border:none}
table.preencher td{width:90px;height:22px}
)";

} // namespace

std::int64_t worksheet_columns(const RunRecord& run) {
    return (run.total_time + 5 + 9) / 10 * 10;
}

std::string worksheet_html(const RunRecord& run) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += format_text("<title>Exerc\xc3\xad"
                       "cio: %s</title>\n<style>\n%s</style>\n</head>\n<body>\n",
                       xml_text(shown_file_name(run)), style);
    out += "<h1>Exerc\xc3\xad"
           "cio de escalonamento: m\xc3\xba"
           "ltiplas filas com "
           "realimenta\xc3\xa7\xc3\xa3o</h1>\n";
    out += "<p>Nome: ______________________________________ &nbsp; Data: ____/____/______</p>\n";
    out += format_text("<h2>Regras</h2>\n<p>%s.</p>\n<p>Quantum de cada fila:",
                       xml_text(rules_summary(run)));
    for (std::size_t q = 0; q < run.queue_quanta.size(); ++q)
        out += format_text(" fila %d: %d%s", static_cast<std::int64_t>(q + 1), run.queue_quanta[q],
                           q + 1 < run.queue_quanta.size() ? ";" : ".");
    out += "</p>\n<h2>Carga</h2>\n<table>\n<tr><th>Processo</th><th>Chegada</th>"
           "<th>Surtos, em ordem (CPU, depois IO)</th></tr>\n";
    for (const ProcessRecord& p : run.processes) {
        std::string bursts;
        for (std::size_t b = 0; b < p.bursts.size(); ++b) {
            bursts += format_text("%sCPU %d", b == 0 ? "" : ", ", p.bursts[b][0]);
            if (b + 1 < p.bursts.size())
                bursts += format_text(", IO %d", p.bursts[b][1]);
        }
        out += format_text("<tr><td>%s</td><td class=\"n\">%d</td><td>%s</td></tr>\n",
                           xml_text(p.utf8_name), p.arrival, bursts);
    }
    const std::int64_t columns = worksheet_columns(run);
    out += "</table>\n<h2>Gr\xc3\xa1"
           "fico de Gantt</h2>\n<p>Em cada unidade de tempo, marque "
           "quem est\xc3\xa1 na CPU (o n\xc3\xbamero da fila de onde saiu), \"i\" em IO e "
           "\".\" esperando pronto.</p>\n<table class=\"grade\">\n<tr><th></th>";
    for (std::int64_t t = 0; t < columns; ++t)
        out += t % 5 == 0 ? format_text("<th>%d</th>", t) : std::string("<th></th>");
    out += "</tr>\n";
    for (const ProcessRecord& p : run.processes) {
        out += format_text("<tr><td class=\"nome\">%s</td>", xml_text(p.utf8_name));
        for (std::int64_t t = 0; t < columns; ++t)
            out += t % 5 == 0 ? "<td class=\"marca\"></td>" : "<td></td>";
        out += "</tr>\n";
    }
    out += "</table>\n<h2>Tabela</h2>\n<table class=\"preencher\">\n<tr><th>Processo</th>"
           "<th>Primeiro despacho</th><th>Espera (resposta)</th><th>Turnaround</th></tr>\n";
    for (const ProcessRecord& p : run.processes)
        out +=
            format_text("<tr><td>%s</td><td></td><td></td><td></td></tr>\n", xml_text(p.utf8_name));
    out += "<tr><th>M\xc3\xa9"
           "dias</th><td></td><td></td><td></td></tr>\n</table>\n"
           "</body>\n</html>\n";
    return out;
}

} // namespace mlfq
