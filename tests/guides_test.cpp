// Every number a classroom guide (examples/*/LEIAME.md) gives about a run, held against
// the program: the guide says it, and the run does it.
#include "support/program_run.h"
#include "support/pty_session.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <fstream>
#include <functional>

namespace mlfq::testing {
namespace {

using Json = nlohmann::json;
const std::string binary = MLFQ_BINARY;

std::string read_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

Json process(const Json& run, const std::string& name) {
    for (const Json& p : run["processos"])
        if (p["nome"] == name)
            return p;
    return Json();
}

// The times of the events of `kind` for process `name`.
std::vector<std::int64_t> times(const Json& run, const std::string& kind, const std::string& name) {
    std::vector<std::int64_t> found;
    for (const Json& e : run["eventos"])
        if (e["evento"] == kind && e.value("processo", "") == name)
            found.push_back(e["tempo"].get<std::int64_t>());
    return found;
}

// The highest queue digit of a process's timeline.
int lowest_queue(const Json& run, const std::string& name) {
    int lowest = 0;
    const Json p = process(run, name);
    for (const Json& s : p["linha_do_tempo"]) {
        const std::string state = s[2];
        if (state[0] >= '1' && state[0] <= '8')
            lowest = std::max(lowest, state[0] - '0');
    }
    return lowest;
}

const auto termination = [](const char* name, std::int64_t at) {
    return [=](const Json& run) { return process(run, name)["termino"] == at; };
};

struct Claim {
    const char* guide;                // the folder of examples/
    std::vector<std::string> options; // of the run the claim is about
    const char* says;                 // words of the guide
    std::function<bool(const Json&)> holds;
};

TEST(Guides, EveryNumberAGuideGivesIsTheProgramsOwn) {
    const Claim claims[] = {
        {"cpu-contra-io",
         {},
         "terminam nos tempos 21 e 23",
         [](const Json& r) {
             return termination("Editor", 21)(r) && termination("Terminal", 23)(r);
         }},
        {"cpu-contra-io",
         {},
         "terminam nos tempos 48 e 45",
         [](const Json& r) {
             return termination("Calculo", 48)(r) && termination("Planilha", 45)(r);
         }},
        {"cpu-contra-io",
         {},
         "em todos os 49 passos (uso da CPU 100%)",
         [](const Json& r) { return r["tempo_total"] == 49 && r["uso_cpu"] == 49; }},
        {"cpu-contra-io",
         {},
         "(digitos 1, 2, 3 e 4 no grafico)",
         [](const Json& r) {
             return lowest_queue(r, "Calculo") == 4 && lowest_queue(r, "Planilha") == 4;
         }},
        {"quantum-2-e-5",
         {"processo-q2.txt"},
         "leva 38 passos em vez de 25",
         [](const Json& r) { return r["tempo_total"] == 38; }},
        {"quantum-2-e-5",
         {"processo-q5.txt"},
         "leva 38 passos em vez de 25",
         [](const Json& r) { return r["tempo_total"] == 25; }},
        {"quantum-2-e-5",
         {"processo-q2.txt"},
         "(espera media 1,25)",
         [](const Json& r) { return r["media_resposta"] == 1.25; }},
        {"quantum-2-e-5",
         {"processo-q5.txt"},
         "sobe para 4,50",
         [](const Json& r) { return r["media_resposta"] == 4.5; }},
        {"quantum-2-e-5",
         {"processo-q5.txt"},
         "(turnaround medio 16,25 contra 28,25)",
         [](const Json& r) { return r["media_turnaround"] == 16.25; }},
        {"quantum-2-e-5",
         {"processo-q2.txt"},
         "(turnaround medio 16,25 contra 28,25)",
         [](const Json& r) { return r["media_turnaround"] == 28.25; }},
        {"tempo-de-livro",
         {},
         "(B termina no tempo 12, C no 7)",
         [](const Json& r) { return termination("B", 12)(r) && termination("C", 7)(r); }},
        {"tempo-de-livro",
         {"--tempo-livro"},
         "e termina em 6; C roda 6 e termina em 7",
         [](const Json& r) { return termination("B", 6)(r) && termination("C", 7)(r); }},
        {"tempo-de-livro",
         {},
         "(A roda 0 a 2, mas so fez 2 unidades)",
         [](const Json& r) { return times(r, "fim_de_fatia", "A").front() == 2; }},
        {"tempo-de-livro",
         {"--tempo-livro"},
         "A desce de fila no tempo 3",
         [](const Json& r) { return times(r, "fim_de_fatia", "A").front() == 3; }},
        {"tempo-de-livro",
         {"--tempo-livro"},
         "comeca no tempo 8 e acaba no 10",
         [](const Json& r) {
             return times(r, "inicio_io", "A") == std::vector<std::int64_t>{8} &&
                    times(r, "fim_io", "A") == std::vector<std::int64_t>{10} &&
                    termination("A", 12)(r);
         }},
        {"tempo-de-livro",
         {},
         "Turnaround medio: 11,00 no classico, 7,33 no livro",
         [](const Json& r) { return r["media_turnaround"] == 11.0; }},
        {"tempo-de-livro",
         {"--tempo-livro"},
         "Turnaround medio: 11,00 no classico, 7,33 no livro",
         [](const Json& r) { return r["media_turnaround"] == 7.33; }},
        {"tempo-de-livro",
         {"--tempo-livro"},
         "e a mesma nos dois: 0, 2 e 4",
         [](const Json& r) {
             return process(r, "A")["espera"] == 0 && process(r, "B")["espera"] == 2 &&
                    process(r, "C")["espera"] == 4;
         }},
        {"trapaca-com-io",
         {},
         "ocupa a CPU do tempo 3 ao 18 sem parar",
         [](const Json& r) {
             return process(r, "Esperto")["linha_do_tempo"][1] == Json::parse(R"([3, 19, "1"])");
         }},
        {"trapaca-com-io",
         {},
         "espera ate o tempo 19",
         [](const Json& r) {
             return process(r, "Honesto")["linha_do_tempo"][1] == Json::parse(R"([3, 19, "."])");
         }},
        {"trapaca-com-io",
         {"--cota", "--io-mantem-fila"},
         "termina no tempo\n  29 em vez de 33",
         termination("Honesto", 29)},
        {"trapaca-com-io", {}, "termina no tempo\n  29 em vez de 33", termination("Honesto", 33)},
        {"tres-filas-livro",
         {"--filas", "3", "--quantum-fila", "8,16,0", "--preempcao"},
         "tempo 31\", e de novo em 37, 43, ...",
         [](const Json& r) {
             const auto at = times(r, "preempcao", "Compilador");
             return at.size() >= 3 && at[0] == 31 && at[1] == 37 && at[2] == 43;
         }},
        {"tres-filas-livro",
         {"--filas", "3", "--quantum-fila", "8,16,0", "--preempcao"},
         "nao desce para a fila\n  3; Backup, que roda 16 tiques seguidos no fim, desce",
         [](const Json& r) {
             return lowest_queue(r, "Compilador") == 2 && lowest_queue(r, "Backup") == 3;
         }},
        {"sala-de-aula",
         {},
         "(tempos 2, 18 e 21)",
         [](const Json& r) {
             return times(r, "fim_de_fatia", "Compilador") == std::vector<std::int64_t>{2, 18, 21};
         }},
        {"sala-de-aula",
         {},
         "espera 2 e termina no tempo 5",
         [](const Json& r) {
             return process(r, "Editor")["espera"] == 2 && termination("Editor", 5)(r);
         }},
        {"sala-de-aula",
         {},
         "entra em IO no tempo 7 e volta para a fila 1 no tempo 9",
         [](const Json& r) {
             return times(r, "inicio_io", "Navegador") == std::vector<std::int64_t>{7} &&
                    times(r, "fim_io", "Navegador") == std::vector<std::int64_t>{9};
         }},
        {"sala-de-aula",
         {},
         "entra em IO no tempo 9",
         [](const Json& r) {
             return times(r, "inicio_io", "Backup") == std::vector<std::int64_t>{9};
         }},
        {"sala-de-aula",
         {},
         "Ao final (tempo 27) a tecla `4` mostra as esperas 2, 1, 4, 5 e 0",
         [](const Json& r) {
             // Terminated in the order Editor, Relatorio, Navegador, Backup, Compilador.
             return r["tempo_total"] == 27 && process(r, "Editor")["espera"] == 2 &&
                    process(r, "Relatorio")["espera"] == 1 &&
                    process(r, "Navegador")["espera"] == 4 && process(r, "Backup")["espera"] == 5 &&
                    process(r, "Compilador")["espera"] == 0 && termination("Relatorio", 11)(r) &&
                    termination("Navegador", 13)(r);
         }},
        {"sala-de-aula", {}, "Espera\" 2", [](const Json& r) { return r["media_espera"] == 2; }},
    };
    for (const Claim& c : claims) {
        SCOPED_TRACE(std::string(c.guide) + ": " + c.says);
        const std::filesystem::path dir = std::string(MLFQ_EXAMPLES) + "/" + c.guide;
        EXPECT_NE(read_text(dir / "LEIAME.md").find(c.says), std::string::npos)
            << "the guide says it";
        std::vector<std::string> arguments = c.options;
        arguments.push_back("--json");
        const ProgramRun run = run_command(binary, dir, arguments);
        ASSERT_TRUE(exited_with(run.status, 0)) << run.errors;
        EXPECT_TRUE(c.holds(Json::parse(run.output))) << "the run does it";
    }
}

} // namespace
} // namespace mlfq::testing
