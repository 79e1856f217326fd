// Where report mode's output files go: what is on disk after each kind of target, and
// that nothing is left behind by a signal or a file-size limit.
#include "support/program_run.h"
#include "support/pty_session.h"
#include "support/temp_dir.h"

#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace mlfq::testing {
namespace {

namespace fs = std::filesystem;
const std::string binary = MLFQ_BINARY;
const std::string workload = "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n";

std::string file_text(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Hidden files left in a folder: the temporary files of a write.
std::size_t hidden_files(const fs::path& folder) {
    std::size_t n = 0;
    for (const auto& entry : fs::directory_iterator(folder))
        n += entry.path().filename().string().starts_with(".");
    return n;
}

TEST(OutputFiles, EachKindOfTargetEndsAsItShould) {
    const std::string long_name = std::string(246, 'x') + ".svg"; // 250 bytes
    struct Case {
        const char* title;
        std::function<void(const fs::path&)> before;
        std::vector<std::string> arguments;
        int status;
        std::function<void(const fs::path&, const ProgramRun&)> after;
    };
    const auto is_svg = [](const fs::path& p) {
        return file_text(p).starts_with("<?xml") && file_text(p).ends_with("</svg>\n");
    };
    const Case cases[] = {
        {"a regular file is replaced",
         [](const fs::path& d) { std::ofstream(d / "g.svg") << "old"; },
         {"--svg", "g.svg"},
         0,
         [&](const fs::path& d, const ProgramRun&) { EXPECT_TRUE(is_svg(d / "g.svg")); }},
        {"a missing file is created",
         nullptr,
         {"--html", "p.HTM"},
         0,
         [](const fs::path& d, const ProgramRun&) {
             EXPECT_TRUE(file_text(d / "p.HTM").starts_with("<!DOCTYPE html>"));
         }},
        {"a link to a file: the file is replaced, the link stays",
         [](const fs::path& d) {
             fs::create_directory(d / "sub");
             std::ofstream(d / "sub" / "real.svg") << "old";
             fs::create_symlink("sub/real.svg", d / "link.svg");
         },
         {"--svg", "link.svg"},
         0,
         [&](const fs::path& d, const ProgramRun&) {
             EXPECT_TRUE(fs::is_symlink(d / "link.svg"));
             EXPECT_TRUE(is_svg(d / "sub" / "real.svg"));
             EXPECT_EQ(hidden_files(d / "sub"), 0U);
         }},
        {"a dangling link: the file it names is made",
         [](const fs::path& d) { fs::create_symlink("made.svg", d / "dangling.svg"); },
         {"--svg", "dangling.svg"},
         0,
         [&](const fs::path& d, const ProgramRun&) {
             EXPECT_TRUE(fs::is_symlink(d / "dangling.svg"));
             EXPECT_TRUE(is_svg(d / "made.svg"));
         }},
        {"a FIFO is written into, never replaced",
         [](const fs::path& d) { ASSERT_EQ(::mkfifo((d / "fifo").c_str(), 0600), 0); },
         {"--svg", "fifo"},
         0,
         [](const fs::path& d, const ProgramRun&) { EXPECT_TRUE(fs::is_fifo(d / "fifo")); }},
        {"a device is written into, never replaced",
         nullptr,
         {"--html", "/dev/null"},
         0,
         [](const fs::path&, const ProgramRun&) {
             EXPECT_TRUE(fs::is_character_file("/dev/null"));
         }},
        {"- is standard output",
         nullptr,
         {"--svg", "-"},
         0,
         [](const fs::path&, const ProgramRun& r) { EXPECT_TRUE(r.output.starts_with("<?xml")); }},
        {"the same file twice",
         nullptr,
         {"--svg", "x.svg", "--html", "x.svg"},
         64,
         [](const fs::path& d, const ProgramRun&) { EXPECT_FALSE(fs::exists(d / "x.svg")); }},
        {"a wrong extension",
         nullptr,
         {"--svg", "processo.txt"},
         64,
         [](const fs::path& d, const ProgramRun&) {
             EXPECT_EQ(file_text(d / "processo.txt"), workload);
         }},
        {"a 250-byte name",
         nullptr,
         {"--svg", long_name},
         0,
         [&](const fs::path& d, const ProgramRun& r) {
             EXPECT_TRUE(is_svg(d / long_name)) << r.errors;
         }},
        {"a private file stays private",
         [](const fs::path& d) {
             std::ofstream(d / "p.svg") << "old";
             fs::permissions(d / "p.svg", fs::perms::owner_read | fs::perms::owner_write);
         },
         {"--svg", "p.svg"},
         0,
         [&](const fs::path& d, const ProgramRun&) {
             EXPECT_TRUE(is_svg(d / "p.svg"));
             EXPECT_EQ(fs::status(d / "p.svg").permissions(),
                       fs::perms::owner_read | fs::perms::owner_write);
         }},
        {"a folder in the way",
         [](const fs::path& d) { fs::create_directory(d / "d.svg"); },
         {"--svg", "d.svg"},
         73,
         [](const fs::path& d, const ProgramRun& r) {
             EXPECT_TRUE(fs::is_directory(d / "d.svg"));
             EXPECT_NE(r.errors.find("e uma pasta"), std::string::npos) << r.errors;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        TempDir dir;
        dir.write("processo.txt", workload);
        if (c.before)
            c.before(dir.path());
        std::thread reader;
        if (fs::is_fifo(dir.path() / "fifo")) // the FIFO's reader, as a pipeline would have
            reader = std::thread(
                [&] { EXPECT_TRUE(file_text(dir.path() / "fifo").starts_with("<?xml")); });
        const ProgramRun r = run_command(binary, dir.path(), c.arguments);
        if (reader.joinable())
            reader.join();
        EXPECT_TRUE(exited_with(r.status, c.status)) << r.status << r.errors;
        c.after(dir.path(), r);
        EXPECT_EQ(hidden_files(dir.path()), 0U);
        EXPECT_EQ(file_text(dir.path() / "processo.txt"), workload);
    }
}

// A big report cut short, by a signal at any moment or by a file-size limit, leaves no
// temporary file behind.
TEST(OutputFiles, NothingLeftBehindWhenAWriteIsCutShort) {
    TempDir dir;
    const ProgramRun generated =
        run_command(binary, dir.path(), {"--gerar", "3000", "--semente", "1"});
    dir.write("big.txt", generated.output);

    const ProgramRun limited = run_command(
        "/bin/sh", dir.path(),
        {"-c", "ulimit -f 64; exec \"$0\" --svg big.svg --html big.html big.txt", binary});
    EXPECT_TRUE(exited_with(limited.status, 73)) << limited.status << limited.errors;
    EXPECT_NE(limited.errors.find("arquivo grande demais"), std::string::npos) << limited.errors;
    const ProgramRun limited_out =
        run_command("/bin/sh", dir.path(),
                    {"-c", "ulimit -f 64; exec \"$0\" --json big.txt > out.json", binary});
    EXPECT_TRUE(exited_with(limited_out.status, 74)) << limited_out.status << limited_out.errors;
    EXPECT_EQ(hidden_files(dir.path()), 0U);

    for (int signal_number : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGPIPE}) {
        for (int delay_ms : {30, 90, 150, 250}) {
            const pid_t pid = ::fork();
            if (pid == 0) {
                ::chdir(dir.path().c_str());
                ::execl(binary.c_str(), binary.c_str(), "--html", "big.html", "--svg", "big.svg",
                        "big.txt", static_cast<char*>(nullptr));
                _exit(127);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
            ::kill(pid, signal_number);
            int status = 0;
            ::waitpid(pid, &status, 0);
            EXPECT_TRUE(exited_with(status, 0) || killed_by(status, signal_number)) << status;
            EXPECT_EQ(hidden_files(dir.path()), 0U) << signal_number << " after " << delay_ms;
        }
    }
}

// A file name with an escape sequence never reaches a terminal or a document raw.
TEST(OutputFiles, AFileNameWithAnEscapeIsShownEscaped) {
    TempDir dir;
    const std::string name = "a\x1b]0;titulo\x07\tb.txt";
    dir.write(name, workload);
    const ProgramRun text = run_command(binary, dir.path(), {"-r", name});
    EXPECT_NE(text.output.find("Arquivo   : a\\x1B]0;titulo\\x07\\x09b.txt\n"), std::string::npos)
        << text.output;
    ASSERT_TRUE(exited_with(
        run_command(binary, dir.path(), {"--svg", "g.svg", "--html", "p.html", name}).status, 0));
    for (const char* output : {"g.svg", "p.html"}) {
        const std::string document = file_text(dir.path() / output);
        EXPECT_EQ(document.find_first_of("\x1b\x07\t"), std::string::npos) << output;
        EXPECT_NE(document.find("a\\x1B]0;titulo\\x07\\x09b.txt"), std::string::npos) << output;
    }
}

// Every seed the generator prints is one --semente takes back, for the same bytes.
TEST(OutputFiles, APrintedSeedGivesTheSameWorkloadBack) {
    TempDir dir;
    const ProgramRun first = run_command(binary, dir.path(), {"--gerar", "20"});
    const std::size_t at = first.errors.find("--semente ");
    ASSERT_NE(at, std::string::npos) << first.errors;
    const std::string seed =
        first.errors.substr(at + 10, first.errors.find(' ', at + 10) - at - 10);
    const ProgramRun again = run_command(binary, dir.path(), {"--gerar", "20", "--semente", seed});
    EXPECT_TRUE(exited_with(again.status, 0)) << again.errors;
    EXPECT_EQ(again.output, first.output);
    EXPECT_TRUE(exited_with(
        run_command(binary, dir.path(), {"--gerar", "1", "--semente", "9223372036854775807"})
            .status,
        0));
}

} // namespace
} // namespace mlfq::testing

namespace mlfq::testing {
namespace {

// A name saved by a Windows editor shows on the screens as the reports show it, converted
// to UTF-8; no byte from 0x80 to 0x9F reaches the terminal raw.
TEST(Screens, WindowsNamesAreShownAsUtf8) {
    TempDir dir;
    dir.write("processo.txt", "3\nS\xe9rgio 0 0 1\n2\n\x93Z\x94 0 0 1\n1\n");
    PtySession session(binary, dir.path());
    session.type("1");
    ASSERT_TRUE(session.wait_for("\n \xe2\x80\x9cZ\xe2\x80\x9d 00 0 01 00")) << session.screen();
    session.type("xc");
    ASSERT_TRUE(session.wait_for("Processo S\xc3\xa9rgio entrou na fila de prontos no tempo: 0"));
    EXPECT_NE(session.screen().find("\n S\xc3\xa9rgio 00 0 02 00"), std::string::npos);
    session.type("<esc>");
    EXPECT_EQ(session.screen().find('\x93'), std::string::npos);
}

} // namespace
} // namespace mlfq::testing
