#include "app/command_line.h"

#include "app/jobs.h"
#include "model/rule_table.h"
#include "util/text_format.h"
#include "util/whole_number.h"

#include <cctype>
#include <getopt.h>
#include <limits>
#include <string_view>
#include <sys/stat.h>

namespace mlfq {

namespace {

// What an option is for; the help text lists the options group by group, and the checks
// of combinations ask which groups were given.
enum class Group { report, report_setting, rule, jobs, jobs_setting, generator, seed, page, info };

// An option's value is taken by `set`, which returns what the value should have been
// when it is not valid. A rule's option is set by its entry in the rule table.
using Setter = const char* (*)(Options& o, std::string_view value);

struct OptionSpec {
    const char* name;
    const char* alias;      // a second long name, or null
    char short_name;        // or 0
    const char* value_name; // null: takes no value
    const char* help;       // null: not on a line of its own
    Group group;
    Setter set;
    const RuleSpec* rule = nullptr; // for the rule options
};

bool ends_with_any_case(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size())
        return false;
    text.remove_prefix(text.size() - suffix.size());
    for (std::size_t i = 0; i < suffix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != suffix[i])
            return false;
    }
    return true;
}

// A device, FIFO or socket (or a link to one) is written into and never replaced; any
// other output name says what it holds, so that a workload named by mistake is never
// overwritten by a picture.
bool names_a_stream(std::string_view name) {
    struct stat info {};
    return ::stat(std::string(name).c_str(), &info) == 0 && !S_ISREG(info.st_mode) &&
           !S_ISDIR(info.st_mode);
}

const char* set_svg(Options& o, std::string_view value) {
    if (value != standard_output_name && !ends_with_any_case(value, ".svg") &&
        !names_a_stream(value))
        return "um nome de arquivo terminado em .svg, ou - para a saida padrao";
    o.svg_file = std::string(value);
    return nullptr;
}

const char* set_html(Options& o, std::string_view value) {
    if (value != standard_output_name && !ends_with_any_case(value, ".html") &&
        !ends_with_any_case(value, ".htm") && !names_a_stream(value))
        return "um nome de arquivo terminado em .html ou .htm, ou - para a saida padrao";
    o.html_file = std::string(value);
    return nullptr;
}

const char* set_worksheet(Options& o, std::string_view value) {
    Options probe;
    if (const char* expected = set_html(probe, value))
        return expected;
    o.worksheet_file = std::string(value);
    return nullptr;
}

const char* set_until(Options& o, std::string_view value) {
    o.until = whole_number(value, 0, std::numeric_limits<std::int64_t>::max() / 4);
    return o.until ? nullptr : "um numero inteiro >= 0";
}

const char* set_from(Options& o, std::string_view value) {
    o.from = whole_number(value, 0, std::numeric_limits<std::int64_t>::max() / 4);
    return o.from ? nullptr : "um numero inteiro >= 0";
}

const char* set_title(Options& o, std::string_view value) {
    if (value.empty())
        return "um titulo";
    o.title = std::string(value);
    return nullptr;
}

// Rule options in one word, as a shell passes "--filas 3 --preempcao".
const char* set_compare(Options& o, std::string_view value) {
    std::vector<std::string> words;
    for (std::size_t at = 0; at < value.size();) {
        const std::size_t end = std::min(value.find(' ', at), value.size());
        if (end > at)
            words.emplace_back(value.substr(at, end - at));
        at = end + 1;
    }
    SchedulingRules rules;
    if (words.empty() || rules_from_words(words, rules))
        return "opcoes de regras separadas por espacos, como \"--filas 3 --preempcao\"";
    o.compare.push_back(rules);
    return nullptr;
}

const char* set_width(Options& o, std::string_view value) {
    const auto width = whole_number(value, 40, 10000);
    if (!width)
        return "um numero inteiro de 40 a 10000";
    o.width = static_cast<int>(*width);
    return nullptr;
}

// The largest workload whose report mode finishes in seconds: the lists' appends walk
// from their heads, so a run's cost grows with the square of its backlog (README).
constexpr std::int64_t max_generated_processes = 20000;

const char* set_generate(Options& o, std::string_view value) {
    const auto count = whole_number(value, 1, max_generated_processes);
    if (!count)
        return "um numero inteiro de 1 a 20000";
    o.generate_count = *count;
    return nullptr;
}

// Every seed the generator prints is below 2^63, and every such seed is taken back.
const char* set_seed(Options& o, std::string_view value) {
    const auto seed = whole_number(value, 0, std::numeric_limits<std::int64_t>::max());
    if (!seed)
        return "um numero inteiro de 0 a 9223372036854775807";
    o.seed = static_cast<std::uint64_t>(*seed);
    return nullptr;
}

// A job setting: a whole number that fits the workload file's 32 bits.
template <std::int64_t Options::*field>
const char* set_job_number(Options& o, std::string_view value) {
    const auto n = whole_number(value, 0, std::numeric_limits<std::int32_t>::max());
    if (!n)
        return "um numero inteiro >= 0";
    o.*field = *n;
    return nullptr;
}

std::vector<OptionSpec> make_table() {
    std::vector<OptionSpec> table = {
        {"relatorio", nullptr, 'r', nullptr, "relatorio em texto na saida padrao", Group::report,
         [](Options& o, std::string_view) -> const char* {
             o.text = true;
             return nullptr;
         }},
        {"json", nullptr, 0, nullptr, "o mesmo relatorio em JSON na saida padrao", Group::report,
         [](Options& o, std::string_view) -> const char* {
             o.json = true;
             return nullptr;
         }},
        {"svg", nullptr, 0, "ARQ", "grava o grafico de Gantt em SVG em ARQ", Group::report,
         set_svg},
        {"html", nullptr, 0, "ARQ", "grava o relatorio inteiro em uma pagina HTML em ARQ",
         Group::report, set_html},
        {"exercicio", nullptr, 0, "ARQ", "grava em ARQ uma folha de exercicio (HTML) sem respostas",
         Group::report, set_worksheet},
        {"ate", nullptr, 0, "T", "para no tempo T, no maximo", Group::report_setting, set_until},
        {"de", nullptr, 0, "T", "o grafico (SVG, HTML) comeca no tempo T; com --ate, uma janela",
         Group::report_setting, set_from},
        {"comparar", nullptr, 0, "\"OPCOES\"",
         "mais uma execucao com essas regras, lado a lado (repetivel)", Group::report_setting,
         set_compare},
        {"titulo", nullptr, 0, "TEXTO", "o titulo do grafico (SVG, HTML)", Group::report_setting,
         set_title},
        {"largura", nullptr, 0, "N", "largura do relatorio em texto (padrao: a do terminal, ou 80)",
         Group::report_setting, set_width},
        {"motivos", nullptr, 0, nullptr, "o motivo de cada evento no relatorio em texto",
         Group::report_setting,
         [](Options& o, std::string_view) -> const char* {
             o.reasons = true;
             return nullptr;
         }},
    };
    for (const RuleSpec& rule : rule_table())
        table.push_back(
            {rule.option, nullptr, 0, rule.value_name, rule.help, Group::rule, nullptr, &rule});
    table.push_back({"livro", nullptr, 0, nullptr,
                     "--tempo-livro --preempcao --io-mantem-fila --cota", Group::rule,
                     [](Options& o, std::string_view) -> const char* {
                         set_textbook_rules(o.rules);
                         return nullptr;
                     }});
    table.push_back({"jobs", nullptr, 0, "LISTA",
                     "INICIO,EXECUCAO,FREQ_IO:... em vez de um arquivo de carga", Group::jobs,
                     [](Options& o, std::string_view v) -> const char* {
                         if (v.empty())
                             return "uma lista INICIO,EXECUCAO,FREQ_IO:...";
                         o.jobs = std::string(v);
                         return nullptr;
                     }});
    table.push_back({"io-tempo", nullptr, 0, "N", "unidades de cada IO (padrao 5)",
                     Group::jobs_setting, set_job_number<&Options::io_time>});
    table.push_back({"quantum", nullptr, 0, "Q", "o quantum (padrao 10; ou --quantum-fila)",
                     Group::jobs_setting, set_job_number<&Options::quantum>});
    table.push_back({"mostrar-carga", nullptr, 0, nullptr, "escreve o arquivo de carga equivalente",
                     Group::jobs_setting, [](Options& o, std::string_view) -> const char* {
                         o.show_workload = true;
                         return nullptr;
                     }});
    table.push_back({"gerar", nullptr, 0, "N [--semente S]",
                     "escreve uma carga valida de N processos", Group::generator, set_generate});
    table.push_back({"semente", nullptr, 0, "S", nullptr, Group::seed, set_seed});
    table.push_back({"link", nullptr, 0, nullptr,
                     "fragmento do endereco de mlfq.html (carga e regras)", Group::page,
                     [](Options& o, std::string_view) -> const char* {
                         o.link = true;
                         return nullptr;
                     }});
    table.push_back({"ajuda", "help", 'h', nullptr, "mostra esta ajuda", Group::info,
                     [](Options& o, std::string_view) -> const char* {
                         o.mode = Options::Mode::help;
                         return nullptr;
                     }});
    table.push_back({"versao", "version", 'V', nullptr, "mostra a versao", Group::info,
                     [](Options& o, std::string_view) -> const char* {
                         o.mode = Options::Mode::version;
                         return nullptr;
                     }});
    return table;
}

const std::vector<OptionSpec>& options_table() {
    static const std::vector<OptionSpec> table = make_table();
    return table;
}

// The heading of each group in the help text, and the column its help lines start at.
struct GroupText {
    Group group;
    const char* heading;
    std::size_t column;
};
constexpr GroupText group_texts[] = {
    {Group::report, "Modo relatorio (roda a simulacao inteira, sem terminal):\n", 22},
    {Group::rule, "Regras do escalonador (nos dois modos; sem elas, as regras classicas):\n", 29},
    {Group::jobs, "A notacao de trabalhos do livro (em vez de um arquivo):\n", 26},
    {Group::generator, "Gerador de cargas:\n", 31},
    {Group::page, "Pagina no navegador (docs/mlfq.html):\n", 22},
    {Group::info, "", 28},
};

bool in_group(const OptionSpec& entry, Group group) {
    return entry.group == group ||
           (group == Group::report && entry.group == Group::report_setting) ||
           (group == Group::jobs && entry.group == Group::jobs_setting);
}

// GNU getopt_long, so that options follow the usual conventions: --name=value or
// --name value, unambiguous abbreviations, "--" ends the options, options and the file
// in any order. Its own messages are English, so it is told to keep quiet and the
// messages are ours. An option's value in getopt is 1000 + its place in the table.
constexpr int first_long_value = 1000;

struct GetoptTables {
    std::vector<option> long_options;
    std::string short_options = ":";
};

const GetoptTables& getopt_tables() {
    static const GetoptTables tables = [] {
        GetoptTables t;
        const auto& table = options_table();
        for (std::size_t i = 0; i < table.size(); ++i) {
            const int has_arg = table[i].value_name != nullptr ? required_argument : no_argument;
            const int value = first_long_value + static_cast<int>(i);
            t.long_options.push_back({table[i].name, has_arg, nullptr, value});
            if (table[i].alias != nullptr)
                t.long_options.push_back({table[i].alias, has_arg, nullptr, value});
            if (table[i].short_name != 0)
                t.short_options += table[i].short_name;
        }
        t.long_options.push_back({nullptr, 0, nullptr, 0});
        return t;
    }();
    return tables;
}

// The table's entry of what getopt_long returned, or null.
const OptionSpec* spec_of(int result) {
    const auto& table = options_table();
    if (result >= first_long_value &&
        static_cast<std::size_t>(result - first_long_value) < table.size())
        return &table[static_cast<std::size_t>(result - first_long_value)];
    for (const OptionSpec& entry : table) {
        if (entry.short_name != 0 && entry.short_name == result)
            return &entry;
    }
    return nullptr;
}

// What getopt_long could not take: `element` is the argument it stopped at.
UsageError option_error(int result, std::string_view element) {
    if (result == ':')
        return {format_text("falta o valor da opcao %s", std::string(element))};
    if (element.starts_with("--") && optopt != 0) {
        const std::string name(element.substr(0, element.find('=')));
        return {format_text("a opcao %s nao aceita valor", name)};
    }
    if (element.starts_with("--"))
        return {format_text("opcao desconhecida ou ambigua: %s",
                            std::string(element.substr(0, element.find('='))))};
    return {format_text("opcao desconhecida: -%s", std::string(1, static_cast<char>(optopt)))};
}

// The options given, by their place in the table.
using Given = std::vector<bool>;

bool any_given(const Given& given, Group group) {
    const auto& table = options_table();
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (given[i] && in_group(table[i], group))
            return true;
    }
    return false;
}

std::optional<UsageError> check_combination(const Options& o, const Given& given) {
    const auto& table = options_table();
    if (o.generate_count > 0 && (any_given(given, Group::report) || any_given(given, Group::rule) ||
                                 any_given(given, Group::jobs) || o.file_given))
        return UsageError{"--gerar so se combina com --semente"};
    if (o.link && (any_given(given, Group::report) || o.generate_count > 0))
        return UsageError{"--link so se combina com as regras e o arquivo de carga"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (given[i] && table[i].group == Group::jobs_setting && !o.jobs)
            return UsageError{format_text("--%s so vale com --jobs", table[i].name)};
    }
    if (o.jobs && o.file_given)
        return UsageError{"--jobs substitui o arquivo de carga: nao de os dois"};
    if (o.seed && o.generate_count == 0)
        return UsageError{"--semente so vale com --gerar"};
    if (o.text && o.json)
        return UsageError{"-r (--relatorio) e --json nao podem ser usadas juntas"};
    for (std::size_t i = 0; i < table.size(); ++i) {
        if (given[i] && table[i].group == Group::report_setting && !o.writes_report())
            return UsageError{format_text(
                "--%s so vale no modo relatorio (-r, --json, --svg ou --html)", table[i].name)};
    }
    if (o.width && !o.text)
        return UsageError{"--largura so vale com o relatorio em texto (-r)"};
    if ((o.from || o.title) && !o.svg_file && !o.html_file)
        return UsageError{
            format_text("--%s so vale com --svg ou --html", o.from ? "de" : "titulo")};
    if (o.from && o.until && *o.from >= *o.until)
        return UsageError{format_text("--de %d deve ser menor que --ate %d", *o.from, *o.until)};
    if (o.reasons && !o.text)
        return UsageError{"--motivos so vale com o relatorio em texto (-r); o JSON e o HTML ja "
                          "trazem os motivos"};
    const int to_standard_output = (o.text ? 1 : 0) + (o.json ? 1 : 0) +
                                   (o.svg_file == standard_output_name ? 1 : 0) +
                                   (o.html_file == standard_output_name ? 1 : 0) +
                                   (o.worksheet_file == standard_output_name ? 1 : 0);
    if (to_standard_output > 1)
        return UsageError{"so uma saida pode ir para a saida padrao (-r, --json, --svg - ou "
                          "--html -)"};
    return std::nullopt;
}

// Sets what one option says; a usage error when its value is not valid.
std::optional<UsageError> apply(Options& o, const OptionSpec& entry, std::string_view value) {
    const char* expected =
        entry.rule != nullptr ? entry.rule->set(o.rules, value) : entry.set(o, value);
    if (expected == nullptr)
        return std::nullopt;
    return UsageError{format_text("valor invalido para --%s: \"%s\" (esperava %s)", entry.name,
                                  std::string(value), expected)};
}

// The workload file: at most one, not empty.
std::optional<UsageError> take_files(Options& o, int argc, char** argv) {
    for (int i = optind; i < argc; ++i) {
        if (o.file_given)
            return UsageError{
                format_text("mais de um arquivo de carga: \"%s\" e \"%s\"", o.file, argv[i])};
        o.file = argv[i];
        o.file_given = true;
        if (o.file.empty())
            return UsageError{"nome de arquivo de carga vazio"};
    }
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> parse_command_line(int argc, char** argv) {
    const GetoptTables& tables = getopt_tables();
    Options o;
    Given given(options_table().size(), false);
    optind = 0; // start afresh (glibc), also when called again
    opterr = 0;
    for (;;) {
        const int previous = optind == 0 ? 1 : optind;
        const int c = getopt_long(argc, argv, tables.short_options.c_str(),
                                  tables.long_options.data(), nullptr);
        if (c == -1)
            break;
        const OptionSpec* entry = spec_of(c);
        if (entry == nullptr) { // getopt_long has moved past the argument it complains about
            const int at = optind > previous ? optind - 1 : previous;
            return option_error(c, at < argc ? argv[at] : "");
        }
        given[static_cast<std::size_t>(entry - options_table().data())] = true;
        if (auto error = apply(o, *entry, optarg != nullptr ? optarg : ""))
            return *error;
        if (o.mode != Options::Mode::interactive) // help or version: nothing else matters
            return o;
    }
    if (auto error = take_files(o, argc, argv))
        return *error;
    if (auto error = check_combination(o, given))
        return *error;
    if (auto error = finish_rules(o.rules))
        return UsageError{*error};
    if (o.jobs) {
        auto text = workload_from_jobs(*o.jobs, o.io_time, o.quantum);
        if (auto* error = std::get_if<JobsError>(&text))
            return UsageError{error->message};
        o.workload_text = std::get<std::string>(std::move(text));
        o.file = "--jobs";
    }
    if (o.generate_count > 0)
        o.mode = Options::Mode::generate;
    else if (o.link)
        o.mode = Options::Mode::link;
    else if (o.show_workload)
        o.mode = Options::Mode::show_workload;
    else if (o.writes_report())
        o.mode = Options::Mode::report;
    return o;
}

std::string usage_text() {
    std::string text =
        "Uso: mlfq [opcoes] [arquivo]\n"
        "Simulador de escalonamento de CPU com multiplas filas com realimentacao.\n"
        "\n"
        "Sem opcoes, le a carga de 'arquivo' (padrao: processo.txt na pasta atual) e\n"
        "abre o simulador interativo: c avanca um passo do relogio, TAB continua apos\n"
        "cada evento, 1 a 5 mostram as filas, ESC sai.\n";
    for (const GroupText& group : group_texts) {
        text += "\n";
        text += group.heading;
        for (const OptionSpec& entry : options_table()) {
            if (!in_group(entry, group.group) || entry.help == nullptr)
                continue;
            std::string line = entry.short_name != 0 ? std::string("  -") + entry.short_name + ", "
                                                     : std::string("      ");
            line += std::string("--") + entry.name;
            if (entry.alias != nullptr)
                line += std::string(", --") + entry.alias;
            if (entry.value_name != nullptr)
                line += std::string(" ") + entry.value_name;
            line.resize(std::max(line.size() + 1, group.column), ' ');
            text += line + entry.help + "\n";
        }
    }
    text += "\n"
            "Saida: 0 ok; 1 arquivo de carga ilegivel; 2 sem memoria; 3 arquivo de carga\n"
            "malformado; 4 fim da entrada do teclado; 64 linha de comando errada;\n"
            "73 arquivo de saida nao gravado; 74 erro ao escrever na saida padrao.\n";
    return text;
}

std::vector<OptionName> option_names() {
    std::vector<OptionName> names;
    for (const OptionSpec& entry : options_table()) {
        names.push_back({entry.name, entry.value_name != nullptr});
        if (entry.alias != nullptr)
            names.push_back({entry.alias, entry.value_name != nullptr});
    }
    return names;
}

} // namespace mlfq
