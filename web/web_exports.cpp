// The page's calls into the simulator, for JavaScript: one session, strings passed as
// bytes with their lengths (the output holds bytes of any value).
#include "model/rule_table.h"
#include "web/web_session.h"

#include <emscripten/emscripten.h>

#include <string>
#include <vector>

namespace {

mlfq::WebSession session;
std::string result; // what the last call that returns text returned

// Words separated by '\n'.
std::vector<std::string> words_of(const char* text, int length) {
    std::vector<std::string> words;
    std::string word;
    for (int i = 0; i < length; ++i) {
        if (text[i] == '\n') {
            if (!word.empty())
                words.push_back(word);
            word.clear();
        } else {
            word += text[i];
        }
    }
    if (!word.empty())
        words.push_back(word);
    return words;
}

const char* give(std::string text) {
    result = std::move(text);
    return result.c_str();
}

} // namespace

extern "C" {

// Returns -1 when loaded, else the line of the error (0: the options); the message is
// then mlfq_result().
EMSCRIPTEN_KEEPALIVE int mlfq_load(const char* text, int length, const char* options,
                                   int options_length) {
    const auto error = session.load(std::string(text, static_cast<std::size_t>(length)),
                                    words_of(options, options_length));
    if (!error)
        return -1;
    give(error->message);
    return static_cast<int>(error->line);
}

EMSCRIPTEN_KEEPALIVE const char* mlfq_result() {
    return result.c_str();
}
EMSCRIPTEN_KEEPALIVE int mlfq_result_length() {
    return static_cast<int>(result.size());
}

EMSCRIPTEN_KEEPALIVE void mlfq_keys(const char* bytes, int length) {
    session.keys(std::string_view(bytes, static_cast<std::size_t>(length)));
}
EMSCRIPTEN_KEEPALIVE void mlfq_pause(int ms) {
    session.pause(ms);
}
EMSCRIPTEN_KEEPALIVE int mlfq_pending() {
    return session.pending() ? 1 : 0;
}
EMSCRIPTEN_KEEPALIVE int mlfq_escape_ms() {
    return session.escape_ms();
}

EMSCRIPTEN_KEEPALIVE const char* mlfq_output() {
    return session.output().data();
}
EMSCRIPTEN_KEEPALIVE int mlfq_output_length() {
    return static_cast<int>(session.output().size());
}
EMSCRIPTEN_KEEPALIVE int mlfq_status() {
    return session.status().value_or(-1);
}

EMSCRIPTEN_KEEPALIVE void mlfq_back() {
    session.back();
}
EMSCRIPTEN_KEEPALIVE void mlfq_run(int steps) {
    session.run(steps);
}

EMSCRIPTEN_KEEPALIVE const char* mlfq_chart() {
    return give(session.chart_so_far());
}
EMSCRIPTEN_KEEPALIVE const char* mlfq_state() {
    return give(session.state_json());
}
// 0: JSON, 1: SVG, 2: HTML.
EMSCRIPTEN_KEEPALIVE const char* mlfq_whole_run(int format) {
    return give(session.whole_run(format));
}
EMSCRIPTEN_KEEPALIVE const char* mlfq_command_line() {
    return give(session.command_line());
}

// The rule table, for the page's form: option, value name (null for a flag), help.
EMSCRIPTEN_KEEPALIVE const char* mlfq_rule_table() {
    std::string json = "[";
    for (const mlfq::RuleSpec& rule : mlfq::rule_table()) {
        if (json.size() > 1)
            json += ',';
        json += std::string("{\"opcao\":\"") + rule.option + "\",\"valor\":" +
                (rule.value_name != nullptr ? "\"" + std::string(rule.value_name) + "\"" : "null") +
                ",\"ajuda\":\"" + rule.help + "\"}";
    }
    return give(json + "]");
}

} // extern "C"
