#include "report/json_report.h"

#include "model/rule_table.h"
#include "report/report_texts.h"
#include "util/byte_text.h"

#include <nlohmann/json.hpp>

#include <string>
#include <vector>

namespace mlfq {

namespace {

using Json = nlohmann::ordered_json;

// Compact, and valid UTF-8 whatever it holds.
std::string dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

void append_number(std::string& out, std::int64_t value) {
    char digits[24];
    char* const end = digits + sizeof digits;
    char* at = end;
    std::uint64_t magnitude =
        value < 0 ? 0 - static_cast<std::uint64_t>(value) : static_cast<std::uint64_t>(value);
    do {
        *--at = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0)
        *--at = '-';
    out.append(at, static_cast<std::size_t>(end - at));
}

// A literal's bytes at once, its length known when compiled.
template <std::size_t N>
void put(std::string& out, const char (&literal)[N]) {
    out.append(literal, N - 1);
}

void append_number_or_null(std::string& out, const std::optional<std::int64_t>& value) {
    if (value)
        append_number(out, *value);
    else
        out += "null";
}

// The processes' names as JSON strings, escaped once each.
std::vector<std::string> json_names(const RunRecord& run) {
    std::vector<std::string> names;
    names.reserve(run.processes.size());
    for (const ProcessRecord& p : run.processes)
        names.push_back(dump(Json(p.utf8_name)));
    return names;
}

// One process, written as nlohmann would dump its object.
void append_process(std::string& out, const ProcessRecord& p, const std::string& name) {
    put(out, "{\"nome\":");
    out += name;
    put(out, ",\"chegada\":");
    append_number(out, p.arrival);
    put(out, ",\"extra\":");
    append_number(out, p.extra);
    put(out, ",\"primeiro_despacho\":");
    append_number_or_null(out, p.first_dispatch);
    put(out, ",\"espera\":");
    append_number_or_null(out, p.wait());
    put(out, ",\"resposta\":");
    append_number_or_null(out, p.wait());
    put(out, ",\"termino\":");
    append_number_or_null(out, p.end);
    put(out, ",\"turnaround\":");
    append_number_or_null(out, p.turnaround());
    put(out, ",\"cpu\":");
    append_number(out, p.cpu);
    put(out, ",\"io\":");
    append_number(out, p.io);
    put(out, ",\"pronto\":");
    append_number(out, p.ready_steps);
    put(out, ",\"linha_do_tempo\":[");
    for (std::size_t i = 0; i < p.timeline.size(); ++i) {
        const Segment& segment = p.timeline[i];
        out += i == 0 ? "[" : ",[";
        append_number(out, segment.from);
        out += ',';
        append_number(out, segment.to);
        put(out, ",\"");
        out += segment.state; // a digit, 'i' or '.'
        put(out, "\"]");
    }
    put(out, "]}");
}

void append_event(std::string& out, const EventRecord& e, const std::vector<std::string>& names,
                  const std::string_view* reason) {
    put(out, "{\"tempo\":");
    append_number(out, e.clock);
    put(out, ",\"evento\":\"");
    out += event_key(e.kind); // plain ASCII
    out += '"';
    if (e.process >= 0) {
        put(out, ",\"processo\":");
        out += names[static_cast<std::size_t>(e.process)];
    }
    if (e.queue > 0) {
        put(out, ",\"fila\":");
        append_number(out, e.queue);
    }
    if (reason != nullptr) {
        put(out, ",\"motivo\":");
        out += dump(Json(std::string(*reason)));
    }
    out += '}';
}

// One array as a line per element, so that the document reads and diffs well; written
// straight into the text, element by element.
template <class Items, class Append>
void append_array(std::string& out, const char* key, const Items& items, Append append) {
    out += ",\n \"";
    out += key;
    out += "\": [";
    bool first_item = true;
    for (const auto& item : items) {
        out += first_item ? "\n  " : ",\n  ";
        first_item = false;
        append(item);
    }
    out += first_item ? "]" : "\n ]";
}

} // namespace

std::string json_report(const RunRecord& run) {
    Json rules = Json::object();
    for (const RuleSpec& rule : rule_table()) {
        const std::int64_t value = rule.get(run.rules);
        if (rule.value == RuleValue::list)
            rules[rule.json_key] = run.queue_quanta;
        else if (rule.value == RuleValue::flag)
            rules[rule.json_key] = value != 0;
        else
            rules[rule.json_key] = value;
    }
    const Measures m = measures(run);
    const auto mean = [](const std::optional<std::string>& value) {
        return value.value_or("null");
    };
    const std::pair<const char*, std::string> head[] = {
        {"arquivo", dump(Json(to_utf8(run.file)))},
        {"quantum", dump(Json(run.quantum))},
        {"regras", dump(rules)},
        {"tempo_total", dump(Json(run.total_time))},
        {"completa", dump(Json(run.stop == StopReason::complete))},
        {"media_espera", dump(Json(run.average_wait()))},
        {"media_resposta", mean(m.response)},
        {"media_pronto", mean(m.ready)},
        {"media_turnaround", mean(m.turnaround)},
        {"uso_cpu", dump(Json(run.cpu_busy_steps))}};
    std::string out = "{";
    bool first_key = true;
    for (const auto& [key, value] : head) {
        out += first_key ? "\"" : ",\n \"";
        first_key = false;
        out += key;
        out += "\": " + value;
    }
    const std::vector<std::string> names = json_names(run);
    out.reserve(out.size() + run.events.size() * 64 + run.processes.size() * 160);
    std::size_t index = 0;
    append_array(out, "processos", run.processes,
                 [&](const ProcessRecord& p) { append_process(out, p, names[index++]); });
    append_array(out, "eventos", run.events, [&](const EventRecord& e) {
        const std::size_t i = static_cast<std::size_t>(&e - run.events.data());
        const std::string_view reason = i < run.reasons.size() ? run.reasons[i] : std::string_view();
        append_event(out, e, names, i < run.reasons.size() ? &reason : nullptr);
    });
    out += "}\n";
    return out;
}

} // namespace mlfq
