// The command line: mlfq [opcoes] [arquivo].
#pragma once

#include "model/scheduling_rules.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mlfq {

struct Options {
    enum class Mode { interactive, report, generate, help, version };
    Mode mode = Mode::interactive;
    std::string file = "processo.txt";
    bool file_given = false;
    bool text = false; // -r: the text report on standard output
    bool json = false; // --json: the JSON document on standard output
    std::optional<std::string> svg_file;
    std::optional<std::string> html_file;
    std::optional<std::int64_t> until;
    std::optional<int> width;
    // The scheduling rules; queue_quantum is filled in by apply_quantum_list below.
    SchedulingRules rules;
    std::vector<std::int32_t> quantum_list; // --quantum-fila as given
    // --gerar N [--semente S]
    std::int64_t generate_count = 0;
    std::optional<std::uint64_t> seed;
};

// A line naming what is wrong with the command line, without the program's name.
struct UsageError {
    std::string message;
};

std::variant<Options, UsageError> parse_command_line(int argc, char** argv);

// The text of --ajuda.
std::string usage_text();

} // namespace mlfq
