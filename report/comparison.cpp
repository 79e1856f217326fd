#include "report/comparison.h"

#include "report/json_report.h"
#include "report/svg_gantt.h"
#include "report/text_gantt.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <algorithm>
#include <array>

namespace mlfq {

namespace {

// The measures of a run, a row of the table: its label and each run's value.
struct Row {
    const char* label;
    const char* accented;
    std::vector<std::string> values;
};

std::vector<Row> measure_rows(const std::vector<RunRecord>& runs) {
    std::vector<Row> rows = {
        {"Resposta media", "Resposta média", {}},     {"Pronto medio", "Pronto médio", {}},
        {"Turnaround medio", "Turnaround médio", {}}, {"Uso da CPU", "Uso da CPU", {}},
        {"Tempo total", "Tempo total", {}},           {"Completa", "Completa", {}}};
    for (const RunRecord& run : runs) {
        const Measures m = measures(run);
        rows[0].values.push_back(m.response.value_or("-"));
        rows[1].values.push_back(m.ready.value_or("-"));
        rows[2].values.push_back(m.turnaround.value_or("-"));
        rows[3].values.push_back(run.total_time == 0
                                     ? std::string("-")
                                     : two_decimals(run.cpu_busy_steps, run.total_time, 100) + "%");
        rows[4].values.push_back(format_text("%d", run.total_time));
        rows[5].values.push_back(run.stop == StopReason::complete ? "sim" : "nao");
    }
    return rows;
}

std::int64_t longest(const std::vector<RunRecord>& runs) {
    std::int64_t steps = 1;
    for (const RunRecord& run : runs)
        steps = std::max(steps, run.total_time);
    return steps;
}

ChartOptions one_axis(const std::vector<RunRecord>& runs, const ChartOptions& options,
                      std::size_t index) {
    ChartOptions each = options;
    each.to = options.to.value_or(longest(runs));
    each.title = format_text("Regras %d", static_cast<std::int64_t>(index + 1));
    return each;
}

} // namespace

std::string comparison_text(const std::vector<RunRecord>& runs, int width) {
    std::string out = format_text("%s: comparacao de %d conjuntos de regras\nArquivo   : %s\n",
                                  report_title, static_cast<std::int64_t>(runs.size()),
                                  runs.empty() ? std::string() : shown_file_name(runs.front()));
    for (std::size_t i = 0; i < runs.size(); ++i)
        out += format_text("Regras %d  : %s\n", static_cast<std::int64_t>(i + 1),
                           rules_summary(runs[i]));
    out += "\nMedidas (resposta: primeiro despacho - chegada; pronto: passos esperando em filas "
           "de prontos; turnaround: termino - chegada)\n";
    const std::vector<Row> rows = measure_rows(runs);
    std::size_t column = 8;
    for (const Row& row : rows)
        for (const std::string& v : row.values)
            column = std::max(column, v.size());
    std::string head(18, ' ');
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const std::string name = format_text("Regras %d", static_cast<std::int64_t>(i + 1));
        head += "  " + std::string(column - std::min(column, name.size()), ' ') + name;
    }
    out += head + "\n";
    for (const Row& row : rows) {
        std::string line = row.label;
        line.resize(18, ' ');
        for (const std::string& v : row.values)
            line += "  " + std::string(column - v.size(), ' ') + v;
        out += line + "\n";
    }
    for (std::size_t i = 0; i < runs.size(); ++i) {
        out += format_text("\nGrafico de Gantt, regras %d: %s\n", static_cast<std::int64_t>(i + 1),
                           rules_summary(runs[i]));
        out += text_gantt(runs[i], width);
        if (const std::string stop = stop_sentence(runs[i]); !stop.empty())
            out += stop + "\n";
    }
    return out;
}

std::string comparison_json(const std::vector<RunRecord>& runs) {
    std::string out = "{\"comparacao\": [\n";
    for (std::size_t i = 0; i < runs.size(); ++i) {
        std::string document = json_report(runs[i]);
        if (document.ends_with('\n'))
            document.pop_back();
        out += document;
        out += i + 1 < runs.size() ? ",\n" : "\n";
    }
    out += "]}\n";
    return out;
}

std::string comparison_svg(const std::vector<RunRecord>& runs, bool standalone,
                           const ChartOptions& options) {
    double width = 0, height = 40;
    std::string inner;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        const ChartOptions each = one_axis(runs, options, i);
        const PictureSize size = svg_gantt_size(runs[i], each);
        inner +=
            format_text("<g transform=\"translate(0 %d)\">\n", static_cast<std::int64_t>(height));
        inner += svg_gantt(runs[i], false, each);
        inner += "</g>\n";
        width = std::max(width, size.width);
        height += size.height;
    }
    const auto w = static_cast<std::int64_t>(width), h = static_cast<std::int64_t>(height);
    std::string out = standalone ? "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n" : "";
    out += format_text("<svg %swidth=\"%d\" height=\"%d\" viewBox=\"0 0 %d %d\" "
                       "font-family=\"DejaVu Sans, Verdana, sans-serif\" role=\"img\">\n",
                       standalone ? "xmlns=\"http://www.w3.org/2000/svg\" " : "", w, h, w, h);
    const std::string title = options.title.value_or(runs.empty() ? std::string(picture_title)
                                                                  : picture_heading(runs.front()) +
                                                                        ": comparação de regras");
    out +=
        format_text("<title>%s</title>\n<rect width=\"100%%\" height=\"100%%\" fill=\"#FFFFFF\"/>\n"
                    "<text x=\"10\" y=\"24\" font-size=\"16\" font-weight=\"bold\">%s</text>\n",
                    xml_text(title), xml_text(title));
    out += inner + "</svg>\n";
    return out;
}

std::string comparison_html(const std::vector<RunRecord>& runs, const ChartOptions& options) {
    std::string out = "<!DOCTYPE html>\n<html lang=\"pt-BR\">\n<head>\n<meta charset=\"utf-8\">\n";
    out += format_text(
        "<title>%s: comparação</title>\n<style>\nbody{font-family:\"DejaVu Sans\",Verdana,"
        "sans-serif;margin:24px;color:#222}table{border-collapse:collapse}td,th{border:"
        "1px solid #bbb;padding:3px 8px}td.n{text-align:right}th{background:#eee}\n"
        "</style>\n</head>\n<body>\n",
        picture_title);
    out += format_text("<h1>%s: comparação de %d conjuntos de regras</h1>\n",
                       xml_text(options.title.value_or(picture_title)),
                       static_cast<std::int64_t>(runs.size()));
    if (!runs.empty())
        out += format_text("<p>Arquivo: %s</p>\n", xml_text(shown_file_name(runs.front())));
    out += "<ol>\n";
    for (const RunRecord& run : runs)
        out += format_text("<li>%s</li>\n", xml_text(rules_summary(run, true)));
    out += "</ol>\n<h2>Medidas lado a lado</h2>\n<p>Resposta: primeiro despacho - chegada; "
           "pronto: passos esperando em filas de prontos; turnaround: término - chegada.</p>\n"
           "<table>\n<tr><th></th>";
    for (std::size_t i = 0; i < runs.size(); ++i)
        out += format_text("<th>Regras %d</th>", static_cast<std::int64_t>(i + 1));
    out += "</tr>\n";
    for (const Row& row : measure_rows(runs)) {
        out += format_text("<tr><th>%s</th>", row.accented);
        for (const std::string& v : row.values)
            out += format_text("<td class=\"n\">%s</td>", v == "nao" ? "não" : v);
        out += "</tr>\n";
    }
    out += "</table>\n<h2>Gráficos de Gantt, no mesmo eixo</h2>\n";
    for (std::size_t i = 0; i < runs.size(); ++i)
        out += "<div class=\"grafico\">\n" + svg_gantt(runs[i], false, one_axis(runs, options, i)) +
               "</div>\n";
    out += "</body>\n</html>\n";
    return out;
}

} // namespace mlfq
