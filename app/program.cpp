#include "app/modes.h"
#include "app/output_file.h"
#include "util/write_all.h"
#include "util/exit_status.h"
#include "util/system_error.h"

#include <unistd.h>

#ifndef MLFQ_VERSION
#define MLFQ_VERSION "0"
#endif

namespace mlfq {

namespace {

int print_text(const std::string& text) {
    if (const int error = write_all(STDOUT_FILENO, text)) {
        print_error("erro ao escrever na saida padrao: " + system_error_text(error));
        return exit_write_failed;
    }
    return exit_ok;
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
        return print_text(usage_text());
    case Options::Mode::version:
        return print_text("mlfq " MLFQ_VERSION "\n");
    case Options::Mode::report:
        return run_report_mode(options);
    case Options::Mode::interactive:
        break;
    }
    return run_interactive(options);
}

} // namespace mlfq
