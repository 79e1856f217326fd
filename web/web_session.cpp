#include "web/web_session.h"

#include "model/endless_run.h"
#include "model/lists.h"
#include "model/rule_table.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"
#include "report/html_report.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/report_texts.h"
#include "report/svg_gantt.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <nlohmann/json.hpp>

namespace mlfq {

namespace {

constexpr const char* page_file_name = "processo.txt";

} // namespace

std::optional<LoadError> WebSession::load(std::string workload,
                                          const std::vector<std::string>& words) {
    SchedulingRules rules;
    if (auto problem = rules_from_words(words, rules))
        return LoadError{0, *problem};
    reset_scheduler();
    if (auto error = set_up_simulation(workload, rules)) {
        loaded_ = false;
        return LoadError{error->line, error->message};
    }
    workload_ = std::move(workload);
    rules_ = rules;
    decoder_ = KeyDecoder();
    codes_.clear();
    loaded_ = true;
    rebuild(0);
    return std::nullopt;
}

void WebSession::rebuild(std::size_t key_count) {
    std::vector<int> codes(codes_.begin(), codes_.begin() + static_cast<std::ptrdiff_t>(key_count));
    codes_.clear();
    step_starts_.clear();
    session_.reset();
    recorder_.reset();
    reset_scheduler();
    set_up_simulation(workload_, rules_); // loaded before: it loads again
    record_ = RunRecord{};
    record_.file = page_file_name;
    recorder_ = std::make_unique<RunRecorder>(record_, true); // the page shows every reason
    last_step_events_ = 0;
    console_.bytes.clear();
    session_ = std::make_unique<Session>(console_, recorder_.get());
    session_->start();
    for (int code : codes)
        feed(code);
}

void WebSession::feed(int code) {
    if (!loaded_ || session_->ended())
        return;
    if (session_->waiting() == Session::Waiting::menu && code == 'c') {
        step_starts_.push_back(codes_.size());
        last_step_events_ = record_.events.size();
    }
    codes_.push_back(code);
    session_->key(code);
}

void WebSession::keys(std::string_view bytes) {
    KeyCodes codes;
    for (char byte : bytes)
        decoder_.feed(static_cast<unsigned char>(byte), codes);
    for (int code : codes)
        feed(code);
}

void WebSession::pause(int ms) {
    KeyCodes codes;
    decoder_.pause(ms, codes);
    for (int code : codes)
        feed(code);
}

std::optional<int> WebSession::status() const {
    if (loaded_ && session_->ended())
        return 0;
    return std::nullopt;
}

void WebSession::back() {
    if (!loaded_ || step_starts_.empty())
        return;
    rebuild(step_starts_.back());
}

void WebSession::run(std::int64_t steps) {
    if (!loaded_)
        return;
    std::int64_t without_work = 0;
    while (!session_->ended()) {
        if (session_->waiting() != Session::Waiting::menu) {
            feed(key_tab); // a TAB pause, or back from a listing
            continue;
        }
        if (steps == 0 || simulation_complete() || without_work > endless_window())
            return;
        const std::int64_t work = scheduler.work_done;
        feed('c');
        without_work = scheduler.work_done == work ? without_work + 1 : 0;
        if (steps > 0)
            steps -= 1;
    }
}

std::string WebSession::chart_so_far() const {
    if (!loaded_)
        return {};
    return svg_gantt(recorder_->snapshot(scheduler), false);
}

namespace {

nlohmann::ordered_json process_json(const Process* p, const char* place, int queue) {
    nlohmann::ordered_json bursts = nlohmann::ordered_json::array();
    for (const Burst* b = first(p->bursts); b != nullptr; b = b->next)
        bursts.push_back({b->cpu, b->io});
    nlohmann::ordered_json entry{{"nome", to_utf8(p->name)}, {"onde", place}};
    if (queue > 0)
        entry["fila"] = queue;
    entry["chegada"] = p->arrival;
    entry["surtos"] = std::move(bursts);
    return entry;
}

} // namespace

std::string WebSession::state_json() const {
    using Json = nlohmann::ordered_json;
    Json places = Json::array();
    if (loaded_) {
        if (scheduler.running != nullptr)
            places.push_back(process_json(scheduler.running, "cpu", scheduler.level + 1));
        for (int level = 0; level < scheduler.rules.queues; ++level) {
            for (const Process* p = first(scheduler.ready[level]); p != nullptr; p = p->next)
                places.push_back(process_json(p, "pronto", level + 1));
        }
        for (const Process* p = first(scheduler.io_queue); p != nullptr; p = p->next)
            places.push_back(process_json(p, "io", 0));
        for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next)
            places.push_back(process_json(p, "nao_chegou", 0));
    }
    Json processes = Json::array();
    if (loaded_) {
        const RunRecord so_far = recorder_->snapshot(scheduler);
        for (const ProcessRecord& p : so_far.processes) {
            const auto value = [](const std::optional<std::int64_t>& v) {
                return v ? Json(*v) : Json(nullptr);
            };
            processes.push_back({{"nome", p.utf8_name},
                                 {"chegada", p.arrival},
                                 {"primeiro_despacho", value(p.first_dispatch)},
                                 {"pronto", p.ready_steps},
                                 {"termino", value(p.end)},
                                 {"turnaround", value(p.turnaround())}});
        }
    }
    // The last clock step's events, each with its reason.
    Json events = Json::array();
    for (std::size_t i = last_step_events_; loaded_ && i < record_.events.size(); ++i)
        events.push_back({{"texto", event_line(record_, record_.events[i])},
                          {"motivo", i < record_.reasons.size() ? std::string(record_.reasons[i])
                                                                : std::string()}});
    const Json state{{"tempo", loaded_ ? scheduler.clock : 0},
                     {"passos", loaded_ ? session_->steps() : 0},
                     {"esperando", !loaded_                                           ? "nada"
                                   : session_->ended()                                ? "fim"
                                   : session_->waiting() == Session::Waiting::tab     ? "tab"
                                   : session_->waiting() == Session::Waiting::listing ? "listagem"
                                                                                      : "menu"},
                     {"completa", loaded_ && simulation_complete()},
                     {"onde", std::move(places)},
                     {"eventos", std::move(events)},
                     {"processos", std::move(processes)}};
    return state.dump(-1, ' ', false, Json::error_handler_t::replace);
}

std::string WebSession::whole_run(int format) {
    if (!loaded_)
        return {};
    const std::size_t keys_fed = codes_.size();
    session_.reset();
    recorder_.reset();
    reset_scheduler();
    set_up_simulation(workload_, rules_);
    const RunRecord run = run_report(page_file_name, std::nullopt, nullptr, format != 1);
    std::string out = format == 0   ? json_report(run)
                      : format == 1 ? svg_gantt(run, true)
                                    : html_report(run);
    rebuild(keys_fed);
    return out;
}

std::string WebSession::command_line() const {
    return rules_command_line(rules_);
}

} // namespace mlfq
