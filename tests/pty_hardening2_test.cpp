// End-to-end tests of the second hardening round: blocked output across a stop, a job
// sent to the background, failed writes, and every kind of file.
#include "support/program_run.h"
#include "support/pty_session.h"
#include "support/screens.h"
#include "support/temp_dir.h"
#include "util/text_format.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mlfq::testing {
namespace {

const std::string binary = MLFQ_BINARY;

class HardeningTwo : public ::testing::Test {
protected:
    HardeningTwo() { dir.write("processo.txt", "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n"); }
    TempDir dir;
};

// A listing far longer than the terminal's buffer, stopped and continued while the
// program is blocked writing it: every byte still arrives, in order.
TEST_F(HardeningTwo, StopAndContinueWithBlockedOutputLoseNothing) {
    std::string workload = "3\n", listing = "\n\n Fila de Processos nao disparados ";
    for (int i = 0; i < 4000; ++i) {
        workload += format_text("P%d %d 0 1\n7\n", i, i);
        listing += format_text("\n P%d %02d 0 07 00", i, i);
    }
    dir.write("processo.txt", workload);
    PtySession session(binary, dir.path(), {.job_control = true});
    ASSERT_TRUE(session.wait_for(menu_tail));
    ASSERT_TRUE(session.wait_for_key_read());
    session.type("1");
    std::this_thread::sleep_for(std::chrono::milliseconds(300)); // nothing read: it blocks
    session.send_signal(SIGTSTP);
    ASSERT_TRUE(session.wait_until([&] { return session.process_state() == 'T'; }));
    session.send_signal(SIGCONT);
    ASSERT_TRUE(session.wait_for(listing)) << session.screen().substr(0, 400);
    session.type("x<esc>");
    EXPECT_TRUE(exited_with(session.wait_exit(), 0));
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

// Ctrl+Z, then bg, then kill: the job ends, and the terminal is as the shell had it.
TEST_F(HardeningTwo, AJobInTheBackgroundCanBeEnded) {
    PtySession session(binary, dir.path(), {.job_control = true});
    ASSERT_TRUE(session.wait_for(menu_tail));
    ASSERT_TRUE(session.wait_for_key_read());
    session.send_signal(SIGTSTP);
    ASSERT_TRUE(session.wait_until([&] { return session.process_state() == 'T'; }));
    session.background();
    // It goes on waiting for a key, without touching the terminal: a change of settings
    // from the background would stop it again (SIGTTOU) for good.
    ASSERT_TRUE(session.wait_until([&] { return session.process_state() == 'S'; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(session.process_state(), 'S');
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
    session.send_signal(SIGTERM); // kill %1
    const int status = session.wait_exit();
    EXPECT_TRUE(killed_by(status, SIGTERM)) << status;
    EXPECT_TRUE(same_settings(session.settings(), session.initial_settings()));
}

// The program with standard output on /dev/full and standard input from /dev/null.
int status_with_full_disk(const std::filesystem::path& directory,
                          const std::vector<std::string>& arguments, std::string& errors) {
    const ProgramRun run = run_command(binary, directory, arguments, "/dev/null", "/dev/full");
    errors = run.errors;
    return run.status;
}

TEST_F(HardeningTwo, AFailedWriteIsNeverASuccess) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{}, {"-r"}, {"--json"}, {"--ajuda"}}) {
        std::string errors;
        const int status = status_with_full_disk(dir.path(), arguments, errors);
        EXPECT_TRUE(exited_with(status, 74)) << status << " " << errors;
        EXPECT_NE(errors.find("erro ao escrever na saida padrao: nao ha espaco no dispositivo"),
                  std::string::npos)
            << errors;
    }
}

// A workload that arrives through a pipe, fed by `feed` on another thread.
ProgramRun run_from_pipe(const std::filesystem::path& directory,
                         const std::function<void(int)>& feed) {
    int fds[2]; // close-on-exec: the program must not hold the writing end itself
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return {};
    std::thread writer([&] {
        feed(fds[1]);
        ::close(fds[1]);
    });
    const std::string input = "/proc/self/fd/" + std::to_string(fds[0]);
    ProgramRun run = run_command(binary, directory, {"--json", "/dev/stdin"}, input);
    ::close(fds[0]);
    writer.join();
    return run;
}

TEST_F(HardeningTwo, OnlyFilesAndPipesAreRead) {
    ::signal(SIGPIPE, SIG_IGN); // the feeding thread sees EPIPE when the program is gone
    // Devices, sockets and directories: the open error at once, in both modes.
    const std::string socket_path = (dir.path() / "sock").string();
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socket_path.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    for (const char* path : {"/dev/zero", "/dev/null", "sock", "/tmp"}) {
        SCOPED_TRACE(path);
        const ProgramRun report = run_command(binary, dir.path(), {"--json", path});
        EXPECT_TRUE(exited_with(report.status, 1)) << report.status;
        EXPECT_TRUE(report.errors.starts_with(" ERRO AO ABRIR ARQUIVO \nmlfq: ")) << report.errors;
        const ProgramRun interactive = run_command(binary, dir.path(), {path});
        EXPECT_TRUE(exited_with(interactive.status, 1));
        EXPECT_EQ(interactive.output, " ERRO AO ABRIR ARQUIVO ");
    }
    ::close(sock);

    // A FIFO that nobody writes to reads as empty, without waiting.
    ASSERT_EQ(::mkfifo((dir.path() / "fifo").c_str(), 0600), 0);
    const ProgramRun no_writer = run_command(binary, dir.path(), {"--json", "fifo"});
    EXPECT_TRUE(exited_with(no_writer.status, 0)) << no_writer.errors;
    EXPECT_NE(no_writer.output.find("\"processos\": []"), std::string::npos);

    // A pipe is read to its end, like a file.
    const ProgramRun piped = run_from_pipe(dir.path(), [](int fd) {
        if (::write(fd, "3\n", 2) < 0)
            return;
        for (int i = 0; i < 4000; ++i) { // more than a pipe holds at once
            const std::string entry = format_text("P%d %d 0 1\n1\n", i, i);
            if (::write(fd, entry.data(), entry.size()) < 0)
                return;
        }
    });
    EXPECT_TRUE(exited_with(piped.status, 0)) << piped.errors;
    EXPECT_NE(piped.output.find("\"nome\":\"P3999\""), std::string::npos);

    // An endless stream is refused as soon as it passes the limit.
    const ProgramRun endless = run_from_pipe(dir.path(), [](int fd) {
        const std::string chunk(1 << 16, ' ');
        while (::write(fd, chunk.data(), chunk.size()) > 0) {
        }
    });
    EXPECT_TRUE(exited_with(endless.status, 3)) << endless.status;
    EXPECT_NE(endless.errors.find("passa do limite de 64 MiB"), std::string::npos);
}

} // namespace
} // namespace mlfq::testing
