// The command line of the real program, without a terminal: usage errors, report mode's
// outputs and their failures.
#include "support/program_run.h"
#include "support/pty_session.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <fstream>

namespace mlfq::testing {
namespace {

const std::string binary = MLFQ_BINARY;
const std::string workload = "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n";

std::string file_text(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class CommandLine : public ::testing::Test {
protected:
    CommandLine() { dir.write("processo.txt", workload); }
    ProgramRun run(const std::vector<std::string>& arguments) {
        return run_command(binary, dir.path(), arguments);
    }
    TempDir dir;
};

TEST_F(CommandLine, UsageErrorsGoToStandardErrorWithStatus64) {
    struct Case {
        std::vector<std::string> arguments;
        std::string message;
    };
    dir.write("carga.svg", workload);
    std::filesystem::create_symlink("a.SVG", dir.path() / "mesmo.html"); // two names, one file
    const Case cases[] = {
        {{"--bogus"}, "opcao desconhecida ou ambigua: --bogus"},
        {{"-x"}, "opcao desconhecida: -x"},
        {{"--svg"}, "falta o valor da opcao --svg"},
        {{"--relatorio=sim"}, "a opcao --relatorio nao aceita valor"},
        {{"-r", "--json"}, "-r (--relatorio) e --json nao podem ser usadas juntas"},
        {{"--ate", "5"}, "--ate so vale no modo relatorio"},
        {{"--largura", "60"}, "--largura so vale no modo relatorio"},
        {{"--json", "--largura", "60"}, "--largura so vale com o relatorio em texto"},
        {{"-r", "--ate", "-1"}, "valor invalido para --ate: \"-1\""},
        {{"-r", "--ate", "3x"}, "valor invalido para --ate: \"3x\""},
        {{"-r", "--largura", "39"}, "valor invalido para --largura: \"39\""},
        {{"--svg", ""}, "valor invalido para --svg: \"\""},
        {{"a.txt", "b.txt"}, "mais de um arquivo de carga: \"a.txt\" e \"b.txt\""},
        {{"--html", "processo.txt"}, "(esperava um nome de arquivo terminado em .html ou .htm"},
        {{"--svg", "carga.svg", "carga.svg"},
         "o arquivo de saida \"carga.svg\" e o proprio arquivo"},
        {{"--svg", "minha-carga.txt"}, "(esperava um nome de arquivo terminado em .svg, ou -"},
        {{"--svg", "a.SVG", "--html", "mesmo.html"}, "--svg e --html gravariam o mesmo arquivo"},
        {{"--svg", "-", "--json"}, "so uma saida pode ir para a saida padrao"},
        {{"--svg", "-", "--html", "-"}, "so uma saida pode ir para a saida padrao"},
        {{"--boost", "100001"},
         "valor invalido para --boost: \"100001\" (esperava um numero inteiro de 1 a 100000)"},
        {{"--semente", "9223372036854775808", "--gerar", "1"}, "valor invalido para --semente"},
        {{"--gerar", "5", "--filas", "4"}, "--gerar so se combina com --semente"},
        {{"--gerar", "5", "--filas", "2"}, "--gerar so se combina com --semente"},
        {{"-r", "--comparar", "--relatorio"},
         "valor invalido para --comparar: \"--relatorio\" (esperava opcoes de regras"},
        {{"-r", "--comparar", "--filas 9"}, "valor invalido para --comparar"},
        {{"--comparar", "--livro"}, "--comparar so vale no modo relatorio"},
        {{"--svg", "g.svg", "--de", "5", "--ate", "5"}, "--de 5 deve ser menor que --ate 5"},
        {{"-r", "--titulo", "x"}, "--titulo so vale com --svg ou --html"},
        {{"a", "\x1b[2J"}, "\"\\x1B[2J\""}, // never a raw escape sequence
        {{"--filas", "0"}, "valor invalido para --filas: \"0\""},
        {{"--filas", "9"}, "valor invalido para --filas: \"9\""},
        {{"--quantum-fila", "3,,2"}, "valor invalido para --quantum-fila: \"3,,2\""},
        {{"--quantum-fila", "3,x"}, "valor invalido para --quantum-fila"},
        {{"--quantum-fila", "2147483648"}, "valor invalido para --quantum-fila"},
        {{"--quantum-fila", "1,2,3,4,5"}, "--quantum-fila tem 5 valores para 4 filas"},
        {{"--filas", "2", "--quantum-fila=1,2,3"}, "--quantum-fila tem 3 valores para 2 filas"},
        {{"--boost", "0"}, "valor invalido para --boost: \"0\""},
        {{"--gerar", "0"}, "valor invalido para --gerar"},
        {{"--gerar", "20001"},
         "valor invalido para --gerar: \"20001\" (esperava um numero inteiro de 1 a 20000)"},
        {{"--semente", "5"}, "--semente so vale com --gerar"},
        {{"--gerar", "5", "-r"}, "--gerar so se combina com --semente"},
        {{"--gerar", "5", "--preempcao"}, "--gerar so se combina com --semente"},
    };
    for (const Case& c : cases) {
        const ProgramRun r = run(c.arguments);
        SCOPED_TRACE(c.arguments.front());
        EXPECT_TRUE(exited_with(r.status, 64)) << r.status << r.errors;
        EXPECT_EQ(r.output, "");
        EXPECT_TRUE(r.errors.starts_with("mlfq: ")) << r.errors;
        EXPECT_NE(r.errors.find(c.message), std::string::npos) << r.errors;
        EXPECT_EQ(r.errors.find('\x1b'), std::string::npos);
    }
    EXPECT_EQ(file_text(dir.path() / "processo.txt"), workload);
}

TEST_F(CommandLine, HelpVersionAndWhatEachModeWrites) {
    for (const char* help : {"-h", "--ajuda", "--help"}) {
        const ProgramRun r = run({help});
        EXPECT_TRUE(exited_with(r.status, 0));
        EXPECT_TRUE(r.output.starts_with("Uso: mlfq [opcoes] [arquivo]\n")) << r.output;
    }
    for (const char* version : {"-V", "--versao", "--version"})
        EXPECT_TRUE(run({version}).output.starts_with("mlfq ")) << version;

    const ProgramRun text = run({"-r", "--largura", "60"});
    EXPECT_TRUE(exited_with(text.status, 0));
    EXPECT_TRUE(text.output.starts_with("Multiplas filas com realimentacao: relatorio"));
    EXPECT_EQ(text.errors, "");
    EXPECT_EQ(text.output.find('\x1b'), std::string::npos) << "no escape sequence";

    const ProgramRun pictures = run({"--svg", "g.svg", "--html=p.html"});
    EXPECT_TRUE(exited_with(pictures.status, 0)) << pictures.errors;
    EXPECT_EQ(pictures.output, "") << "the pictures alone leave standard output empty";
    EXPECT_TRUE(file_text(dir.path() / "g.svg").starts_with("<?xml"));
    EXPECT_TRUE(file_text(dir.path() / "p.html").starts_with("<!DOCTYPE html>"));

    const ProgramRun generated = run({"--gerar", "4", "--semente", "42"});
    EXPECT_TRUE(exited_with(generated.status, 0));
    EXPECT_TRUE(generated.output.starts_with("3\nP1 0 8 2\n")) << generated.output;
    EXPECT_EQ(generated.errors, "");
    EXPECT_NE(run({"--gerar", "2"}).errors.find("mlfq: semente "), std::string::npos);

    dir.write("outro.txt", "2\nZ 0 0 1\n1\n");
    const ProgramRun json = run({"outro.txt", "--json"});
    EXPECT_NE(json.output.find("\"arquivo\": \"outro.txt\""), std::string::npos);
}

TEST_F(CommandLine, WorkloadErrorsInReportModeGoToStandardError) {
    dir.write("ruim.txt", "3\nA 0 0 2\n4 2\n");
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string errors;
    } cases[] = {
        {{"-r", "falta.txt"},
         1,
         " ERRO AO ABRIR ARQUIVO \nmlfq: nao foi possivel ler \"falta.txt\": arquivo ou "
         "diretorio inexistente\n"},
        {{"--json", "ruim.txt"}, 3, " ERRO NO ARQUIVO ruim.txt, linha 3: esperava o tempo de CPU"},
    };
    for (const auto& c : cases) {
        const ProgramRun r = run(c.arguments);
        EXPECT_TRUE(exited_with(r.status, c.status)) << r.status;
        EXPECT_EQ(r.output, "");
        EXPECT_TRUE(r.errors.starts_with(c.errors)) << r.errors;
    }
}

// A file that cannot be written: status 73, and what was there before is still there,
// with no half-written file beside it.
TEST_F(CommandLine, OutputFilesAreWholeOrNotThere) {
    std::filesystem::create_directory(dir.path() / "pasta.svg");
    dir.write("velho.svg", "old");
    const struct {
        std::vector<std::string> arguments;
        int status;
    } cases[] = {
        {{"--svg", "pasta.svg"}, 73},        // a directory is in the way
        {{"--html", "nada/p.html"}, 73},     // no such folder
        {{"--svg", "velho.svg", "ruim"}, 1}, // the workload fails: nothing written
    };
    for (const auto& c : cases) {
        const ProgramRun r = run(c.arguments);
        EXPECT_TRUE(exited_with(r.status, c.status)) << r.status << r.errors;
        EXPECT_EQ(r.output, "");
    }
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "pasta.svg"));
    EXPECT_EQ(file_text(dir.path() / "velho.svg"), "old");
    std::size_t files = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(dir.path()))
        ++files;
    EXPECT_EQ(files, 3U) << "processo.txt, pasta.svg and velho.svg, no temporary file";
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// What the guide of examples/processo-longo-e-boost says of its runs, held against the
// program.
TEST(Guides, TheLongProcessAndTheBoost) {
    const std::filesystem::path dir = std::string(MLFQ_EXAMPLES) + "/processo-longo-e-boost";
    const std::string guide = file_text(dir / "LEIAME.md");
    const ProgramRun plain = run_command(binary, dir, {"-r"});
    const ProgramRun boosted = run_command(binary, dir, {"-r", "--boost", "10"});
    const struct {
        std::string claim; // in the guide
        const ProgramRun& run;
        std::string shown; // in that run's report
    } claims[] = {
        {"espera media 4,15 em vez de 0", boosted, "Tempo medio de espera : 4 (4.15)"},
        {"espera media 4,15 em vez de 0", plain, "Tempo medio de espera : 0 (0.00)"},
        {"A CPU fica ocupada nos 66 passos nos dois casos", plain, "(66 de 66 passos)"},
        {"A CPU fica ocupada nos 66 passos nos dois casos", boosted, "(66 de 66 passos)"},
        {"no tempo 10", boosted,
         "Todos os processos voltaram para a fila de prontos 1 no tempo 10"},
    };
    for (const auto& c : claims) {
        EXPECT_NE(guide.find(c.claim), std::string::npos) << c.claim;
        EXPECT_NE(c.run.output.find(c.shown), std::string::npos) << c.shown;
    }
    // Without the boost Longo runs 0 to 2 and waits from 3 to 38.
    EXPECT_NE(
        guide.find("Longo roda de 0 a 2, desce para a fila 2 e fica esperando do tempo 3 ao 38"),
        std::string::npos);
    const ProgramRun plain_json = run_command(binary, dir, {"--json"});
    EXPECT_NE(plain_json.output.find("\"nome\":\"Longo\",\"chegada\":0"), std::string::npos);
    EXPECT_NE(plain_json.output.find("\"linha_do_tempo\":[[0,3,\"1\"],[3,39,\".\"],"),
              std::string::npos);
    // Longo's dispatches with the boost, from the events.
    EXPECT_NE(guide.find("despachos nos tempos 12,\n  24, 36 e 48"), std::string::npos);
    const ProgramRun json = run_command(binary, dir, {"--json", "--boost", "10"});
    std::vector<std::int64_t> dispatches;
    for (std::size_t at = 0;
         (at = json.output.find("\"evento\":\"despacho\",\"processo\":\"Longo\"", at)) !=
         std::string::npos;
         ++at) {
        const std::size_t time = json.output.rfind("\"tempo\":", at) + 8;
        dispatches.push_back(std::stoll(json.output.substr(time)));
    }
    ASSERT_GE(dispatches.size(), 5U);
    EXPECT_EQ(std::vector<std::int64_t>(dispatches.begin() + 1, dispatches.begin() + 5),
              (std::vector<std::int64_t>{12, 24, 36, 48}));
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// The textbook's job notation gives the run of its equivalent workload file.
TEST(Jobs, TheSameRunAsTheEquivalentFile) {
    TempDir dir;
    const struct {
        std::vector<std::string> jobs; // --jobs and its settings
        std::string file;              // the equivalent workload file
    } cases[] = {
        {{"--jobs", "0,10,3:2,4,0"}, "10\nJ0 0 0 4\n3 5\n3 5\n3 5\n1\nJ1 2 0 1\n4\n"},
        {{"--jobs", "0,6,3", "--io-tempo", "2", "--quantum", "4"}, "4\nJ0 0 0 2\n3 2\n3\n"},
        {{"--jobs", "1,5,5:0,0,0:3,2,7"}, "10\nJ0 1 0 1\n5\nJ1 0 0 1\n0\nJ2 3 0 1\n2\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.jobs[1]);
        std::vector<std::string> show = c.jobs;
        show.push_back("--mostrar-carga");
        EXPECT_EQ(run_command(binary, dir.path(), show).output, c.file);
        dir.write("carga.txt", c.file);
        for (const std::vector<std::string>& rules :
             {std::vector<std::string>{}, {"--livro"}, {"--filas", "2", "--boost", "9"}}) {
            std::vector<std::string> from_jobs = c.jobs, from_file = {"carga.txt"};
            for (const auto& r : rules) {
                from_jobs.push_back(r);
                from_file.push_back(r);
            }
            from_jobs.push_back("--json");
            from_file.push_back("--json");
            std::string a = run_command(binary, dir.path(), from_jobs).output;
            std::string b = run_command(binary, dir.path(), from_file).output;
            ASSERT_TRUE(a.starts_with("{\"arquivo\": \"--jobs\",\n")) << a;
            ASSERT_TRUE(b.starts_with("{\"arquivo\": \"carga.txt\",\n")) << b;
            EXPECT_EQ(a.substr(a.find('\n')), b.substr(b.find('\n')));
        }
    }
    for (const std::vector<std::string>& wrong : {std::vector<std::string>{"--jobs", "0,10"},
                                                  {"--jobs", "0,x,1"},
                                                  {"--jobs", "0,1,1:"},
                                                  {"--jobs", "0,1,1", "carga.txt"},
                                                  {"--io-tempo", "3"},
                                                  {"--jobs", "0,2000000,1"}}) {
        const ProgramRun r = run_command(binary, dir.path(), wrong);
        EXPECT_TRUE(exited_with(r.status, 64)) << wrong[1] << r.errors;
    }
}

} // namespace
} // namespace mlfq::testing
