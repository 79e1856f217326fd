// Any text either loads, and then loads again to the same state when printed back in the
// workload format, or is rejected with a readable message and leaves nothing loaded.
#include "fuzz_check.h"
#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "model/workload_parser.h"

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
        for (char c : error->message)
            FUZZ_CHECK(c >= 0x20 && c < 0x7F);
        FUZZ_CHECK(is_empty(scheduler.not_dispatched));
        FUZZ_CHECK(scheduler.quantum == 0);
    } else {
        for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
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
