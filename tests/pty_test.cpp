// End-to-end tests: the real program on a pseudo-terminal, as a user would run it.
#include "support/program_run.h"
#include "support/pty_session.h"
#include "support/screens.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/wait.h>

namespace mlfq::testing {
namespace {

const std::string binary = MLFQ_BINARY;
const std::filesystem::path examples = MLFQ_EXAMPLES;

std::string example_workload() {
    std::ifstream in(examples / "sala-de-aula" / "processo.txt");
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class EndToEnd : public ::testing::Test {
protected:
    TempDir dir;
};

TEST_F(EndToEnd, ShowsTheStatusScreenAndEndsWithEscape) {
    dir.write("processo.txt", "5\nA 0 0 1\n3\n");
    PtySession session(binary, dir.path());
    ASSERT_TRUE(session.wait_for(menu_tail)) << session.screen();
    session.type("<esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    EXPECT_EQ(session.screen(), status_screen(0, 5, 0, 0));
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

TEST_F(EndToEnd, CtrlCUpperCaseCAndArrowsOnlyRedraw) {
    dir.write("processo.txt", "5\nA 0 0 1\n3\n");
    PtySession session(binary, dir.path());
    ASSERT_TRUE(session.wait_for(menu_tail));
    ASSERT_TRUE(session.wait_for_key_read());
    session.type("<c-c>");
    ASSERT_TRUE(session.wait_for(menu_tail, 2)) << "Ctrl+C at the menu is a key";
    session.type("C");
    ASSERT_TRUE(session.wait_for(menu_tail, 3));
    session.type("<up>");
    ASSERT_TRUE(session.wait_for(menu_tail, 5)) << "an arrow gives two codes";
    session.type("<esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    std::string five;
    for (int i = 0; i < 5; ++i)
        five += status_screen(0, 5, 0, 0);
    EXPECT_EQ(session.screen(), five) << "nothing echoed, nothing else written";
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

TEST_F(EndToEnd, ErrorExitsRestoreTheTerminal) {
    struct Case {
        const char* workload; // null: no file at all
        int status;
        std::string output_start;
    };
    const Case cases[] = {
        {nullptr, 1, " ERRO AO ABRIR ARQUIVO "},
        {"P1 0 5 1\n3\n", 3, " ERRO NO ARQUIVO processo.txt, linha 1: esperava o quantum"},
        {"3\nA 0 0 2\n4 2\n", 3, " ERRO NO ARQUIVO processo.txt, linha 3: "},
    };
    for (const Case& c : cases) {
        TempDir case_dir;
        if (c.workload != nullptr)
            case_dir.write("processo.txt", c.workload);
        PtySession session(binary, case_dir.path());
        EXPECT_TRUE(exited_with(session.wait_exit(), c.status)) << session.screen();
        EXPECT_TRUE(session.screen().starts_with(c.output_start)) << session.screen();
        EXPECT_EQ(session.count("<clr>"), 0U) << "nothing is drawn before the check";
        EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
    }
    // The document's message, then on a line of its own (standard error) which file and why.
    TempDir no_file;
    PtySession session(binary, no_file.path());
    session.wait_exit();
    EXPECT_EQ(session.screen(), " ERRO AO ABRIR ARQUIVO \nmlfq: nao foi possivel ler "
                                "\"processo.txt\": arquivo ou diretorio inexistente\n");

    TempDir directory; // opens, but cannot be read
    std::filesystem::create_directory(directory.path() / "processo.txt");
    PtySession unreadable(binary, directory.path());
    EXPECT_TRUE(exited_with(unreadable.wait_exit(), 1));
    EXPECT_TRUE(unreadable.screen().starts_with(" ERRO AO ABRIR ARQUIVO \nmlfq: "))
        << unreadable.screen();
}

TEST_F(EndToEnd, InputThatEndsEndsTheProgramWithStatusFour) {
    dir.write("processo.txt", "5\nA 0 0 1\n3\n");
    const ProgramRun run = run_program(binary, dir.path(), "/dev/null");
    EXPECT_TRUE(exited_with(run.status, 4)) << run.status;
    EXPECT_EQ(readable(run.output),
              status_screen(0, 5, 0, 0) +
                  "\n ERRO: a entrada do teclado terminou ou nao pode ser lida \n");
}

TEST_F(EndToEnd, KeysFromAPipeAreDecodedTheSameWay) {
    dir.write("processo.txt", "4\nA 0 0 1\n1\n");
    dir.write("keys", key_bytes("Cc<tab><tab><up>2x<esc>"));
    const ProgramRun run = run_program(binary, dir.path(), dir.path() / "keys");
    EXPECT_TRUE(exited_with(run.status, 0)) << run.output;
    EXPECT_EQ(readable(run.output),
              status_screen(0, 4, 0, 0) + status_screen(0, 4, 0, 0) +
                  "\n\n Processo A entrou na fila de prontos no tempo: 0" + tab_prompt +
                  "\n\n Processo A entrou para execucao no tempo 0 " + tab_prompt +
                  status_screen(1, 4, 3, 0) + status_screen(1, 4, 3, 0) +
                  status_screen(1, 4, 3, 0) + "\n\n executando na UCP \n A 00 0 00 00" +
                  status_screen(1, 4, 3, 0));
}

// The whole example, pressing c and answering every TAB prompt, to the last termination.
TEST_F(EndToEnd, FullRunOfTheBundledExample) {
    dir.write("processo.txt", example_workload());
    PtySession session(binary, dir.path());
    // The program waits for a key at every TAB prompt and at every status screen.
    const auto pauses = [&] { return session.count(tab_prompt) + session.count(menu_tail); };
    ASSERT_TRUE(session.wait_for(menu_tail));
    std::size_t seen = pauses();
    const auto press = [&](std::string_view keys) {
        session.type(keys);
        const bool paused = session.wait_until([&] { return pauses() > seen; });
        seen = pauses();
        return paused;
    };
    ASSERT_TRUE(press("c"));
    ASSERT_TRUE(session.screen().ends_with(tab_prompt));
    ASSERT_TRUE(press("<esc>x<tab>")) << "ESC and x are ignored, TAB goes on";
    const std::string final_screen = status_screen(27, 3, 1, 2);
    for (int keys = 0; !session.screen().ends_with(final_screen); ++keys) {
        ASSERT_LT(keys, 200) << session.screen();
        ASSERT_TRUE(press(session.screen().ends_with(tab_prompt) ? "<tab>" : "c"))
            << session.screen();
    }
    EXPECT_EQ(session.count(status_screen(26, 3, 2, 3)), 1U) << "one c press per clock step";
    EXPECT_EQ(session.count("\n Processo Compilador terminou "), 1U);
    session.type("4");
    ASSERT_TRUE(session.wait_for("turnaround:  26"));
    session.type("<esc><esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    EXPECT_TRUE(session.screen().ends_with(
        "\n Nome: Editor  chegada:  1  espera:   2  turnaround:   4"
        "\n Nome: Relatorio  chegada:  9  espera:   1  turnaround:   2"
        "\n Nome: Navegador  chegada:  2  espera:   4  turnaround:  11"
        "\n Nome: Backup  chegada:  3  espera:   5  turnaround:  12"
        "\n Nome: Compilador  chegada:  0  espera:   0  turnaround:  26" +
        final_screen))
        << session.screen();
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

// Each listing key, then a key that is thrown away: ESC only returns to the menu, and
// of an arrow's two codes the second redraws once more.
TEST_F(EndToEnd, ListingsWaitForAnyKey) {
    dir.write("processo.txt", "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n");
    PtySession session(binary, dir.path());
    ASSERT_TRUE(session.wait_for(menu_tail));
    const std::string titles[] = {"Fila de Processos nao disparados \n A 00 10 04 02 03 00",
                                  "executando na UCP ", "Fila de Prontos 4",
                                  "Nome:", "Processos em IO "};
    session.type("1");
    ASSERT_TRUE(session.wait_for(titles[0]));
    session.type("<esc>");
    ASSERT_TRUE(session.wait_for(menu_tail, 2)) << "ESC after a listing returns to the menu";
    session.type("2");
    ASSERT_TRUE(session.wait_for_end(titles[1]));
    session.type("<up>");
    ASSERT_TRUE(session.wait_for(menu_tail, 4)) << session.screen();
    session.type("3");
    ASSERT_TRUE(session.wait_for_end(titles[2]));
    session.type("x");
    ASSERT_TRUE(session.wait_for(menu_tail, 5));
    session.type("4");
    session.type("<tab>"); // nothing to list: still a key is waited for
    ASSERT_TRUE(session.wait_for(menu_tail, 6));
    session.type("5");
    ASSERT_TRUE(session.wait_for_end(titles[4]));
    session.type("5");
    ASSERT_TRUE(session.wait_for(menu_tail, 7));
    EXPECT_EQ(session.count(titles[3]), 0U);
    session.type("<esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

} // namespace
} // namespace mlfq::testing
