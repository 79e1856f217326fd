// End-to-end tests of what could break the terminal or the program: signals, stops,
// random keys at every prompt, and a real memory limit.
#include "support/pty_session.h"
#include "support/screens.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <random>
#include <string>
#include <sys/wait.h>
#include <thread>

namespace mlfq::testing {
namespace {

const std::string binary = MLFQ_BINARY;
const std::string example = "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\nC 2 0 3\n1 2\n1 1\n2\n";

class Hardening : public ::testing::Test {
protected:
    Hardening() { dir.write("processo.txt", example); }
    TempDir dir;
};

TEST_F(Hardening, EndingSignalsRestoreTheTerminalAndEndTheProcess) {
    // The interrupt keys and hang-up, and one of each further class: a user signal, a
    // resource limit, a crash signal.
    for (int signal_number : {SIGTERM, SIGHUP, SIGQUIT, SIGINT, SIGUSR1, SIGXCPU, SIGSEGV}) {
        SCOPED_TRACE(strsignal(signal_number));
        PtySession session(binary, dir.path());
        ASSERT_TRUE(session.wait_for(menu_tail));
        ASSERT_TRUE(session.wait_for_key_read());
        session.send_signal(signal_number);
        const int status = session.wait_exit();
        EXPECT_TRUE(killed_by(status, signal_number)) << status;
        EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
        EXPECT_EQ(session.screen(), status_screen(0, 3, 0, 0)) << "nothing written after";
    }
}

TEST_F(Hardening, InterruptKeyBetweenReadsEndsTheProgramWithTheTerminalRestored) {
    PtySession session(binary, dir.path());
    ASSERT_TRUE(session.wait_for(menu_tail));
    ASSERT_TRUE(session.wait_for_key_read());
    session.type("c");
    ASSERT_TRUE(session.wait_for_end(tab_prompt));
    // SIGINT while a TAB prompt is being written or read: either way the terminal is back.
    session.send_signal(SIGINT);
    const int status = session.wait_exit();
    EXPECT_TRUE(killed_by(status, SIGINT));
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

TEST_F(Hardening, StoppedProgramLeavesTheTerminalUsableAndTakesItBackOnContinue) {
    PtySession session(binary, dir.path(), {.job_control = true});
    ASSERT_TRUE(session.wait_for(menu_tail));
    ASSERT_TRUE(session.wait_for_key_read());
    session.send_signal(SIGTSTP); // Ctrl+Z as the terminal sends it outside a read
    ASSERT_TRUE(session.wait_until([&] { return session.process_state() == 'T'; }));
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()))
        << "the shell gets the terminal back as it was";
    session.send_signal(SIGCONT); // fg
    ASSERT_TRUE(session.wait_until([&] { return (session.settings().c_lflag & ECHO) == 0; }))
        << "no echo again once continued";
    session.type("c<tab><tab>");
    ASSERT_TRUE(session.wait_for(status_screen(1, 3, 2, 0)));
    EXPECT_EQ(session.count("c<tab>"), 0U);
    session.type("<esc>");
    const int status = session.wait_exit();
    EXPECT_TRUE(exited_with(status, 0)) << status;
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

// Random keys at each kind of prompt. Bytes that the terminal itself turns into signals
// outside a key read (Ctrl+C, Ctrl+Z, Ctrl+\) are left out, and so is anything that
// would end the program early: a lone ESC at the menu, a TAB at a TAB prompt.
class RandomTypist {
public:
    enum class Where { menu, tab_prompt, after_listing };

    explicit RandomTypist(unsigned seed) : rng_(seed) {}

    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }

    // One random key or fragment; `pause_after` when it must not run into the next.
    std::string token(Where where, bool& pause_after) {
        static const char* const sequences[] = {"\x1b[A",    "\x1bOB",   "\x1b[5~", "\x1b[[C",
                                                "\x1b[1;5D", "\x1b[99~", "\x1bx",   "\x1b[Z"};
        pause_after = false;
        for (;;) {
            switch (below(6)) {
            case 0: {
                const char c = static_cast<char>(0x20 + below(0x5F));
                if (where == Where::menu && (c == 'c' || (c >= '1' && c <= '5')))
                    continue;
                return std::string(1, c);
            }
            case 1: {
                const int c = below(33) == 32 ? 0x7F : below(32);
                if (c == 0x1B || c == 3 || c == 0x1A || c == 0x1C || c == 0x16 ||
                    (c == '\t' && where == Where::tab_prompt))
                    continue;
                return std::string(1, static_cast<char>(c));
            }
            case 2:
                return sequences[below(std::size(sequences))];
            case 3:
                pause_after = true;
                return std::string("\x1b[") + std::string(static_cast<std::size_t>(below(3)), '2');
            case 4:
                if (where == Where::menu)
                    continue;
                pause_after = true;
                return "\x1b";
            default:
                return std::string(1, static_cast<char>(0x80 + below(0x80)));
            }
        }
    }

private:
    std::mt19937 rng_;
};

void type_token(PtySession& session, const std::string& bytes, bool pause_after) {
    session.type(bytes);
    if (pause_after) // longer than the time that tells a lone ESC from a sequence
        std::this_thread::sleep_for(std::chrono::milliseconds(130));
}

TEST_F(Hardening, RandomKeysAtEveryPromptNeitherCrashNorSpin) {
    using Where = RandomTypist::Where;
    RandomTypist typist(20261209);
    PtySession session(binary, dir.path());
    const auto pauses = [&] { return session.count(tab_prompt) + session.count(menu_tail); };
    ASSERT_TRUE(session.wait_for(menu_tail));
    for (int round = 0; round < 60; ++round) {
        SCOPED_TRACE(round);
        const std::size_t seen = pauses();
        const auto next_pause = [&] { return session.wait_until([&] { return pauses() > seen; }); };
        bool pause_after = false;
        if (session.screen().ends_with(tab_prompt)) {
            for (int n = typist.below(5); n > 0; --n) {
                const std::string junk = typist.token(Where::tab_prompt, pause_after);
                type_token(session, junk, pause_after);
            }
            session.type("<tab>");
            ASSERT_TRUE(next_pause()) << session.screen();
            continue;
        }
        ASSERT_TRUE(session.screen().ends_with(menu_tail)) << session.screen();
        switch (typist.below(3)) {
        case 0: {
            for (int n = 1 + typist.below(5); n > 0; --n) {
                const std::string junk = typist.token(Where::menu, pause_after);
                type_token(session, junk, pause_after);
            }
            // A listing shows that every key before it has been read.
            const std::size_t listings = session.count("executando na UCP ");
            session.type("2");
            ASSERT_TRUE(session.wait_for("executando na UCP ", static_cast<int>(listings) + 1));
            const std::size_t before = pauses();
            session.type("x");
            ASSERT_TRUE(session.wait_until([&] { return pauses() > before; }));
            break;
        }
        case 1:
            session.type("c");
            ASSERT_TRUE(next_pause()) << session.screen();
            break;
        default: {
            session.type(std::string(1, static_cast<char>('1' + typist.below(5))));
            const std::string junk = typist.token(Where::after_listing, pause_after);
            type_token(session, junk, pause_after);
            ASSERT_TRUE(next_pause()) << session.screen();
            break;
        }
        }
    }
    while (session.screen().ends_with(tab_prompt)) {
        const std::size_t seen = pauses();
        session.type("<tab>");
        ASSERT_TRUE(session.wait_until([&] { return pauses() > seen; }));
    }
    ASSERT_TRUE(session.wait_for_key_read());
    const long busy_before = session.cpu_ticks();
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // measuring, not waiting
    EXPECT_LE(session.cpu_ticks() - busy_before, 3) << "the program spins while it waits";
    session.type("<esc>");
    const int status = session.wait_exit();
    EXPECT_TRUE(exited_with(status, 0)) << status << session.screen();
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

TEST_F(Hardening, AWorkloadTooLargeForMemoryEndsWithStatusTwo) {
#ifdef MLFQ_SANITIZED
    GTEST_SKIP() << "the sanitizers reserve more address space than the limit allows";
#endif
    // Half a million processes need about 70 MiB of records; the program gets 32 MiB.
    // Arrivals fall, so that each one is inserted at the front and loading stays fast.
    std::string workload = "3\n";
    for (int arrival = 500'000; arrival > 0; --arrival)
        workload += "P " + std::to_string(arrival) + " 0 1\n1\n";
    dir.write("processo.txt", workload);
    PtySession session(binary, dir.path(), {.address_space_limit = 32UL << 20});
    const int status = session.wait_exit();
    EXPECT_TRUE(exited_with(status, 2)) << status;
    EXPECT_EQ(session.screen(), "\n Erro alocando memoria ");
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

} // namespace
} // namespace mlfq::testing
