// The web page's driver of the interactive session: the same screens, fed the bytes the
// page's terminal sends, with everything the page shows beside the terminal. Pure C++:
// web_exports.cpp makes it callable from JavaScript.
#pragma once

#include "console/console.h"
#include "console/key_decoder.h"
#include "console/session.h"
#include "model/scheduling_rules.h"
#include "report/run_record.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace mlfq {

// Text the session writes, kept as the bytes the native program writes to standard
// output.
class CapturedConsole final : public Console {
public:
    void write(std::string_view text) override { bytes.append(text); }
    void clear() override { bytes += "\x1b[H\x1b[2J"; }
    int read_key() override { return key_escape; } // never called: the session is fed keys
    std::string bytes;
};

struct LoadError {
    std::int64_t line = 0; // 0: the options, not the workload
    std::string message;
};

class WebSession {
public:
    // A fresh session showing the first status screen, or why the workload or the options
    // cannot be used.
    std::optional<LoadError> load(std::string workload, const std::vector<std::string>& words);

    // Bytes as typed; a pending ESC waits for pause().
    void keys(std::string_view bytes);
    // Tells that `ms` passed with no byte: a lone ESC becomes a key.
    void pause(int ms);
    bool pending() const { return decoder_.pending(); }
    int escape_ms() const { return decoder_.escape_timeout_ms(); }

    // Every byte written since load.
    const std::string& output() const { return console_.bytes; }
    // The exit status once the session ended (ESC), else none.
    std::optional<int> status() const;

    // Page controls: one clock step back (a replay to the step before), and N clock steps
    // run with every TAB answered (N < 0: to the end).
    void back();
    void run(std::int64_t steps);

    // The run so far: the chart, and the queues and processes as JSON.
    std::string chart_so_far() const;
    std::string state_json() const;
    // The whole run, as report mode writes it (JSON, SVG, HTML); the session goes on.
    std::string whole_run(int format);
    // The rules as options of the native program.
    std::string command_line() const;

private:
    void rebuild(std::size_t key_count);
    void feed(int code);

    std::string workload_;
    SchedulingRules rules_;
    KeyDecoder decoder_;
    CapturedConsole console_;
    RunRecord record_;
    std::unique_ptr<RunRecorder> recorder_;
    std::unique_ptr<Session> session_;
    std::vector<int> codes_;               // every key code fed since load
    std::vector<std::size_t> step_starts_; // where in codes_ each clock step began
    std::size_t last_step_events_ = 0;     // the first event of the last clock step
    bool loaded_ = false;
};

} // namespace mlfq
