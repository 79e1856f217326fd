// Report mode's run: the state of every process in every step, the JSON document, and
// where a run stops.
#include "model/clock_step.h"
#include "model/lists.h"
#include "model/scheduler_state.h"
#include "model/simulation.h"
#include "report/comparison.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/report_texts.h"
#include "report/svg_gantt.h"
#include "report/text_report.h"
#include "report/worksheet.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

namespace mlfq::testing {
namespace {

// The run of a workload that must load, stopped at `until` if given.
RunRecord run_of(std::string_view workload, std::optional<std::int64_t> until = {},
                 const SchedulingRules& rules = {}) {
    const auto error = set_up_simulation(workload, rules);
    EXPECT_FALSE(error.has_value()) << error->message;
    RunRecord run = run_report("processo.txt", until);
    reset_scheduler();
    return run;
}

// A process's states step by step, blank where it has none, up to the end of the run.
std::string states(const RunRecord& run, std::size_t process) {
    std::string line(static_cast<std::size_t>(run.total_time), ' ');
    for (const Segment& s : run.processes.at(process).timeline) {
        for (std::int64_t t = s.from; t < s.to; ++t)
            line.at(static_cast<std::size_t>(t)) = s.state;
    }
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

TEST(Report, StatesOfTheSchedulingEdgeCases) {
    struct Case {
        const char* title;
        const char* workload;
        std::vector<std::string> rows; // in file order
    };
    const Case cases[] = {
        {"quantum 4, burst 3: terminating holds the CPU one more step",
         "4\nA 0 0 1\n3\n",
         {"1111"}},
        {"quantum 3, burst 5: the digit is the queue it was dispatched from",
         "3\nA 0 0 1\n5\n",
         {"11122233"}},
        {"quantum 0 with I/O: starting I/O shows the digit, then i until it ends",
         "0\nA 0 0 2\n2 3\n1\n",
         {"111ii11"}},
        {"two I/O phases ending together",
         "9\nX 0 0 2\n1 3\n1\nY 0 0 2\n1 1\n1\n",
         {"11ii..11", "..1111"}},
        {"a single burst of 0 ends at once: one digit", "3\nB 2 0 1\n0\n", {"  1"}},
        {"an idle step: no state for anybody", "2\nA 0 0 1\n1\nB 3 0 1\n1\n", {"11", "   11"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const RunRecord run = run_of(c.workload);
        ASSERT_EQ(run.processes.size(), c.rows.size());
        for (std::size_t p = 0; p < c.rows.size(); ++p)
            EXPECT_EQ(states(run, p), c.rows[p]) << run.processes[p].name;
        EXPECT_EQ(run.stop, StopReason::complete);
    }
}

// The workload of the README, worked out by hand step by step.
TEST(Report, JsonOfAWorkedWorkload) {
    const RunRecord run = run_of("3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n");
    const auto e = [](int t, const char* kind, const char* name, int queue = 0) {
        nlohmann::json event = {{"tempo", t}, {"evento", kind}, {"processo", name}};
        if (queue > 0)
            event["fila"] = queue;
        return event;
    };
    const nlohmann::json expected = {
        {"arquivo", "processo.txt"},
        {"quantum", 3},
        {"regras",
         {{"filas", 4},
          {"quantum_fila", {3, 3, 3, 3}},
          {"preempcao", false},
          {"boost", 0},
          {"io_mantem_fila", false},
          {"cota", false},
          {"tempo_livro", false}}},
        {"tempo_total", 20},
        {"completa", true},
        {"media_espera", 1},
        {"media_resposta", 1.0},    // (0 + 2) / 2
        {"media_pronto", 6.5},      // (7 + 6) / 2
        {"media_turnaround", 16.0}, // (19 + 13) / 2
        {"uso_cpu", 20},
        {"processos",
         {{{"nome", "A"},
           {"chegada", 0},
           {"extra", 10},
           {"primeiro_despacho", 0},
           {"espera", 0},
           {"resposta", 0},
           {"termino", 19},
           {"turnaround", 19},
           {"cpu", 7},
           {"io", 2},
           {"pronto", 7},
           {"linha_do_tempo",
            {{0, 3, "1"},
             {3, 6, "."},
             {6, 9, "2"},
             {9, 12, "."},
             {12, 13, "3"},
             {13, 14, "i"},
             {14, 15, "."},
             {15, 18, "1"},
             {18, 20, "2"}}}},
          {{"nome", "B"},
           {"chegada", 1},
           {"extra", 20},
           {"primeiro_despacho", 3},
           {"espera", 2},
           {"resposta", 2},
           {"termino", 14},
           {"turnaround", 13},
           {"cpu", 5},
           {"io", 0},
           {"pronto", 6},
           {"linha_do_tempo",
            {{1, 3, "."}, {3, 6, "1"}, {6, 9, "."}, {9, 12, "2"}, {12, 13, "."}, {13, 15, "3"}}}}}},
        {"eventos",
         {e(0, "chegada", "A"), e(0, "despacho", "A", 1), e(1, "chegada", "B"),
          e(2, "fim_de_fatia", "A", 2), e(3, "despacho", "B", 1), e(5, "fim_de_fatia", "B", 2),
          e(6, "despacho", "A", 2), e(8, "fim_de_fatia", "A", 3), e(9, "despacho", "B", 2),
          e(11, "fim_de_fatia", "B", 3), e(12, "despacho", "A", 3), e(12, "inicio_io", "A"),
          e(13, "despacho", "B", 3), e(13, "fim_io", "A", 1), e(14, "termino", "B"),
          e(15, "despacho", "A", 1), e(17, "fim_de_fatia", "A", 2), e(18, "despacho", "A", 2),
          e(19, "termino", "A")}},
    };
    const std::string text = json_report(run);
    EXPECT_EQ(nlohmann::json::parse(text), expected);
    // Keys in the documented order.
    EXPECT_LT(text.find("\"arquivo\""), text.find("\"quantum\""));
    EXPECT_LT(text.find("\"uso_cpu\""), text.find("\"processos\""));
    EXPECT_LT(text.find("\"pronto\""), text.find("\"linha_do_tempo\""));
}

TEST(Report, WhereARunStops) {
    struct Case {
        const char* workload;
        std::optional<std::int64_t> until;
        StopReason stop;
        std::int64_t total_time;
    };
    const Case cases[] = {
        {"", {}, StopReason::complete, 0},
        {"5\n", {}, StopReason::complete, 0},
        {"4\nA 0 0 1\n3\n", {}, StopReason::complete, 4},
        {"4\nA 0 0 1\n3\n", 2, StopReason::time_limit, 2},
        {"4\nA 0 0 1\n3\n", 0, StopReason::time_limit, 0},
        {"4\nA 0 0 1\n3\n", 4, StopReason::complete, 4},
        // Quantum 1 with CPU time left never ends: after its arrival at 0, more than
        // 1 * (4 + 1) + 2 = 7 steps without work.
        {"1\nA 0 0 1\n2\n", {}, StopReason::never_ends, 9},
        // B arrives at 30 and terminates at once; then A alone, 8 steps without work.
        {"1\nA 0 0 1\n2\nB 30 0 1\n0\n", {}, StopReason::never_ends, 30 + 1 + 8},
        {"1\nA 0 0 1\n2\n", 5, StopReason::time_limit, 5},
        {"1\nA 0 0 2\n0 0\n0\n", {}, StopReason::complete, 2}, // only spent bursts: it ends
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.workload);
        const RunRecord run = run_of(c.workload, c.until);
        EXPECT_EQ(run.stop, c.stop);
        EXPECT_EQ(run.total_time, c.total_time);
    }
    const RunRecord never = run_of("1\nA 0 0 1\n2\n");
    EXPECT_NE(text_report(never, 80).find("nunca termina"), std::string::npos);
    EXPECT_FALSE(nlohmann::json::parse(json_report(never))["completa"].get<bool>());
}

// Random workloads under random rules: a run stopped as never ending really does not end
// (it goes on for a long while without finishing), and every run that ends is complete.
TEST(Report, ARunStoppedAsEndlessNeverEnds) {
    std::mt19937 rng(8);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int endless = 0;
    for (int round = 0; round < 400; ++round) {
        SchedulingRules rules;
        rules.queues = 1 + below(4);
        rules.quantum_per_queue = below(2) == 0;
        for (auto& q : rules.queue_quantum)
            q = below(4) - 1; // -1 to 2: quantum 1 often
        rules.preemption = below(2) == 0;
        rules.boost = below(3) == 0 ? 1 + below(12) : 0;
        rules.io_keeps_queue = below(2) == 0;
        rules.quota = below(2) == 0;
        std::string text = std::to_string(below(4)) + "\n"; // quantum 0 to 3
        for (int p = below(4) + 1; p > 0; --p) {
            const int bursts = below(3) + 1;
            text += "P " + std::to_string(below(6)) + " 0 " + std::to_string(bursts) + "\n";
            for (int b = 1; b < bursts; ++b)
                text += std::to_string(below(3)) + " " + std::to_string(below(3)) + "\n";
            text += std::to_string(below(3)) + "\n";
        }
        ASSERT_FALSE(set_up_simulation(text, rules).has_value());
        const RunRecord run = run_report("x", {});
        if (run.stop == StopReason::never_ends) {
            ++endless;
            struct Quiet final : SchedulingObserver {
                void on_event(const SchedulingEvent&) override {}
            } quiet;
            for (int i = 0; i < 3000 && !simulation_complete(); ++i)
                step(quiet);
            EXPECT_FALSE(simulation_complete()) << text;
        } else {
            EXPECT_EQ(run.stop, StopReason::complete) << text;
        }
        reset_scheduler();
    }
    EXPECT_GT(endless, 20) << "the table should hold endless runs too";
}

// The plain way to give every process its state: at each step, the process on the CPU
// when the CPU tick begins, every process on the I/O list when the I/O tick begins,
// every process on a ready queue when the step ends; the first state of a step wins.
class PerStepMarking final : public SchedulingObserver {
public:
    explicit PerStepMarking(std::size_t processes) : rows(processes) {}
    void on_event(const SchedulingEvent&) override {}
    void on_cpu_tick(const SchedulerState& state) override {
        if (state.running != nullptr)
            mark(state.running, static_cast<char>('1' + state.level), state.clock);
    }
    void on_io_tick(const SchedulerState& state) override {
        for (const Process* p = first(state.io_queue); p != nullptr; p = p->next)
            mark(p, state_io, state.clock);
    }
    void on_step_end(const SchedulerState& state) override {
        for (const Process* queue : state.ready)
            for (const Process* p = first(queue); p != nullptr; p = p->next)
                mark(p, state_ready, state.clock);
    }
    std::vector<std::string> rows; // a character per step, blank where no state

private:
    void mark(const Process* p, char state, std::int64_t clock) {
        std::string& row = rows[static_cast<std::size_t>(p->file_order)];
        if (row.size() <= static_cast<std::size_t>(clock))
            row.resize(static_cast<std::size_t>(clock) + 1, ' ');
        if (row[static_cast<std::size_t>(clock)] == ' ')
            row[static_cast<std::size_t>(clock)] = state;
    }
};

// The recorder derives waiting and I/O from the events; on random workloads under random
// rules and both timings, with zero-length work and every kind of stop, it gives what
// marking every process at every step gives.
TEST(Report, StatesFromEventsEqualStatesMarkedStepByStep) {
    std::mt19937 rng(17);
    const auto below = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng); };
    int stopped[3] = {};
    for (int round = 0; round < 1500; ++round) {
        SchedulingRules rules;
        rules.queues = 1 + below(8);
        rules.quantum_per_queue = below(2) == 0;
        for (auto& q : rules.queue_quantum)
            q = below(5) - 1;
        rules.preemption = below(2) == 0;
        rules.boost = below(3) == 0 ? 1 + below(12) : 0;
        rules.io_keeps_queue = below(2) == 0;
        rules.quota = below(2) == 0;
        rules.textbook = below(2) == 0;
        std::string text = std::to_string(below(5)) + "\n";
        const int processes = below(6) + 1;
        for (int p = processes; p > 0; --p) {
            const int bursts = below(4) + 1;
            text += "P " + std::to_string(below(10)) + " 0 " + std::to_string(bursts) + "\n";
            for (int b = 1; b < bursts; ++b)
                text += std::to_string(below(5)) + " " + std::to_string(below(4)) + "\n";
            text += std::to_string(below(5)) + "\n";
        }
        ASSERT_FALSE(set_up_simulation(text, rules).has_value());
        PerStepMarking oracle(static_cast<std::size_t>(processes));
        const std::optional<std::int64_t> until =
            below(4) == 0 ? std::optional<std::int64_t>(below(20)) : std::nullopt;
        const RunRecord run = run_report("x", until, &oracle);
        reset_scheduler();
        stopped[static_cast<int>(run.stop)] += 1;
        for (std::size_t p = 0; p < run.processes.size(); ++p) {
            std::string expected = oracle.rows[p];
            expected.erase(expected.find_last_not_of(' ') + 1);
            ASSERT_EQ(states(run, p), expected) << text << " process " << p;
            EXPECT_EQ(run.processes[p].ready_steps,
                      std::count(expected.begin(), expected.end(), state_ready));
        }
    }
    EXPECT_GT(stopped[static_cast<int>(StopReason::time_limit)], 50);
    EXPECT_GT(stopped[static_cast<int>(StopReason::never_ends)], 50);
}

TEST(Report, NamesBecomeValidUtf8AndAreEscaped) {
    // A name saved as Windows-1252, one in UTF-8, and one full of markup characters.
    const RunRecord run = run_of("3\nJo\xe3o 0 0 1\n1\nJos\xc3\xa9 0 0 1\n1\nA<&>\"' 0 0 1\n1\n");
    const nlohmann::json json = nlohmann::json::parse(json_report(run));
    EXPECT_EQ(json["processos"][0]["nome"], "Jo\xc3\xa3o");
    EXPECT_EQ(json["processos"][1]["nome"], "Jos\xc3\xa9");
    EXPECT_EQ(json["processos"][2]["nome"], "A<&>\"'");
    const std::string svg = svg_gantt(run, true);
    EXPECT_NE(svg.find(">A&lt;&amp;&gt;&quot;&#39;</text>"), std::string::npos);
    EXPECT_EQ(svg.find("A<&"), std::string::npos);
    EXPECT_EQ(to_utf8(svg), svg) << "the picture is valid UTF-8";
    const std::string text = text_report(run, 80);
    EXPECT_EQ(to_utf8(text), text);
}

TEST(ByteText, Utf8StaysAndEverythingElseIsWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "abc"},
        {"Jos\xc3\xa9", "Jos\xc3\xa9"},
        {"Jo\xe3o", "Jo\xc3\xa3o"},
        {"\x80\x93\x81", "\xe2\x82\xac\xe2\x80\x9c\xef\xbf\xbd"}, // euro, left quote, undefined
        {"\xc3", "\xc3\x83"},                                     // a cut sequence
        {"\xed\xa0\x80", "\xc3\xad\xc2\xa0\xe2\x82\xac"},         // a surrogate is not UTF-8
        {"\xf0\x9f\x98\x80", "\xf0\x9f\x98\x80"},
    };
    for (const auto& [bytes, utf8] : cases)
        EXPECT_EQ(to_utf8(bytes), utf8) << printable_text(bytes);
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// The worksheet holds the workload and the rules, and nothing of the answer.
TEST(Worksheet, NoAnswerAndAGridLongerThanTheRun) {
    const char* workloads[] = {"3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n",
                               "2\nLongo 0 0 1\n17\nCurto 3 0 2\n1 2\n1\n"};
    for (const char* workload : workloads) {
        ASSERT_FALSE(set_up_simulation(workload).has_value());
        const RunRecord run = run_report("processo.txt", {}, nullptr, true);
        reset_scheduler();
        const std::string sheet = worksheet_html(run);
        for (const EventRecord& e : run.events)
            EXPECT_EQ(sheet.find(event_line(run, e)), std::string::npos) << event_line(run, e);
        for (std::size_t i = 0; i < run.reasons.size(); ++i)
            EXPECT_EQ(sheet.find(run.reasons[i]), std::string::npos);
        for (const char* word :
             {"terminou", "despacho\"", "linha_do_tempo", "turnaround\":", "<!--"})
            EXPECT_EQ(sheet.find(word), std::string::npos) << word;
        // Every row of the fill-in table and of the grid is empty.
        std::size_t at = 0, cells = 0;
        while ((at = sheet.find("<td></td>", at)) != std::string::npos)
            ++cells, at += 9;
        const std::int64_t columns = worksheet_columns(run);
        EXPECT_GE(columns, run.total_time + 5);
        EXPECT_EQ(columns % 10, 0);
        const auto processes = static_cast<std::int64_t>(run.processes.size());
        EXPECT_EQ(static_cast<std::int64_t>(cells),
                  processes * (columns - columns / 5) + processes * 3 + 3);
        // No time of termination in a cell, unless it is also some arrival.
        for (const ProcessRecord& p : run.processes) {
            bool is_arrival = false;
            for (const ProcessRecord& q : run.processes)
                is_arrival = is_arrival || q.arrival == *p.end;
            if (!is_arrival) {
                EXPECT_EQ(sheet.find(format_text("<td class=\"n\">%d</td>", *p.end)),
                          std::string::npos);
            }
        }
    }
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// Each measure named for what it is, on worked examples: A 0..: arrival 0 first dispatch
// 0, waits 3 to 5 on a queue; B arrives at 1, first dispatch 3.
TEST(Measures, ResponseReadyAndTurnaroundWithTwoDecimals) {
    const struct {
        const char* workload;
        const char* response;
        const char* ready;
        const char* turnaround;
    } cases[] = {
        // Quantum 3: A runs 0-2 and expires, B runs 3-5 (response 2), A 6..; both end.
        {"3\nA 0 0 1\n4\nB 1 0 1\n2\n", "1.00", "2.50", "6.00"},
        {"5\nA 0 0 1\n1\nB 0 0 1\n1\nC 0 0 1\n1\n", "2.00", "2.00", "3.00"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.workload);
        const RunRecord run = run_of(c.workload);
        const nlohmann::json json = nlohmann::json::parse(json_report(run));
        EXPECT_DOUBLE_EQ(json["media_resposta"].get<double>(), std::stod(c.response));
        const std::string text = json_report(run);
        EXPECT_NE(text.find(std::string("\"media_resposta\": ") + c.response + ",\n"),
                  std::string::npos)
            << text;
        EXPECT_NE(text.find(std::string("\"media_pronto\": ") + c.ready + ",\n"),
                  std::string::npos);
        EXPECT_NE(text.find(std::string("\"media_turnaround\": ") + c.turnaround + ",\n"),
                  std::string::npos);
        EXPECT_NE(text_report(run, 80).find(std::string("Pronto medio          : ") + c.ready),
                  std::string::npos);
    }
    const RunRecord none = run_of("1\nA 0 0 1\n2\n", 0);
    const std::string text = json_report(none);
    EXPECT_NE(
        text.find(
            "\"media_resposta\": null,\n \"media_pronto\": null,\n \"media_turnaround\": null"),
        std::string::npos)
        << text;
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// Runs under two and three rule sets: one document each, side by side.
TEST(Comparison, AsManyRunsAsRuleSets) {
    const char* workload = "2\nA 0 0 2\n3 1\n2\nB 1 0 1\n4\n";
    const std::vector<SchedulingRules> sets = {
        {}, {.preemption = true, .textbook = true}, {.queues = 2, .boost = 5}};
    for (std::size_t count : {2U, 3U}) {
        std::vector<RunRecord> runs;
        for (std::size_t i = 0; i < count; ++i) {
            ASSERT_FALSE(set_up_simulation(workload, sets[i]).has_value());
            runs.push_back(run_report("processo.txt", {}, nullptr, true));
            reset_scheduler();
        }
        const nlohmann::json json = nlohmann::json::parse(comparison_json(runs));
        ASSERT_EQ(json["comparacao"].size(), count);
        for (std::size_t i = 0; i < count; ++i)
            EXPECT_EQ(json["comparacao"][i], nlohmann::json::parse(json_report(runs[i])));
        const std::string html = comparison_html(runs);
        std::size_t charts = 0;
        for (std::size_t at = 0; (at = html.find("<svg ", at)) != std::string::npos; ++at)
            ++charts;
        EXPECT_EQ(charts, count);
        EXPECT_NE(
            html.find(format_text("<th>Regras %d</th></tr>", static_cast<std::int64_t>(count))),
            std::string::npos);
        const std::string text = comparison_text(runs, 80);
        EXPECT_NE(text.find(format_text("Grafico de Gantt, regras %d:",
                                        static_cast<std::int64_t>(count))),
                  std::string::npos);
        // One time axis: the axis line of every chart ends at the same place.
        const std::string svg = comparison_svg(runs, true);
        EXPECT_EQ(svg.find("<?xml"), 0U);
        std::vector<std::string> axis_ends;
        for (std::size_t at = 0; (at = svg.find("<g transform=", at)) != std::string::npos; ++at) {
            const std::size_t line = svg.find("<line x1=", at);
            const std::size_t x2 = svg.find("x2=\"", line) + 4;
            axis_ends.push_back(svg.substr(x2, svg.find('"', x2) - x2));
        }
        ASSERT_EQ(axis_ends.size(), count);
        for (const std::string& end : axis_ends)
            EXPECT_EQ(end, axis_ends.front());
    }
}

} // namespace
} // namespace mlfq::testing
