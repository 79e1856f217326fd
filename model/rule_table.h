// Every scheduling rule that can be chosen, declared once: its command-line option, the
// value it takes, its help line, its key in the JSON document and its words in a run's
// summary. The command line, the reports and the page read this table; the clock step
// reads the fields of SchedulingRules.
#pragma once

#include "model/scheduling_rules.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mlfq {

enum class RuleValue {
    count, // a number that shapes the run (the number of queues)
    list,  // the quantum of each queue
    flag,  // on or off
    period // a number of steps; 0: off
};

struct RuleSpec {
    const char* option;     // the command-line option, without "--"
    const char* value_name; // what the option takes ("N"), or null for a flag
    const char* help;       // the option's line in the help text
    const char* json_key;   // its key in "regras"
    // Its words in the summary while in force ("com preempcao", "boost a cada %d passos");
    // null for the two that open the summary (queues and quanta).
    const char* words;
    const char* picture_words; // the same with their accents, for the SVG and the HTML
    RuleValue value;
    // Sets the rule from the option's value (ignored for a flag); returns what the value
    // should have been when it is not valid.
    const char* (*set)(SchedulingRules& rules, std::string_view value);
    // The rule's value: 0 or 1 for a flag.
    std::int64_t (*get)(const SchedulingRules& rules);
};

std::span<const RuleSpec> rule_table();

// The rule of an option name, or null.
const RuleSpec* find_rule(std::string_view option);

// Completes rules set option by option: the queues past the last quantum given take the
// last one. Returns what is wrong (more quanta than queues), or nothing.
std::optional<std::string> finish_rules(SchedulingRules& rules);

// The textbook's rules, --livro: --tempo-livro --preempcao --io-mantem-fila --cota.
void set_textbook_rules(SchedulingRules& rules);

// Rules from rule options as command-line words ("--filas", "3", "--preempcao"; also
// "--filas=3", and "--livro" for the textbook's four), from the classic ones, finished;
// what is wrong, if anything.
std::optional<std::string> rules_from_words(const std::vector<std::string>& words,
                                            SchedulingRules& rules);

// The rules' command-line options, as a student would type them again ("--filas 3
// --preempcao"); empty for the classic rules.
std::string rules_command_line(const SchedulingRules& rules);

} // namespace mlfq
