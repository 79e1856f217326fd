#include "report/report_texts.h"

#include "model/event_text.h"
#include "model/rule_table.h"
#include "util/byte_text.h"
#include "util/text_format.h"

namespace mlfq {

std::string shown_file_name(const RunRecord& run) {
    return printable_text(to_utf8(run.file));
}

const char* event_key(EventKind kind) {
    switch (kind) {
    case EventKind::arrival:
        return "chegada";
    case EventKind::dispatch:
        return "despacho";
    case EventKind::slice_expired:
        return "fim_de_fatia";
    case EventKind::io_start:
        return "inicio_io";
    case EventKind::io_end:
    case EventKind::io_end_to_queue:
        return "fim_io";
    case EventKind::termination:
        return "termino";
    case EventKind::preemption:
        return "preempcao";
    case EventKind::boost:
        return "boost";
    }
    return "";
}

std::string event_line(const RunRecord& run, const EventRecord& event) {
    const char* name =
        event.process >= 0
            ? run.processes[static_cast<std::size_t>(event.process)].utf8_name.c_str()
            : "";
    std::string text = event_text(event.kind, name, event.clock, event.queue);
    const std::size_t start = text.find_first_not_of('\n');
    const std::size_t end = text.find_last_not_of(' ');
    if (start == std::string::npos || end == std::string::npos || end < start)
        return {};
    text.erase(end + 1);
    text.erase(0, start);
    return text;
}

std::string stop_sentence(const RunRecord& run) {
    switch (run.stop) {
    case StopReason::complete:
        return {};
    case StopReason::time_limit:
        return format_text("A simulacao parou no tempo %d, o limite pedido com --ate, antes "
                           "de todos os processos terminarem.",
                           run.total_time);
    case StopReason::never_ends:
        return format_text("A simulacao parou no tempo %d sem terminar: esta carga nunca "
                           "termina. Todos ja tinham chegado e passaram-se mais de %d passos "
                           "sem trabalho nenhum (nenhuma unidade de CPU ou de IO, nenhum surto "
                           "removido), o que nenhuma carga que termina faz: numa fila de "
                           "quantum 1 a fatia acaba no primeiro tique, sem progresso.",
                           run.total_time, run.stop_limit);
    }
    return {};
}

std::string picture_heading(const RunRecord& run) {
    bool same = true;
    for (std::int32_t q : run.queue_quanta)
        same = same && q == run.queue_quanta.front();
    std::string text = format_text("%s: %s, ", picture_title, shown_file_name(run));
    if (same)
        return text + format_text("quantum %d", run.quantum);
    text += "quantum por fila ";
    for (std::size_t i = 0; i < run.queue_quanta.size(); ++i) {
        if (i > 0)
            text += ", ";
        text += format_text("%d", run.queue_quanta[i]);
    }
    return text;
}

std::string accented_label(const char* label) {
    const std::string_view l = label;
    if (l == "Tempo medio de espera")
        return "Tempo médio de espera";
    if (l == "Resposta media")
        return "Resposta média";
    if (l == "Pronto medio")
        return "Pronto médio";
    if (l == "Turnaround medio")
        return "Turnaround médio";
    return std::string(l);
}

std::string rules_summary(const RunRecord& run, bool accents) {
    std::string text = format_text("%d %s, quantum ", static_cast<std::int64_t>(run.rules.queues),
                                   run.rules.queues == 1 ? "fila" : "filas");
    bool same = true;
    for (std::int32_t q : run.queue_quanta)
        same = same && q == run.queue_quanta.front();
    if (same) {
        text += format_text("%d em todas",
                            run.queue_quanta.empty() ? run.quantum : run.queue_quanta.front());
    } else {
        for (std::size_t i = 0; i < run.queue_quanta.size(); ++i) {
            if (i > 0)
                text += ',';
            text += format_text("%d", run.queue_quanta[i]);
        }
        text += " por fila";
    }
    bool any = false;
    for (const RuleSpec& rule : rule_table()) {
        const std::int64_t value = rule.get(run.rules);
        if (rule.words == nullptr || value == 0)
            continue;
        any = true;
        text += ", ";
        const FormatArg number(value); // the words of a period hold its %d
        format_into(text, accents ? rule.picture_words : rule.words,
                    std::span(&number, rule.value == RuleValue::period ? 1 : 0));
    }
    if (!any)
        text += accents ? ", sem preempção nem boost" : ", sem preempcao nem boost";
    return text;
}

std::string legend(const RunRecord& run) {
    return format_text("1-%d: na CPU (despachado da fila de mesmo numero); i: em IO; .: pronto, "
                       "esperando; em branco: ainda nao chegou ou ja terminou",
                       static_cast<std::int64_t>(run.rules.queues));
}

namespace {

std::string number_or_dash(const std::optional<std::int64_t>& value) {
    return value ? format_text("%d", *value) : "-";
}

} // namespace

ProcessCells process_cells(const ProcessRecord& p) {
    return {p.utf8_name,
            format_text("%d", p.arrival),
            format_text("%d", p.extra),
            number_or_dash(p.first_dispatch),
            number_or_dash(p.wait()),
            number_or_dash(p.end),
            number_or_dash(p.turnaround()),
            format_text("%d", p.cpu),
            format_text("%d", p.io),
            format_text("%d", p.ready_steps)};
}

Measures measures(const RunRecord& run) {
    if (run.finished_count == 0)
        return {};
    std::int64_t response = 0, ready = 0, turnaround = 0;
    for (const ProcessRecord& p : run.processes) {
        if (!p.end)
            continue;
        response += p.wait().value_or(0);
        ready += p.ready_steps;
        turnaround += *p.turnaround();
    }
    return {two_decimals(response, run.finished_count), two_decimals(ready, run.finished_count),
            two_decimals(turnaround, run.finished_count)};
}

std::vector<LabelledValue> averages(const RunRecord& run) {
    std::vector<LabelledValue> items;
    if (run.finished_count == 0) {
        items.push_back({"Tempo medio de espera", "0 (nenhum processo terminou)"});
    } else {
        std::int64_t turnaround_sum = 0;
        for (const ProcessRecord& p : run.processes)
            turnaround_sum += p.turnaround().value_or(0);
        items.push_back(
            {"Tempo medio de espera", format_text("%d (%s)", run.average_wait(),
                                                  two_decimals(run.wait_sum, run.finished_count))});
        const Measures m = measures(run);
        items.push_back({"Resposta media", *m.response +
                                               " (primeiro despacho - chegada: o que a tela "
                                               "chama de espera)"});
        items.push_back({"Pronto medio", *m.ready + " (passos esperando nas filas de prontos, da "
                                                    "chegada ao termino)"});
        items.push_back(
            {"Turnaround medio",
             format_text("%s (%d processos terminados)",
                         two_decimals(turnaround_sum, run.finished_count), run.finished_count)});
    }
    items.push_back(
        {"Uso da CPU", run.total_time == 0
                           ? std::string("- (nenhum passo)")
                           : format_text("%s%% (%d de %d passos)",
                                         two_decimals(run.cpu_busy_steps, run.total_time, 100),
                                         run.cpu_busy_steps, run.total_time)});
    return items;
}

std::string two_decimals(std::int64_t n, std::int64_t d, std::int64_t scale) {
    __extension__ using wide = __int128;
    const wide hundredths = (wide{n} * scale * 100 + d / 2) / d;
    const auto whole = static_cast<std::int64_t>(hundredths / 100);
    const auto cents = static_cast<std::int64_t>(hundredths % 100);
    return format_text("%d.%02d", whole, cents);
}

} // namespace mlfq
