#include "console/listings.h"

#include "console/main_menu.h"
#include "support/simulator_fixture.h"

#include <gtest/gtest.h>

namespace mlfq::testing {
namespace {

using Listings = SimulatorTest;

// What one listing writes, and nothing else.
template <class Show>
std::string written_by(ScriptedConsole& console, Show show) {
    console.output.clear();
    show();
    return console.take_output();
}

TEST_F(Listings, EmptyStateGivesOnlyTheTitles) {
    load("2\n");
    struct Case {
        void (*show)();
        std::string text;
    };
    const Case cases[] = {
        {show_not_dispatched, "\n\n Fila de Processos nao disparados "},
        {show_running, "\n\n executando na UCP "},
        {show_ready, "\n\n Fila de Prontos 1\n Fila de Prontos 2\n Fila de Prontos 3"
                     "\n Fila de Prontos 4"},
        {show_finished, ""},
        {show_io, "\n\n Processos em IO "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(written_by(console, c.show), c.text);
}

TEST_F(Listings, ProcessLinesUsePrintfConversions) {
    load("3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\nLongo 150 -5 2\n120 7\n1000\n");
    EXPECT_EQ(written_by(console, show_not_dispatched), "\n\n Fila de Processos nao disparados "
                                                        "\n A 00 10 04 02 03 00"
                                                        "\n B 01 20 05 00"
                                                        "\n Longo 150 -5 120 07 1000 00");
}

TEST_F(Listings, ListingsFollowTheSimulation) {
    load("3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n");
    steps(1);
    EXPECT_EQ(written_by(console, show_running), "\n\n executando na UCP \n A 00 10 03 02 03 00");
    EXPECT_EQ(written_by(console, show_not_dispatched),
              "\n\n Fila de Processos nao disparados \n B 01 20 05 00");
    steps(2); // A is demoted at clock 2, B waits in queue 1
    EXPECT_EQ(written_by(console, show_ready),
              "\n\n Fila de Prontos 1\n B 01 20 05 00\n Fila de Prontos 2\n A 00 10 02 02 03 00"
              "\n Fila de Prontos 3\n Fila de Prontos 4");
}

TEST_F(Listings, IoIsListedLatestFirstAndASpentBurstShowsAsZeros) {
    load("9\nX 0 0 2\n1 5\n1\nY 0 0 2\n1 5\n1\n");
    steps(4); // X enters I/O at 1, Y at 3
    EXPECT_EQ(written_by(console, show_io),
              "\n\n Processos em IO \n Y 00 0 00 04 01 00\n X 00 0 00 02 01 00");
    steps(2); // X's I/O ends at 5 and it waits in queue 1 with its spent burst
    EXPECT_EQ(written_by(console, show_ready),
              "\n\n Fila de Prontos 1\n X 00 0 00 00 01 00\n Fila de Prontos 2"
              "\n Fila de Prontos 3\n Fila de Prontos 4");
}

TEST_F(Listings, FinishedRecords) {
    load("4\nA 0 0 1\n3\n");
    steps(4);
    EXPECT_EQ(written_by(console, show_finished),
              "\n Nome: A  chegada:  0  espera:   0  turnaround:   3");
    reset_scheduler();
    load("0\nA 0 0 1\n3\nB 1 0 1\n250\n"); // B is dispatched at 4 and never preempted
    steps(255);
    EXPECT_EQ(written_by(console, show_finished),
              "\n Nome: A  chegada:  0  espera:   0  turnaround:   3"
              "\n Nome: B  chegada:  1  espera:   3  turnaround: 253");
}

TEST_F(Listings, MenuThrowsAwayTheKeyAfterAListing) {
    load("4\nA 0 0 1\n3\n");
    console.type("4<esc>");
    EXPECT_TRUE(main_menu_once());
    EXPECT_TRUE(console.keys.empty());
    // An arrow's first code is thrown away; its second redraws once more.
    console.type("2<up>");
    EXPECT_TRUE(main_menu_once());
    EXPECT_TRUE(main_menu_once());
    EXPECT_TRUE(console.keys.empty());
    const std::string out = console.take_output();
    EXPECT_NE(out.find("<clr>", out.find("executando na UCP")), std::string::npos)
        << "the arrow's second code redraws the menu";
}

} // namespace
} // namespace mlfq::testing
