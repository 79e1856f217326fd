#include "report/json_report.h"

#include "model/rule_table.h"
#include "report/report_texts.h"
#include "util/byte_text.h"

#include <nlohmann/json.hpp>

namespace mlfq {

namespace {

using Json = nlohmann::ordered_json;

Json number_or_null(const std::optional<std::int64_t>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json process_json(const ProcessRecord& p) {
    Json timeline = Json::array();
    for (const Segment& s : p.timeline)
        timeline.push_back(Json::array({s.from, s.to, std::string(1, s.state)}));
    return Json{{"nome", to_utf8(p.name)},
                {"chegada", p.arrival},
                {"extra", p.extra},
                {"primeiro_despacho", number_or_null(p.first_dispatch)},
                {"espera", number_or_null(p.wait())},
                {"termino", number_or_null(p.end)},
                {"turnaround", number_or_null(p.turnaround())},
                {"cpu", p.cpu},
                {"io", p.io},
                {"pronto", p.ready_steps},
                {"linha_do_tempo", std::move(timeline)}};
}

Json event_json(const RunRecord& run, const EventRecord& e) {
    Json event{{"tempo", e.clock}, {"evento", event_key(e.kind)}};
    if (e.process >= 0)
        event["processo"] = to_utf8(run.processes[static_cast<std::size_t>(e.process)].name);
    if (e.queue > 0)
        event["fila"] = e.queue;
    return event;
}

// Compact, and valid UTF-8 whatever it holds.
std::string dump(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

// One array as a line per element, so that the document reads and diffs well; each
// element is made and written in turn, so that only the text grows with the run.
template <class Items, class MakeJson>
void append_array(std::string& out, const char* key, const Items& items, MakeJson make) {
    out += ",\n \"";
    out += key;
    out += "\": [";
    bool first_item = true;
    for (const auto& item : items) {
        out += first_item ? "\n  " : ",\n  ";
        first_item = false;
        out += dump(make(item));
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
    const Json head{{"arquivo", to_utf8(run.file)},
                    {"quantum", run.quantum},
                    {"regras", rules},
                    {"tempo_total", run.total_time},
                    {"completa", run.stop == StopReason::complete},
                    {"media_espera", run.average_wait()},
                    {"uso_cpu", run.cpu_busy_steps}};
    std::string out = "{";
    bool first_key = true;
    for (const auto& [key, value] : head.items()) {
        out += first_key ? "" : ",\n ";
        first_key = false;
        out += dump(Json(key)) + ": " + dump(value);
    }
    append_array(out, "processos", run.processes, process_json);
    append_array(out, "eventos", run.events,
                 [&](const EventRecord& e) { return event_json(run, e); });
    out += "}\n";
    return out;
}

} // namespace mlfq
