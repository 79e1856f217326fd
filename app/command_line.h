// The command line: mlfq [opcoes] [arquivo].
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace mlfq {

struct Options {
    enum class Mode { interactive, report, help, version };
    Mode mode = Mode::interactive;
    std::string file = "processo.txt";
    bool file_given = false;
    bool text = false; // -r: the text report on standard output
    bool json = false; // --json: the JSON document on standard output
    std::optional<std::string> svg_file;
    std::optional<std::string> html_file;
    std::optional<std::int64_t> until;
    std::optional<int> width;
};

// A line naming what is wrong with the command line, without the program's name.
struct UsageError {
    std::string message;
};

std::variant<Options, UsageError> parse_command_line(int argc, char** argv);

// The text of --ajuda.
std::string usage_text();

} // namespace mlfq
