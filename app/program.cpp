#include "app/modes.h"
#include "app/output_file.h"
#include "app/workload_generator.h"
#include "app/workload_loading.h"
#include "model/record_memory.h"
#include "model/rule_table.h"
#include "model/scheduler_state.h"
#include "model/workload_file.h"
#include "util/exit_status.h"
#include "util/system_error.h"
#include "util/text_format.h"
#include "util/write_all.h"

#include <cstdio>
#include <ctime>
#include <string_view>
#include <unistd.h>

#ifndef MLFQ_VERSION
#define MLFQ_VERSION "0"
#endif

namespace mlfq {

namespace {

// Without --semente the seed comes from the clock, and is told so that the same workload
// can be made again.
int run_generator(const Options& options) {
    std::uint64_t seed = 0;
    if (options.seed) {
        seed = *options.seed;
    } else {
        timespec now{};
        clock_gettime(CLOCK_REALTIME, &now);
        seed = (static_cast<std::uint64_t>(now.tv_sec) * 1000000000u +
                static_cast<std::uint64_t>(now.tv_nsec)) &
               0x7FFFFFFFFFFFFFFFu;
        print_error(format_text("semente %d (use --semente %d para repetir esta carga)",
                                static_cast<std::int64_t>(seed), static_cast<std::int64_t>(seed)));
    }
    return write_standard_output(generate_workload(options.generate_count, seed));
}

// Bytes as the address fragment holds them: letters, digits and -_.~ as they are, every
// other byte as %XX.
std::string percent_encoded(std::string_view bytes) {
    constexpr const char* hex = "0123456789ABCDEF";
    std::string out;
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z') ||
            (byte >= '0' && byte <= '9') || byte == '-' || byte == '_' || byte == '.' ||
            byte == '~') {
            out += c;
        } else {
            out += '%';
            out += hex[byte >> 4];
            out += hex[byte & 15];
        }
    }
    return out;
}

// The page's address fragment for a workload that loads under the rules given.
int run_link(const Options& options) {
    set_out_of_memory_stream(stderr);
    if (const auto failure = load_workload(options)) {
        return report_on_standard_error(*failure);
    }
    reset_scheduler();
    const std::string text = options.workload_text ? *options.workload_text
                                                   : read_workload_file(options.file.c_str()).text;
    return write_standard_output("#carga=" + percent_encoded(text) + "&regras=" +
                                 percent_encoded(rules_command_line(options.rules)) + "\n");
}

} // namespace

int run_program(int argc, char** argv) {
    auto parsed = parse_command_line(argc, argv);
    if (const auto* error = std::get_if<UsageError>(&parsed)) {
        print_error(error->message);
        print_error("use 'mlfq --ajuda' para ver as opcoes");
        return exit_usage;
    }
    const Options& options = std::get<Options>(parsed);
    switch (options.mode) {
    case Options::Mode::help:
        return write_standard_output(usage_text());
    case Options::Mode::version:
        return write_standard_output("mlfq " MLFQ_VERSION "\n");
    case Options::Mode::report:
        return run_report_mode(options);
    case Options::Mode::generate:
        return run_generator(options);
    case Options::Mode::link:
        return run_link(options);
    case Options::Mode::show_workload:
        return write_standard_output(*options.workload_text);
    case Options::Mode::interactive:
        break;
    }
    return run_interactive(options);
}

} // namespace mlfq
