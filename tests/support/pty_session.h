// Runs the real program on a pseudo-terminal: keys are typed by name ("c<tab><up>"),
// and what it writes reads as text, with its escape sequences named ("<clr>").
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <termios.h>
#include <vector>

namespace mlfq::testing {

// Key names and the bytes a terminal sends for them.
std::string key_bytes(std::string_view keys);

// Output with the clear-screen sequence shown as "<clr>" and CR LF as "\n".
std::string readable(std::string_view raw);

struct PtyOptions {
    // Run the program under a small shell of its own, in a process group of its own, so
    // that it can be stopped and continued as under a real shell with job control.
    bool job_control = false;
    // An address-space limit for the program, in bytes; 0 for none.
    unsigned long address_space_limit = 0;
    // Command-line arguments for the program.
    std::vector<std::string> arguments = {};
};

class PtySession {
public:
    // Starts `binary` in `directory` on a new pseudo-terminal in its usual cooked state.
    PtySession(const std::string& binary, const std::filesystem::path& directory,
               PtyOptions options = {});
    ~PtySession();
    PtySession(const PtySession&) = delete;
    PtySession& operator=(const PtySession&) = delete;

    void type(std::string_view keys);
    // Waits until `text` has appeared `count` times in the output (deadline: 20 s).
    bool wait_for(std::string_view text, int count = 1);
    // Waits until the output ends with `text`.
    bool wait_for_end(std::string_view text);
    // Waits until `done` holds, reading output meanwhile.
    bool wait_until(const std::function<bool()>& done);
    // Waits until the program is inside a key read (its terminal in the raw state), where
    // Ctrl+C is a key rather than an interrupt.
    bool wait_for_key_read();
    // Waits for the program to end; its wait status, or -1 when it did not end in time.
    int wait_exit();
    void send_signal(int signal_number) const;
    // Under job control: the shell's "bg" for a stopped program.
    void background() const;

    // Everything written so far, readable.
    std::string screen() const { return readable(raw_); }
    std::size_t count(std::string_view text) const;
    termios settings() const; // the terminal's settings now
    termios initial_settings() const { return initial_; }
    // The program's scheduling state from /proc: 'S' waiting, 'T' stopped, and so on.
    char process_state() const;
    // CPU time the program has used so far, in clock ticks.
    long cpu_ticks() const;

private:
    // Reads what is there, waiting up to `timeout`; false when nothing came.
    bool pump(std::chrono::milliseconds timeout);

    int master_ = -1;
    int slave_ = -1;
    pid_t pid_ = -1;     // our child: the program, or its small shell
    pid_t program_ = -1; // the program itself
    bool exited_ = false;
    int status_ = 0;
    termios initial_{};
    std::string raw_;
};

// A wait status of a program that ended by exit(code), or by the signal.
bool exited_with(int status, int code);
bool killed_by(int status, int signal_number);

// True when two sets of terminal settings are the same in every field that matters.
bool same_settings(const termios& a, const termios& b);

} // namespace mlfq::testing
