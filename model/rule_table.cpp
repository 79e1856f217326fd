#include "model/rule_table.h"

#include "util/text_format.h"
#include "util/whole_number.h"

#include <algorithm>
#include <limits>

namespace mlfq {

namespace {

// Q1,Q2,...: signed 32-bit numbers separated by commas, none empty, at most one a queue.
const char* set_quantum_list(SchedulingRules& rules, std::string_view text) {
    constexpr const char* expected = "numeros inteiros de 32 bits separados por virgulas";
    std::array<std::int32_t, max_ready_levels> values{};
    int count = 0;
    for (;;) {
        const std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        const bool negative = item.starts_with('-');
        if (negative || item.starts_with('+'))
            item.remove_prefix(1);
        const auto magnitude = whole_number(item, 0, std::int64_t{1} << 31);
        if (!magnitude || (!negative && *magnitude > std::numeric_limits<std::int32_t>::max()))
            return expected;
        // Values past the last queue are only counted, so that finish_rules can say so.
        if (count < max_ready_levels)
            values[static_cast<std::size_t>(count)] =
                static_cast<std::int32_t>(negative ? -*magnitude : *magnitude);
        count += 1;
        if (comma == std::string_view::npos)
            break;
        text.remove_prefix(comma + 1);
    }
    rules.queue_quantum = values;
    rules.quantum_values = count;
    rules.quantum_per_queue = true;
    return nullptr;
}

// A flag's setter and getter, one pair for every flag of the rules.
template <bool SchedulingRules::*field>
const char* set_flag(SchedulingRules& r, std::string_view) {
    r.*field = true;
    return nullptr;
}
template <bool SchedulingRules::*field>
std::int64_t get_flag(const SchedulingRules& r) {
    return r.*field ? 1 : 0;
}

constexpr RuleSpec rules[] = {
    {"filas", "N", "numero de filas de prontos, de 1 a 8 (padrao 4)", "filas", nullptr, nullptr,
     RuleValue::count,
     [](SchedulingRules& r, std::string_view v) -> const char* {
         const auto n = whole_number(v, 1, max_ready_levels);
         if (!n)
             return "um numero inteiro de 1 a 8";
         r.queues = static_cast<int>(*n);
         return nullptr;
     },
     [](const SchedulingRules& r) -> std::int64_t { return r.queues; }},
    {"quantum-fila", "Q1,Q2", "quantum de cada fila; as demais usam o ultimo", "quantum_fila",
     nullptr, nullptr, RuleValue::list, set_quantum_list,
     [](const SchedulingRules& r) -> std::int64_t { return r.quantum_per_queue ? 1 : 0; }},
    {"preempcao", nullptr, "processo em fila mais alta interrompe o que executa", "preempcao",
     "com preempcao", "com preempção", RuleValue::flag, set_flag<&SchedulingRules::preemption>,
     get_flag<&SchedulingRules::preemption>},
    {"boost", "S", "a cada S passos todos voltam para a fila 1", "boost", "boost a cada %d passos",
     "boost a cada %d passos", RuleValue::period,
     [](SchedulingRules& r, std::string_view v) -> const char* {
         const auto n = whole_number(v, 1, max_boost_period);
         if (!n)
             return "um numero inteiro de 1 a 100000";
         r.boost = *n;
         return nullptr;
     },
     [](const SchedulingRules& r) -> std::int64_t { return r.boost; }},
    {"io-mantem-fila", nullptr, "quem volta do IO vai para a fila de onde saiu", "io_mantem_fila",
     "volta do IO para a propria fila", "volta do IO para a própria fila", RuleValue::flag,
     set_flag<&SchedulingRules::io_keeps_queue>, get_flag<&SchedulingRules::io_keeps_queue>},
    {"cota", nullptr, "quem sai para IO ou e interrompido guarda o resto da fatia", "cota",
     "cota de fatia", "cota de fatia", RuleValue::flag, set_flag<&SchedulingRules::quota>,
     get_flag<&SchedulingRules::quota>},
    {"tempo-livro", nullptr, "conta o tempo como nos exercicios dos livros", "tempo_livro",
     "tempo de livro", "tempo de livro", RuleValue::flag, set_flag<&SchedulingRules::textbook>,
     get_flag<&SchedulingRules::textbook>},
};

} // namespace

std::span<const RuleSpec> rule_table() {
    return rules;
}

const RuleSpec* find_rule(std::string_view option) {
    for (const RuleSpec& rule : rules) {
        if (option == rule.option)
            return &rule;
    }
    return nullptr;
}

std::optional<std::string> finish_rules(SchedulingRules& r) {
    if (r.quantum_values > r.queues)
        return format_text("--quantum-fila tem %d valores para %d filas",
                           static_cast<std::int64_t>(r.quantum_values),
                           static_cast<std::int64_t>(r.queues));
    if (r.quantum_values > 0) {
        const auto last = static_cast<std::size_t>(r.quantum_values - 1);
        for (std::size_t q = last + 1; q < r.queue_quantum.size(); ++q)
            r.queue_quantum[q] = r.queue_quantum[last];
    }
    return std::nullopt;
}

void set_textbook_rules(SchedulingRules& result) {
    for (const char* option : {"tempo-livro", "preempcao", "io-mantem-fila", "cota"})
        find_rule(option)->set(result, "");
}

std::optional<std::string> rules_from_words(const std::vector<std::string>& words,
                                            SchedulingRules& result) {
    result = SchedulingRules{};
    for (std::size_t i = 0; i < words.size(); ++i) {
        std::string_view word = words[i];
        if (!word.starts_with("--"))
            return format_text("opcao desconhecida: %s", words[i]);
        word.remove_prefix(2);
        std::string value;
        if (const std::size_t equals = word.find('='); equals != std::string_view::npos) {
            value = std::string(word.substr(equals + 1));
            word = word.substr(0, equals);
        }
        if (word == "livro") {
            set_textbook_rules(result);
            continue;
        }
        const RuleSpec* rule = find_rule(word);
        if (rule == nullptr)
            return format_text("opcao desconhecida ou que nao e uma regra: %s", words[i]);
        if (rule->value_name != nullptr && value.empty()) {
            if (i + 1 == words.size())
                return format_text("falta o valor da opcao --%s", rule->option);
            value = words[++i];
        }
        if (const char* expected = rule->set(result, value))
            return format_text("valor invalido para --%s: \"%s\" (esperava %s)", rule->option,
                               value, expected);
    }
    return finish_rules(result);
}

std::string rules_command_line(const SchedulingRules& r) {
    std::string words;
    const auto add = [&](const std::string& word) {
        if (!words.empty())
            words += ' ';
        words += word;
    };
    for (const RuleSpec& rule : rules) {
        const std::int64_t value = rule.get(r);
        switch (rule.value) {
        case RuleValue::count:
            if (value != SchedulingRules{}.queues)
                add(format_text("--%s %d", rule.option, value));
            break;
        case RuleValue::list:
            if (value != 0) {
                std::string list;
                for (int q = 0; q < r.queues; ++q) {
                    if (q > 0)
                        list += ',';
                    list += format_text("%d", r.queue_quantum[static_cast<std::size_t>(q)]);
                }
                add(format_text("--%s %s", rule.option, list));
            }
            break;
        case RuleValue::flag:
            if (value != 0)
                add(format_text("--%s", rule.option));
            break;
        case RuleValue::period:
            if (value != 0)
                add(format_text("--%s %d", rule.option, value));
            break;
        }
    }
    return words;
}

} // namespace mlfq
