// The command line: mlfq [opcoes] [arquivo].
#pragma once

#include "model/scheduling_rules.h"
#include "model/workload_file.h"

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace mlfq {

// The name of an output file that means standard output.
inline constexpr const char* standard_output_name = "-";

struct Options {
    enum class Mode { interactive, report, generate, link, show_workload, help, version };
    Mode mode = Mode::interactive;
    std::string file = workload_file_name;
    bool file_given = false;
    bool text = false;                         // -r: the text report on standard output
    bool json = false;                         // --json: the JSON document on standard output
    std::optional<std::string> svg_file;       // "-": standard output
    std::optional<std::string> html_file;      // "-": standard output
    std::optional<std::string> worksheet_file; // --exercicio: a worksheet without answers
    std::optional<std::int64_t> until;
    std::optional<std::int64_t> from;     // --de: the pictures' window starts there
    std::optional<std::string> title;     // --titulo: the pictures' title
    std::vector<SchedulingRules> compare; // --comparar: more runs, under these rules
    std::optional<int> width;
    bool reasons = false; // --motivos: each event's reason in the text report
    SchedulingRules rules;
    // --gerar N [--semente S]
    std::int64_t generate_count = 0;
    std::optional<std::uint64_t> seed;
    bool link = false; // --link: the page's address fragment for the workload
    // --jobs LIST [--io-tempo N] [--quantum Q] [--mostrar-carga]: the textbook's notation
    // instead of a workload file; workload_text is the equivalent file, made from it.
    std::optional<std::string> jobs;
    std::int64_t io_time = 5;
    std::int64_t quantum = 10;
    bool show_workload = false;
    std::optional<std::string> workload_text;

    // Whether a report of any kind is asked for (report mode).
    bool writes_report() const { return text || json || svg_file || html_file || worksheet_file; }
};

// A line naming what is wrong with the command line, without the program's name.
struct UsageError {
    std::string message;
};

std::variant<Options, UsageError> parse_command_line(int argc, char** argv);

// The text of --ajuda.
std::string usage_text();

// The long name of every option, in the order of the help text, and whether it takes a
// value: for tests that hold the table against the help text and the parser.
struct OptionName {
    std::string name;
    bool takes_value;
};
std::vector<OptionName> option_names();

} // namespace mlfq
