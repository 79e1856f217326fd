// A console for tests: output is captured as text, keys come from a script.
#pragma once

#include "console/console.h"

#include <deque>
#include <string>
#include <string_view>

namespace mlfq::testing {

class ScriptedConsole final : public Console {
public:
    ScriptedConsole() : previous_(set_console(this)) {}
    ~ScriptedConsole() override { set_console(previous_); }
    ScriptedConsole(const ScriptedConsole&) = delete;
    ScriptedConsole& operator=(const ScriptedConsole&) = delete;

    void write(std::string_view text) override { output.append(text); }
    void clear() override { output += "<clr>"; }
    // The next scripted key; TAB when the script is used up and `tab_when_idle` is set.
    // A test whose script runs out otherwise is wrong: it stops with a message.
    int read_key() override;

    // Queues keys: every character is one code; "<esc>", "<tab>" and "<up>" name keys.
    void type(std::string_view keys);
    // The output so far with every TAB prompt shown as "<tab>", and forgets it.
    std::string take_output();

    std::string output;
    std::deque<int> keys;
    bool tab_when_idle = false;
    int keys_read = 0;

private:
    Console* previous_;
};

} // namespace mlfq::testing
