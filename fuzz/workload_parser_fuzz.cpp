// Any text either loads, and then loads again to the same state when printed back in the
// workload format, or is rejected with a readable message and leaves nothing loaded. An
// accepted text has no CR inside a line and no control character in a name.
#include "fuzz_check.h"
#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "model/workload_parser.h"
#include "util/byte_text.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace {

using namespace mlfq;

// The loaded state written back as a workload file.
std::string printed_workload() {
    std::string text = std::to_string(scheduler.quantum) + "\n";
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
        text += std::string(p->name) + " " + std::to_string(p->arrival) + " " +
                std::to_string(p->extra) + " " + std::to_string(length(p->bursts)) + "\n";
        for (const Burst* b = first(p->bursts); b != nullptr; b = b->next) {
            text += std::to_string(b->cpu);
            text += b->next != nullptr ? " " + std::to_string(b->io) + "\n" : "\n";
        }
    }
    return text;
}

std::optional<WorkloadError> parse_fresh(std::string_view text) {
    reset_scheduler();
    scheduler.not_dispatched = new_process_node();
    return parse_workload(text);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (const auto error = parse_fresh(text)) {
        FUZZ_CHECK(error->line >= 1);
        FUZZ_CHECK(!error->message.empty());
        FUZZ_CHECK(printable_text(error->message) == error->message); // no control character
        FUZZ_CHECK(is_empty(scheduler.not_dispatched));
        FUZZ_CHECK(scheduler.quantum == 0);
    } else {
        // Every CR of an accepted text ends a line, or the text.
        const std::string_view seen = text.substr(0, text.find('\x1a'));
        for (std::size_t i = seen.find('\r'); i != std::string_view::npos;
             i = seen.find('\r', i + 1))
            FUZZ_CHECK(i + 1 == seen.size() || seen[i + 1] == '\n');
        for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
            // No control character in a name that was accepted, nor in the name as it is
            // shown (a name that is not UTF-8 is read as Windows-1252): no C0, no DEL, no C1,
            // none of the bytes Windows-1252 leaves undefined, no U+FFFE or U+FFFF.
            const std::string name = p->name;
            const std::string shown = to_utf8(name);
            const bool utf8 = shown == name;
            for (std::size_t i = 0; i < name.size(); ++i) {
                const auto byte = static_cast<unsigned char>(name[i]);
                FUZZ_CHECK(byte >= 0x20 && byte != 0x7F);
                FUZZ_CHECK(utf8 || (byte != 0x81 && byte != 0x8D && byte != 0x8F && byte != 0x90 &&
                                    byte != 0x9D));
            }
            for (std::size_t i = 0; i + 1 < shown.size(); ++i)
                FUZZ_CHECK(static_cast<unsigned char>(shown[i]) != 0xC2 ||
                           static_cast<unsigned char>(shown[i + 1]) >= 0xA0);
            FUZZ_CHECK(shown.find("\xEF\xBF\xBE") == std::string::npos &&
                       shown.find("\xEF\xBF\xBF") == std::string::npos);
            FUZZ_CHECK(!is_empty(p->bursts));
            FUZZ_CHECK(p->arrival >= 0);
            FUZZ_CHECK(last_node(p->bursts)->io == 0);
            FUZZ_CHECK(p->next == nullptr || p->arrival <= p->next->arrival);
        }
        const std::string printed = printed_workload();
        const auto again = parse_fresh(printed);
        FUZZ_CHECK(!again.has_value());
        FUZZ_CHECK(printed_workload() == printed);
    }
    reset_scheduler();
    return 0;
}
