#include "app/workload_loading.h"

#include "app/command_line.h"

#include "model/simulation.h"
#include "model/workload_file.h"
#include "util/byte_text.h"
#include "util/system_error.h"
#include "util/text_format.h"

#include <cstdio>

namespace mlfq {

std::optional<LoadFailure> load_simulation(const std::string& file, const SchedulingRules& rules) {
    const std::string shown = printable_text(file);
    const WorkloadRead read = read_workload_file(file.c_str());
    switch (read.problem) {
    case WorkloadRead::Problem::none:
        break;
    case WorkloadRead::Problem::cannot_open:
        return LoadFailure{exit_cannot_open, " ERRO AO ABRIR ARQUIVO ",
                           format_text("nao foi possivel ler \"%s\": %s", shown,
                                       system_error_text(read.error_number))};
    case WorkloadRead::Problem::not_a_file:
        return LoadFailure{exit_cannot_open, " ERRO AO ABRIR ARQUIVO ",
                           format_text("\"%s\" nao e um arquivo comum nem um pipe", shown)};
    case WorkloadRead::Problem::too_large:
        return LoadFailure{exit_bad_workload,
                           format_text(" ERRO NO ARQUIVO %s: passa do limite de %d MiB de "
                                       "texto (um arquivo de carga tem poucos kB) \n",
                                       shown, static_cast<std::int64_t>(workload_size_limit >> 20)),
                           ""};
    }
    return load_simulation_text(read.text, shown, rules);
}

int report_on_standard_error(const LoadFailure& failure) {
    std::fputs(failure.message.c_str(), stderr);
    if (!failure.message.ends_with('\n'))
        std::fputc('\n', stderr);
    if (!failure.reason.empty())
        print_error(failure.reason);
    return failure.status;
}

std::optional<LoadFailure> load_workload(const Options& options) {
    if (options.workload_text)
        return load_simulation_text(*options.workload_text, options.file, options.rules);
    return load_simulation(options.file, options.rules);
}

std::optional<LoadFailure> load_simulation_text(std::string_view text, const std::string& shown,
                                                const SchedulingRules& rules) {
    if (const auto error = set_up_simulation(text, rules))
        return LoadFailure{
            exit_bad_workload,
            format_text(" ERRO NO ARQUIVO %s, linha %d: %s \n", shown, error->line, error->message),
            ""};
    return std::nullopt;
}

} // namespace mlfq
