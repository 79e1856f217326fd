#include "app/modes.h"
#include "app/output_file.h"
#include "app/workload_generator.h"
#include "util/exit_status.h"
#include "util/system_error.h"
#include "util/text_format.h"
#include "util/write_all.h"

#include <ctime>
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
    case Options::Mode::interactive:
        break;
    }
    return run_interactive(options);
}

} // namespace mlfq
