#include "support/scripted_console.h"

#include "console/key_decoder.h"

#include <cstdio>
#include <cstdlib>

namespace mlfq::testing {

int ScriptedConsole::read_key() {
    ++keys_read;
    if (keys.empty()) {
        if (tab_when_idle)
            return key_tab;
        std::fprintf(stderr, "scripted console: the script ran out of keys\n");
        std::abort();
    }
    const int code = keys.front();
    keys.pop_front();
    return code;
}

void ScriptedConsole::type(std::string_view script) {
    struct Named {
        std::string_view name;
        std::deque<int> codes;
    };
    const Named named[] = {{"<esc>", {key_escape}}, {"<tab>", {key_tab}}, {"<up>", {0, key::up}}};
    while (!script.empty()) {
        bool matched = false;
        for (const Named& n : named) {
            if (script.starts_with(n.name)) {
                keys.insert(keys.end(), n.codes.begin(), n.codes.end());
                script.remove_prefix(n.name.size());
                matched = true;
            }
        }
        if (!matched) {
            keys.push_back(static_cast<unsigned char>(script.front()));
            script.remove_prefix(1);
        }
    }
}

std::string ScriptedConsole::take_output() {
    constexpr std::string_view prompt = "\n Pressione TAB para continuar ";
    std::string shown;
    for (std::size_t at = 0; at < output.size();) {
        if (std::string_view(output).substr(at).starts_with(prompt)) {
            shown += "<tab>";
            at += prompt.size();
        } else {
            shown += output[at++];
        }
    }
    output.clear();
    return shown;
}

} // namespace mlfq::testing
