#include "console/main_menu.h"

#include "support/screens.h"
#include "support/simulator_fixture.h"

#include <gtest/gtest.h>

namespace mlfq::testing {
namespace {

using MainMenu = SimulatorTest;

TEST_F(MainMenu, StatusScreenAfterLoading) {
    load("5\nA 0 0 1\n3\n");
    show_status_screen();
    EXPECT_EQ(console.take_output(), status_screen(0, 5, 0, 0));
}

TEST_F(MainMenu, AverageWaitIsTruncatedAndWide) {
    struct Case {
        std::int64_t wait_sum, finished_count, shown;
    };
    const Case cases[] = {{0, 0, 0}, {7, 2, 3}, {5, 5, 1}, {1, 3, 0}, {10000000000, 2, 5000000000}};
    load("1\n");
    for (const Case& c : cases) {
        scheduler.wait_sum = c.wait_sum;
        scheduler.finished_count = c.finished_count;
        show_status_screen();
        EXPECT_NE(
            console.take_output().find(format_text(" Tempo medio de Espera : %d \n", c.shown)),
            std::string::npos);
    }
}

TEST_F(MainMenu, KeysOtherThanCommandsOnlyRedraw) {
    load("4\nA 0 0 1\n3\n");
    // Upper-case C, TAB, an arrow (two codes) and Ctrl+C: five redraws, nothing else.
    console.type("C\t<up>\x03");
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(main_menu_once());
    EXPECT_EQ(console.take_output(), [] {
        std::string five;
        for (int i = 0; i < 5; ++i)
            five += status_screen(0, 4, 0, 0);
        return five;
    }());
    EXPECT_EQ(scheduler.clock, 0);
}

TEST_F(MainMenu, EscapeEndsOnlyOnTheStatusScreen) {
    load("4\nA 0 0 1\n3\n");
    console.type("1<esc>");
    EXPECT_TRUE(main_menu_once()) << "ESC after a listing returns to the menu";
    console.type("c<tab><esc><tab>");
    EXPECT_TRUE(main_menu_once()) << "ESC during a TAB wait is ignored";
    EXPECT_EQ(scheduler.clock, 1);
    EXPECT_TRUE(console.keys.empty());
    console.type("<esc>");
    EXPECT_FALSE(main_menu_once());
}

TEST_F(MainMenu, KeyCStepsTheClockAndRedrawsAtOnce) {
    load("4\nA 0 0 1\n3\n");
    console.type("c\t\t");
    EXPECT_TRUE(main_menu_once());
    console.type("<esc>");
    EXPECT_FALSE(main_menu_once());
    EXPECT_EQ(console.take_output(),
              status_screen(0, 4, 0, 0) +
                  "\n\n Processo A entrou na fila de prontos no tempo: 0<tab>"
                  "\n\n Processo A entrou para execucao no tempo 0 <tab>" +
                  status_screen(1, 4, 3, 0));
}

} // namespace
} // namespace mlfq::testing
