#include "model/workload_file.h"

#include "model/exit_status.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "model/workload_parser.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

namespace mlfq {

namespace {

// The whole content of a file, or nothing when it cannot be opened or read.
std::optional<std::string> read_file(const char* path) {
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr)
        return std::nullopt;
    std::string content;
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    const bool failed = std::ferror(file) != 0; // a directory, or an I/O error
    std::fclose(file);
    if (failed)
        return std::nullopt;
    return content;
}

} // namespace

void load_workload() {
    scheduler.not_dispatched = new_process_node();
    const std::optional<std::string> content = read_file(workload_file_name);
    if (!content) {
        std::printf(" ERRO AO ABRIR ARQUIVO ");
        std::exit(exit_cannot_open);
    }
    if (const std::optional<WorkloadError> error = parse_workload(*content)) {
        std::printf(" ERRO NO ARQUIVO %s, linha %" PRId64 ": %s \n", workload_file_name,
                    error->line, error->message.c_str());
        std::exit(exit_bad_workload);
    }
}

} // namespace mlfq
