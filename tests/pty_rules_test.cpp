// The interactive program under scheduling rules, on a pseudo-terminal: the screens keep
// the classic format and show what the rules change.
#include "support/pty_session.h"
#include "support/screens.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

namespace mlfq::testing {
namespace {

const std::string binary = MLFQ_BINARY;

// Presses c (and TAB at every prompt) for `steps` clock steps.
bool run_steps(PtySession& session, int steps) {
    for (int i = 0; i < steps; ++i) {
        const std::size_t screens = session.count(menu_tail);
        session.type("c");
        while (!session.wait_until([&] {
            return session.screen().ends_with(tab_prompt) || session.count(menu_tail) > screens;
        }))
            return false;
        while (session.screen().ends_with(tab_prompt)) {
            const std::size_t prompts = session.count(tab_prompt);
            session.type("<tab>");
            if (!session.wait_until([&] {
                    return session.count(tab_prompt) > prompts ||
                           session.count(menu_tail) > screens;
                }))
                return false;
        }
        if (!session.wait_for(menu_tail, static_cast<int>(screens) + 1))
            return false;
    }
    return true;
}

TEST(InteractiveRules, ScreensUnderOptionSets) {
    struct Case {
        std::vector<std::string> arguments;
        const char* workload;
        int steps;
        std::vector<std::string> shown; // each must appear
        std::string absent;             // must not appear, when given
    };
    const Case cases[] = {
        {{"--filas", "2", "--quantum-fila", "5,1"},
         "9\nA 0 0 1\n3\n",
         0,
         {status_screen(0, 5, 0, 0)},
         "QUANTUM               : 9 "},
        {{"--preempcao"},
         "3\nA 0 0 1\n10\nB 4 0 1\n1\n",
         5,
         {"\n\n Processo A foi interrompido e voltou para a fila de prontos 2 tempo 4 " +
              tab_prompt,
          status_screen(5, 3, 2, 0)},
         ""},
        {{"--io-mantem-fila", "--boost", "3"},
         "3\nA 0 0 2\n3 1\n1\n",
         5,
         {"\n\n Todos os processos voltaram para a fila de prontos 1 no tempo 3 " + tab_prompt,
          "\n\n Processo A foi para a fila de Prontos 1 no tempo 4 " + tab_prompt},
         "foi para a fila de Prontos no tempo"},
        {{"--tempo-livro"},
         "3\nA 0 0 1\n5\n",
         4,
         // The unit of step 2 ends the slice at time 3; step 3 dispatches again at 3.
         {"\n\n Processo A foi para a fila de prontos 2 tempo 3 " + tab_prompt +
              status_screen(3, 3, 0, 0) + "\n\n Processo A entrou para execucao no tempo 3 " +
              tab_prompt,
          status_screen(4, 3, 2, 0)},
         "Processo A foi para a fila de prontos 2 tempo 2 "},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.front());
        TempDir dir;
        dir.write("processo.txt", c.workload);
        PtySession session(binary, dir.path(), {.arguments = c.arguments});
        ASSERT_TRUE(session.wait_for(menu_tail)) << session.screen();
        ASSERT_TRUE(run_steps(session, c.steps)) << session.screen();
        for (const std::string& text : c.shown)
            EXPECT_EQ(session.count(text), 1U) << text << "\n--- screen:\n" << session.screen();
        if (!c.absent.empty()) {
            EXPECT_EQ(session.count(c.absent), 0U) << c.absent;
        }
        session.type("<esc>");
        EXPECT_TRUE(exited_with(session.wait_exit(), 0));
        EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
    }
}

TEST(InteractiveRules, ListingThreeShowsTheQueuesInUse) {
    TempDir dir;
    dir.write("processo.txt", "9\nA 0 0 1\n3\n");
    PtySession session(binary, dir.path(), {.arguments = {"--filas", "2"}});
    ASSERT_TRUE(session.wait_for(menu_tail));
    session.type("3");
    ASSERT_TRUE(session.wait_for_end("\n\n Fila de Prontos 1\n Fila de Prontos 2"));
    session.type("x<esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    EXPECT_EQ(session.count("Fila de Prontos 3"), 0U);
}

} // namespace
} // namespace mlfq::testing
