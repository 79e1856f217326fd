// The scheduling rules that can be chosen, one scenario each, worked out by hand: the
// exact events and every process's state in every step.
#include "app/command_line.h"
#include "app/workload_generator.h"
#include "model/rule_table.h"
#include "model/simulation.h"
#include "report/json_report.h"
#include "report/report_run.h"
#include "report/report_texts.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <map>
#include <string>
#include <vector>

namespace mlfq::testing {
namespace {

// "clock kind process [queue]" for every event of a run.
std::vector<std::string> events_of(const RunRecord& run) {
    std::vector<std::string> lines;
    for (const EventRecord& e : run.events) {
        std::string line = std::to_string(e.clock) + " " + event_key(e.kind);
        if (e.process >= 0)
            line += " " + run.processes[static_cast<std::size_t>(e.process)].name;
        if (e.queue > 0)
            line += " " + std::to_string(e.queue);
        lines.push_back(line);
    }
    return lines;
}

std::string states(const RunRecord& run, std::size_t process) {
    std::string line(static_cast<std::size_t>(run.total_time), ' ');
    for (const Segment& s : run.processes.at(process).timeline)
        for (std::int64_t t = s.from; t < s.to; ++t)
            line.at(static_cast<std::size_t>(t)) = s.state;
    line.erase(line.find_last_not_of(' ') + 1);
    return line;
}

// The rules as the command line gives them.
SchedulingRules rules_from(std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), "mlfq");
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    const auto parsed = parse_command_line(static_cast<int>(argv.size()), argv.data());
    EXPECT_TRUE(std::holds_alternative<Options>(parsed));
    return std::holds_alternative<Options>(parsed) ? std::get<Options>(parsed).rules
                                                   : SchedulingRules{};
}

struct Scenario {
    const char* title;
    std::vector<std::string> options;
    const char* workload;
    std::vector<std::string> events;
    std::vector<std::string> timelines; // in file order
};

void check(const Scenario& s) {
    SCOPED_TRACE(s.title);
    ASSERT_FALSE(set_up_simulation(s.workload, rules_from(s.options)).has_value());
    const RunRecord run = run_report("processo.txt", {});
    reset_scheduler();
    EXPECT_EQ(events_of(run), s.events);
    for (std::size_t p = 0; p < s.timelines.size(); ++p)
        EXPECT_EQ(states(run, p), s.timelines[p]) << run.processes[p].name;
    EXPECT_EQ(run.stop, StopReason::complete);
}

TEST(Rules, Scenarios) {
    const Scenario scenarios[] = {
        {"an arrival preempts in the step it arrives; the process goes back to the front",
         {"--preempcao"},
         "3\nA 0 0 1\n10\nB 4 0 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "2 fim_de_fatia A 2", "3 despacho A 2", "4 chegada B",
          "4 preempcao A 2", "4 despacho B 1", "5 termino B", "6 despacho A 2",
          "8 fim_de_fatia A 3", "9 despacho A 3", "11 fim_de_fatia A 4", "12 despacho A 4",
          "14 fim_de_fatia A 4", "15 despacho A 4", "16 termino A"},
         {"1112..22233344444", "    11"}},
        {"preemption with --cota gives back a slice of 1, which expires at once",
         {"--preempcao", "--cota"},
         "3\nA 0 0 1\n10\nB 5 0 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "2 fim_de_fatia A 2", "3 despacho A 2", "5 chegada B",
          "5 preempcao A 2", "5 despacho B 1", "6 termino B", "7 despacho A 2",
          "7 fim_de_fatia A 3", "8 despacho A 3", "10 fim_de_fatia A 4", "11 despacho A 4",
          "13 fim_de_fatia A 4", "14 despacho A 4", "16 termino A"},
         {"11122..2333444444", "     11"}},
        {"a boost while the process runs on queue 3: it keeps the CPU, its level becomes 0",
         {"--boost", "7"},
         "3\nA 0 0 1\n10\n",
         {"0 chegada A", "0 despacho A 1", "2 fim_de_fatia A 2", "3 despacho A 2",
          "5 fim_de_fatia A 3", "6 despacho A 3", "7 boost", "8 fim_de_fatia A 2", "9 despacho A 2",
          "11 fim_de_fatia A 3", "12 despacho A 3", "14 boost", "14 termino A"},
         {"111222311222331"}},
        {"a boost during I/O: with --io-mantem-fila it comes back to queue 1, not 2",
         {"--boost", "8", "--io-mantem-fila"},
         "3\nA 0 0 2\n3 4\n1\nB 0 0 1\n6\n",
         {"0 chegada A", "0 chegada B", "0 despacho A 1", "2 fim_de_fatia A 2", "3 despacho B 1",
          "5 fim_de_fatia B 2", "6 despacho A 2", "7 inicio_io A", "8 boost", "8 despacho B 1",
          "10 fim_de_fatia B 2", "10 fim_io A 1", "11 despacho A 1", "12 termino A",
          "13 despacho B 2", "15 termino B"},
         {"111...22iii11", "...111..111..222"}},
        {"--io-mantem-fila without a boost: back to the queue it was dispatched from",
         {"--io-mantem-fila"},
         "3\nA 0 0 2\n3 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "2 fim_de_fatia A 2", "3 despacho A 2", "4 inicio_io A",
          "4 fim_io A 2", "5 despacho A 2", "6 termino A"},
         {"1112222"}},
        {"--filas 1: round robin in one queue",
         {"--filas", "1"},
         "3\nA 0 0 1\n3\nB 0 0 1\n2\n",
         {"0 chegada A", "0 chegada B", "0 despacho A 1", "2 fim_de_fatia A 1", "3 despacho B 1",
          "5 termino B", "6 despacho A 1", "7 termino A"},
         {"111...11", "...111"}},
        {"a queue with quantum 0 under preemption: never expires, but is interrupted",
         {"--filas", "2", "--quantum-fila", "2,0", "--preempcao"},
         "9\nA 0 0 1\n5\nB 4 0 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "1 fim_de_fatia A 2", "2 despacho A 2", "4 chegada B",
          "4 preempcao A 2", "4 despacho B 1", "5 termino B", "6 despacho A 2", "8 termino A"},
         {"1122..222", "    11"}},
    };
    for (const Scenario& s : scenarios)
        check(s);
}

// Textbook timing: step t is the unit from t to t + 1, and what it completes happens
// at t + 1; zero-length work takes no time.
TEST(Textbook, Scenarios) {
    const Scenario scenarios[] = {
        {"a slice of Q gives Q units; a burst of c run from d ends at d + c",
         {"--tempo-livro"},
         "3\nA 0 0 1\n5\n",
         {"0 chegada A", "0 despacho A 1", "3 fim_de_fatia A 2", "3 despacho A 2", "5 termino A"},
         {"11122"}},
        {"quantum 1: one unit at a time",
         {"--tempo-livro"},
         "1\nA 0 0 1\n2\nB 0 0 1\n2\n",
         {"0 chegada A", "0 chegada B", "0 despacho A 1", "1 fim_de_fatia A 2", "1 despacho B 1",
          "2 fim_de_fatia B 2", "2 despacho A 2", "3 termino A", "3 despacho B 2", "4 termino B"},
         {"1.2", ".1.2"}},
        {"a burst ending on the unit that ends the slice: I/O wins, the level drops for the "
         "return",
         {"--tempo-livro", "--io-mantem-fila"},
         "2\nA 0 0 2\n2 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "2 inicio_io A", "3 fim_io A 2", "3 despacho A 2",
          "4 termino A"},
         {"11i2"}},
        {"a 0 0 burst and a final burst of 0 take no time",
         {"--tempo-livro"},
         "5\nA 0 0 3\n0 0\n2 0\n0\nB 1 0 1\n0\n",
         {"0 chegada A", "0 despacho A 1", "1 chegada B", "2 termino A", "2 despacho B 1",
          "2 termino B"},
         {"11", " ."}},
        {"a burst of CPU 0 starts its I/O at dispatch; an I/O of k from s ends at s + k",
         {"--tempo-livro"},
         "4\nA 0 0 2\n0 3\n1\n",
         {"0 chegada A", "0 despacho A 1", "0 inicio_io A", "3 fim_io A 1", "3 despacho A 1",
          "4 termino A"},
         {"iii1"}},
        {"two I/O phases ending together rejoin newest first",
         {"--tempo-livro"},
         "9\nX 0 0 2\n1 3\n1\nY 0 0 2\n1 2\n1\n",
         {"0 chegada X", "0 chegada Y", "0 despacho X 1", "1 inicio_io X", "1 despacho Y 1",
          "2 inicio_io Y", "4 fim_io Y 1", "4 fim_io X 1", "4 despacho Y 1", "5 termino Y",
          "5 despacho X 1", "6 termino X"},
         {"1iii.1", ".1ii1"}},
        {"an arrival at t preempts at t; --cota keeps the remainder of the slice",
         {"--tempo-livro", "--preempcao", "--cota"},
         "3\nA 0 0 1\n10\nB 4 0 1\n1\n",
         {"0 chegada A", "0 despacho A 1", "3 fim_de_fatia A 2", "3 despacho A 2", "4 chegada B",
          "4 preempcao A 2", "4 despacho B 1", "5 termino B", "5 despacho A 2",
          "7 fim_de_fatia A 3", "7 despacho A 3", "10 fim_de_fatia A 4", "10 despacho A 4",
          "11 termino A"},
         {"1112.223334", "    1"}},
        {"round robin with quantum 2, the classic exercise: P1 (0, 5), P2 (1, 3), P3 (3, 1)",
         {"--tempo-livro", "--filas", "1"},
         "2\nP1 0 0 1\n5\nP2 1 0 1\n3\nP3 3 0 1\n1\n",
         {"0 chegada P1", "0 despacho P1 1", "1 chegada P2", "2 fim_de_fatia P1 1",
          "2 despacho P2 1", "3 chegada P3", "4 fim_de_fatia P2 1", "4 despacho P1 1",
          "6 fim_de_fatia P1 1", "6 despacho P3 1", "7 termino P3", "7 despacho P2 1",
          "8 termino P2", "8 despacho P1 1", "9 termino P1"},
         {"11..11..1", " .11...1", "   ...1"}},
    };
    for (const Scenario& s : scenarios)
        check(s);
}

TEST(Rules, TheJsonNamesTheRulesAndTheNewEvents) {
    ASSERT_FALSE(set_up_simulation("9\nA 0 0 1\n5\nB 4 0 1\n1\n",
                                   rules_from({"--filas", "2", "--quantum-fila", "2,0",
                                               "--preempcao", "--boost", "50"}))
                     .has_value());
    const nlohmann::json json = nlohmann::json::parse(json_report(run_report("p", {})));
    reset_scheduler();
    EXPECT_EQ(json["regras"], nlohmann::json::parse(R"({"filas": 2, "quantum_fila": [2, 0],
        "preempcao": true, "boost": 50, "io_mantem_fila": false, "cota": false,
        "tempo_livro": false})"));
    EXPECT_EQ(json["eventos"][5], nlohmann::json::parse(
                                      R"({"tempo": 4, "evento": "preempcao", "processo": "A",
                                          "fila": 2})"));
}

TEST(Rules, QuantumPerQueueTakesTheLastValueForTheRest) {
    const SchedulingRules rules = rules_from({"--filas", "5", "--quantum-fila", "8,-1"});
    EXPECT_TRUE(rules.quantum_per_queue);
    EXPECT_EQ(
        (std::vector<std::int32_t>(rules.queue_quantum.begin(), rules.queue_quantum.begin() + 5)),
        (std::vector<std::int32_t>{8, -1, -1, -1, -1}));
}

// The generator's bytes are fixed by the seed, and what it writes loads.
TEST(Generator, SameSeedSameBytesAndTheWorkloadLoads) {
    EXPECT_TRUE(generate_workload(3, 42).starts_with("3\nP1 0 8 2\n3 1\n7\nP2 1 5 4\n8 3\n"));
    EXPECT_EQ(generate_workload(50, 7), generate_workload(50, 7));
    EXPECT_NE(generate_workload(50, 7), generate_workload(50, 8));
    for (std::uint64_t seed : {0ULL, 1ULL, 123456789ULL}) {
        const std::string text = generate_workload(300, seed);
        ASSERT_FALSE(set_up_simulation(text).has_value()) << seed;
        const RunRecord run = run_report("x", {});
        reset_scheduler();
        EXPECT_EQ(run.processes.size(), 300U);
        EXPECT_EQ(run.stop, StopReason::complete);
    }
}

// Every option of the table is in the help text, and the parser takes it as declared:
// with its value, or without one.
TEST(OptionTable, EveryOptionIsInTheHelpAndParsesAsDeclared) {
    const std::string help = usage_text();
    const auto parse = [](std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "mlfq");
        std::vector<char*> argv;
        for (std::string& a : arguments)
            argv.push_back(a.data());
        return parse_command_line(static_cast<int>(argv.size()), argv.data());
    };
    const auto message = [](const std::variant<Options, UsageError>& parsed) {
        return std::holds_alternative<UsageError>(parsed) ? std::get<UsageError>(parsed).message
                                                          : std::string();
    };
    for (const OptionName& option : option_names()) {
        SCOPED_TRACE(option.name);
        EXPECT_NE(help.find("--" + option.name), std::string::npos);
        const std::string bare = message(parse({"--" + option.name}));
        const std::string given = message(parse({"--" + option.name + "=1"}));
        if (option.takes_value) {
            EXPECT_EQ(bare, "falta o valor da opcao --" + option.name);
            EXPECT_FALSE(given.starts_with("a opcao")) << given;
        } else {
            EXPECT_FALSE(bare.starts_with("falta o valor")) << bare;
            EXPECT_EQ(given, "a opcao --" + option.name + " nao aceita valor");
        }
    }
}

// --livro is the textbook's four rules at once, and combines with the others.
TEST(RuleTable, TheBooksRulesInOneWord) {
    EXPECT_EQ(
        rules_from({"--livro", "--filas", "3"}),
        rules_from({"--tempo-livro", "--preempcao", "--io-mantem-fila", "--cota", "--filas", "3"}));
    ASSERT_FALSE(
        set_up_simulation("2\nA 0 0 2\n3 1\n2\nB 1 0 1\n4\n", rules_from({"--livro"})).has_value());
    const std::string book = json_report(run_report("p", {}));
    reset_scheduler();
    ASSERT_FALSE(set_up_simulation(
                     "2\nA 0 0 2\n3 1\n2\nB 1 0 1\n4\n",
                     rules_from({"--tempo-livro", "--preempcao", "--io-mantem-fila", "--cota"}))
                     .has_value());
    EXPECT_EQ(json_report(run_report("p", {})), book);
    reset_scheduler();
}

// Each rule of the table, given alone, comes back under its key in the JSON "regras" and
// gives its option back on the command line it amounts to.
TEST(RuleTable, EveryRuleRoundTripsThroughTheJson) {
    const std::map<std::string, std::vector<std::string>> values = {
        {"filas", {"3"}}, {"quantum-fila", {"2,5"}}, {"boost", {"7"}}};
    for (const RuleSpec& rule : rule_table()) {
        SCOPED_TRACE(rule.option);
        std::vector<std::string> arguments = {std::string("--") + rule.option};
        if (rule.value_name != nullptr)
            arguments.push_back(values.at(rule.option).front());
        const SchedulingRules rules = rules_from(arguments);
        ASSERT_FALSE(set_up_simulation("4\nA 0 0 1\n3\n", rules).has_value());
        const nlohmann::json regras =
            nlohmann::json::parse(json_report(run_report("p", {})))["regras"];
        reset_scheduler();
        const nlohmann::json classic = nlohmann::json::parse(R"({"filas": 4,
            "quantum_fila": [4, 4, 4, 4], "preempcao": false, "boost": 0,
            "io_mantem_fila": false, "cota": false, "tempo_livro": false})");
        nlohmann::json expected = classic;
        if (rule.value == RuleValue::flag)
            expected[rule.json_key] = true;
        else if (rule.value == RuleValue::period)
            expected[rule.json_key] = 7;
        else if (rule.value == RuleValue::count)
            expected = nlohmann::json::parse(R"({"filas": 3, "quantum_fila": [4, 4, 4],
                "preempcao": false, "boost": 0, "io_mantem_fila": false, "cota": false,
                "tempo_livro": false})");
        else
            expected["quantum_fila"] = {2, 5, 5, 5};
        EXPECT_EQ(regras, expected);
        const std::string words = rules_command_line(rules);
        EXPECT_EQ(rule.value == RuleValue::list ? std::string("--quantum-fila 2,5,5,5")
                                                : [&] {
                                                      std::string w;
                                                      for (const auto& a : arguments) {
                                                          if (!w.empty())
                                                              w += ' ';
                                                          w += a;
                                                      }
                                                      return w;
                                                  }(),
                  words);
    }
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// The reason of the first event of `kind` (for `process`) in a run, with reasons recorded.
std::string reason_of(const char* workload, const std::vector<std::string>& options,
                      const char* kind, const char* process, int nth = 1) {
    EXPECT_FALSE(set_up_simulation(workload, rules_from(options)).has_value());
    const RunRecord run = run_report("p", {}, nullptr, true);
    reset_scheduler();
    EXPECT_EQ(run.reasons.size(), run.events.size());
    for (std::size_t i = 0; i < run.events.size(); ++i) {
        const EventRecord& e = run.events[i];
        const bool named =
            e.process >= 0 && run.processes[static_cast<std::size_t>(e.process)].name == process;
        if (event_key(e.kind) == std::string(kind) && (named || e.process < 0) && --nth == 0)
            return std::string(run.reasons[i]);
    }
    return "(no such event)";
}

TEST(Reasons, EachRuleAndEachSurpriseSaysWhy) {
    const struct {
        const char* workload;
        std::vector<std::string> options;
        const char* kind;
        const char* process;
        int nth;
        std::string reason;
    } cases[] = {
        {"3\nA 2 0 1\n1\n",
         {},
         "chegada",
         "A",
         1,
         "chegou no tempo 2: todo processo que chega entra no fim da fila 1"},
        {"2\nA 0 0 1\n5\nB 0 0 1\n1\nC 0 0 1\n1\n",
         {},
         "despacho",
         "A",
         1,
         "a CPU estava livre e a fila 1 era a mais alta com processos prontos; A era o primeiro "
         "dela. Fatia da fila: 2 (esperavam tambem: B, C na fila 1)"},
        {"2\nA 0 0 1\n5\n",
         {},
         "fim_de_fatia",
         "A",
         1,
         "a fatia de 2 da fila 1 acabou: desce para o fim da fila 2 (no tique que zera a fatia o "
         "surto nao avanca)"},
        {"2\nA 0 0 1\n5\n",
         {},
         "fim_de_fatia",
         "A",
         2,
         "a fatia de 2 da fila 2 acabou: desce para o fim da fila 3"},
        {"1\nA 0 0 1\n9\n",
         {"--filas", "1", "--quantum-fila", "2"},
         "fim_de_fatia",
         "A",
         1,
         "a fatia de 2 da fila 1 acabou: ja esta na fila mais baixa e volta para o fim dela (no "
         "tique que zera a fatia o surto nao avanca)"},
        {"5\nA 0 0 2\n1 3\n1\n",
         {},
         "inicio_io",
         "A",
         1,
         "o tempo de CPU do surto acabou e vem IO de 3: vai para a lista de IO (comecar o IO "
         "ocupa um tique na CPU)"},
        {"5\nA 0 0 2\n1 3\n1\n",
         {"--tempo-livro", "--cota"},
         "inicio_io",
         "A",
         1,
         "o tempo de CPU do surto acabou e vem IO de 3: vai para a lista de IO, guardando 4 da "
         "fatia (--cota)"},
        {"5\nA 0 0 2\n1 3\n1\n",
         {},
         "fim_io",
         "A",
         1,
         "o IO acabou: quem volta do IO entra no fim da fila 1"},
        {"2\nA 0 0 2\n3 1\n1\n",
         {"--io-mantem-fila"},
         "fim_io",
         "A",
         1,
         "o IO acabou: volta para o fim da fila 4, de onde tinha saido (--io-mantem-fila)"},
        {"9\nX 0 0 2\n1 3\n1\nY 0 0 2\n1 1\n1\n",
         {},
         "fim_io",
         "X",
         1,
         "o IO acabou: quem volta do IO entra no fim da fila 1 (IOs que acabam no mesmo passo "
         "voltam do mais recente ao mais antigo)"},
        {"3\nA 0 0 1\n10\nB 4 0 1\n1\n",
         {"--preempcao"},
         "preempcao",
         "A",
         1,
         "um processo esperava na fila 1, mais alta que a fila 2 deste (--preempcao): "
         "interrompido, volta para o inicio da fila 2"},
        {"3\nA 0 0 1\n10\nB 4 0 1\n1\n",
         {"--preempcao", "--cota"},
         "despacho",
         "A",
         3,
         "a CPU estava livre e a fila 2 era a mais alta com processos prontos; A era o primeiro "
         "dela. Resto guardado da fatia (--cota): 2 (ninguem mais esperava)"},
        {"1\nA 0 0 1\n3\nB 0 0 1\n3\n",
         {"--filas", "3", "--quantum-fila", "1,5", "--boost", "4"},
         "boost",
         "",
         1,
         "boost a cada 4 passos (--boost): todos os processos prontos voltam para a fila 1 e quem "
         "esta na CPU fica com ela e com sua fatia"},
        {"3\nA 0 0 1\n2\n",
         {},
         "termino",
         "A",
         1,
         "o ultimo surto acabou: termina com espera 0 e turnaround 2 (terminar ocupa um tique na "
         "CPU)"},
        {"3\nA 0 0 1\n2\n",
         {"--tempo-livro"},
         "termino",
         "A",
         1,
         "o ultimo surto acabou: termina com espera 0 e turnaround 2"}, // at 2, the end of unit 1
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.workload);
        EXPECT_EQ(reason_of(c.workload, c.options, c.kind, c.process, c.nth), c.reason);
    }
}

TEST(Reasons, EveryEventOfTheJsonHasOne) {
    ASSERT_FALSE(set_up_simulation("2\nA 0 0 3\n1 2\n3 1\n1\nB 1 0 1\n4\n",
                                   rules_from({"--livro", "--boost", "5"}))
                     .has_value());
    const nlohmann::json json =
        nlohmann::json::parse(json_report(run_report("p", {}, nullptr, true)));
    reset_scheduler();
    ASSERT_GT(json["eventos"].size(), 10U);
    for (const auto& event : json["eventos"]) {
        ASSERT_TRUE(event.contains("motivo")) << event;
        EXPECT_FALSE(event["motivo"].get<std::string>().empty()) << event;
    }
}

} // namespace
} // namespace mlfq::testing
