#include "app/command_line.h"

#include "util/text_format.h"

#include <algorithm>
#include <getopt.h>
#include <limits>
#include <string_view>

namespace mlfq {

namespace {

enum LongOnly : int {
    opt_json = 1000,
    opt_svg,
    opt_html,
    opt_until,
    opt_width,
    opt_queues,
    opt_queue_quantum,
    opt_preemption,
    opt_boost,
    opt_io_keeps_queue,
    opt_quota,
    opt_textbook,
    opt_generate,
    opt_seed,
};

// GNU getopt_long, so that options follow the usual conventions: --name=value or
// --name value, unambiguous abbreviations, "--" ends the options, options and the file
// in any order. Its own messages are English, so it is told to keep quiet and the
// messages are ours.
constexpr option long_options[] = {
    {"relatorio", no_argument, nullptr, 'r'},
    {"json", no_argument, nullptr, opt_json},
    {"svg", required_argument, nullptr, opt_svg},
    {"html", required_argument, nullptr, opt_html},
    {"ate", required_argument, nullptr, opt_until},
    {"largura", required_argument, nullptr, opt_width},
    {"filas", required_argument, nullptr, opt_queues},
    {"quantum-fila", required_argument, nullptr, opt_queue_quantum},
    {"preempcao", no_argument, nullptr, opt_preemption},
    {"boost", required_argument, nullptr, opt_boost},
    {"io-mantem-fila", no_argument, nullptr, opt_io_keeps_queue},
    {"cota", no_argument, nullptr, opt_quota},
    {"tempo-livro", no_argument, nullptr, opt_textbook},
    {"gerar", required_argument, nullptr, opt_generate},
    {"semente", required_argument, nullptr, opt_seed},
    {"ajuda", no_argument, nullptr, 'h'},
    {"help", no_argument, nullptr, 'h'},
    {"versao", no_argument, nullptr, 'V'},
    {"version", no_argument, nullptr, 'V'},
    {nullptr, 0, nullptr, 0},
};
constexpr const char* short_options = ":rhV";

const char* option_name(int value) {
    for (const option& o : long_options) {
        if (o.val == value && o.name != nullptr)
            return o.name;
    }
    return "?";
}

// A whole decimal number within [low, high].
std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t low,
                                         std::int64_t high) {
    if (text.empty() || text.size() > 18)
        return std::nullopt;
    std::int64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    if (value < low || value > high)
        return std::nullopt;
    return value;
}

// Q1,Q2,...: signed 32-bit numbers separated by commas, none empty.
std::optional<std::vector<std::int32_t>> quantum_list(std::string_view text) {
    std::vector<std::int32_t> values;
    for (;;) {
        const std::size_t comma = text.find(',');
        std::string_view item = text.substr(0, comma);
        const bool negative = item.starts_with('-');
        if (negative || item.starts_with('+'))
            item.remove_prefix(1);
        const auto magnitude = whole_number(item, 0, std::int64_t{1} << 31);
        if (!magnitude || (!negative && *magnitude > std::numeric_limits<std::int32_t>::max()))
            return std::nullopt;
        values.push_back(static_cast<std::int32_t>(negative ? -*magnitude : *magnitude));
        if (comma == std::string_view::npos)
            return values;
        text.remove_prefix(comma + 1);
    }
}

UsageError bad_value(int option_value, std::string_view value, const char* expected) {
    return {format_text("valor invalido para --%s: \"%s\" (esperava %s)", option_name(option_value),
                        std::string(value), expected)};
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

std::optional<UsageError> check_combination(const Options& o) {
    const bool rules_given = !(o.rules == SchedulingRules{}) || !o.quantum_list.empty();
    if (o.generate_count > 0 && (o.text || o.json || o.svg_file || o.html_file || o.until ||
                                 o.width || o.file_given || rules_given))
        return UsageError{"--gerar so se combina com --semente"};
    if (o.seed && o.generate_count == 0)
        return UsageError{"--semente so vale com --gerar"};
    if (o.quantum_list.size() > static_cast<std::size_t>(o.rules.queues))
        return UsageError{format_text("--quantum-fila tem %d valores para %d filas",
                                      static_cast<std::int64_t>(o.quantum_list.size()),
                                      static_cast<std::int64_t>(o.rules.queues))};
    if (o.text && o.json)
        return UsageError{"-r (--relatorio) e --json nao podem ser usadas juntas"};
    const bool report = o.text || o.json || o.svg_file || o.html_file;
    if (!report && o.until)
        return UsageError{"--ate so vale no modo relatorio (-r, --json, --svg ou --html)"};
    if (!report && o.width)
        return UsageError{"--largura so vale no modo relatorio (-r, --json, --svg ou --html)"};
    if (o.width && !o.text)
        return UsageError{"--largura so vale com o relatorio em texto (-r)"};
    return std::nullopt;
}

} // namespace

std::variant<Options, UsageError> parse_command_line(int argc, char** argv) {
    Options o;
    optind = 0; // start afresh (glibc), also when called again
    opterr = 0;
    for (;;) {
        const int previous = optind == 0 ? 1 : optind;
        const int c = getopt_long(argc, argv, short_options, long_options, nullptr);
        if (c == -1)
            break;
        const std::string_view value = optarg != nullptr ? optarg : "";
        switch (c) {
        case 'r':
            o.text = true;
            break;
        case opt_json:
            o.json = true;
            break;
        case opt_svg:
        case opt_html:
            if (value.empty())
                return bad_value(c, value, "um nome de arquivo");
            (c == opt_svg ? o.svg_file : o.html_file) = std::string(value);
            break;
        case opt_until:
            o.until = whole_number(value, 0, std::numeric_limits<std::int64_t>::max() / 4);
            if (!o.until)
                return bad_value(c, value, "um numero inteiro >= 0");
            break;
        case opt_width:
            if (const auto width = whole_number(value, 40, 10000))
                o.width = static_cast<int>(*width);
            else
                return bad_value(c, value, "um numero inteiro de 40 a 10000");
            break;
        case opt_queues:
            if (const auto queues = whole_number(value, 1, max_ready_levels))
                o.rules.queues = static_cast<int>(*queues);
            else
                return bad_value(c, value, "um numero inteiro de 1 a 8");
            break;
        case opt_queue_quantum:
            if (const auto list = quantum_list(value))
                o.quantum_list = *list;
            else
                return bad_value(c, value, "numeros inteiros de 32 bits separados por virgulas");
            break;
        case opt_preemption:
            o.rules.preemption = true;
            break;
        case opt_boost:
            if (const auto period = whole_number(value, 1, std::int64_t{1} << 40))
                o.rules.boost = *period;
            else
                return bad_value(c, value, "um numero inteiro >= 1");
            break;
        case opt_io_keeps_queue:
            o.rules.io_keeps_queue = true;
            break;
        case opt_quota:
            o.rules.quota = true;
            break;
        case opt_textbook:
            o.rules.textbook = true;
            break;
        case opt_generate:
            if (const auto count = whole_number(value, 1, 100000))
                o.generate_count = *count;
            else
                return bad_value(c, value, "um numero inteiro de 1 a 100000");
            break;
        case opt_seed:
            if (const auto seed = whole_number(value, 0, std::numeric_limits<std::int64_t>::max()))
                o.seed = static_cast<std::uint64_t>(*seed);
            else
                return bad_value(c, value, "um numero inteiro >= 0");
            break;
        case 'h':
            o.mode = Options::Mode::help;
            return o;
        case 'V':
            o.mode = Options::Mode::version;
            return o;
        default: {
            // getopt_long has moved past the argument it complains about.
            const int at = optind > previous ? optind - 1 : previous;
            return option_error(c, at < argc ? argv[at] : "");
        }
        }
    }
    for (int i = optind; i < argc; ++i) {
        if (o.file_given)
            return UsageError{
                format_text("mais de um arquivo de carga: \"%s\" e \"%s\"", o.file, argv[i])};
        o.file = argv[i];
        o.file_given = true;
        if (o.file.empty())
            return UsageError{"nome de arquivo de carga vazio"};
    }
    if (const auto error = check_combination(o))
        return *error;
    if (!o.quantum_list.empty()) { // queues past the last value take the last value
        o.rules.quantum_per_queue = true;
        for (std::size_t q = 0; q < o.rules.queue_quantum.size(); ++q)
            o.rules.queue_quantum[q] = o.quantum_list[std::min(q, o.quantum_list.size() - 1)];
    }
    if (o.generate_count > 0)
        o.mode = Options::Mode::generate;
    else if (o.text || o.json || o.svg_file || o.html_file)
        o.mode = Options::Mode::report;
    return o;
}

std::string usage_text() {
    return "Uso: mlfq [opcoes] [arquivo]\n"
           "Simulador de escalonamento de CPU com multiplas filas com realimentacao.\n"
           "\n"
           "Sem opcoes, le a carga de 'arquivo' (padrao: processo.txt na pasta atual) e\n"
           "abre o simulador interativo: c avanca um passo do relogio, TAB continua apos\n"
           "cada evento, 1 a 5 mostram as filas, ESC sai.\n"
           "\n"
           "Modo relatorio (roda a simulacao inteira, sem terminal):\n"
           "  -r, --relatorio     relatorio em texto na saida padrao\n"
           "      --json          o mesmo relatorio em JSON na saida padrao\n"
           "      --svg ARQ       grava o grafico de Gantt em SVG em ARQ\n"
           "      --html ARQ      grava o relatorio inteiro em uma pagina HTML em ARQ\n"
           "      --ate T         para no tempo T, no maximo\n"
           "      --largura N     largura do relatorio em texto (padrao: a do terminal, ou 80)\n"
           "\n"
           "Regras do escalonador (nos dois modos; sem elas, as regras classicas):\n"
           "      --filas N              numero de filas de prontos, de 1 a 8 (padrao 4)\n"
           "      --quantum-fila Q1,Q2   quantum de cada fila; as demais usam o ultimo\n"
           "      --preempcao            processo em fila mais alta interrompe o que executa\n"
           "      --boost S              a cada S passos todos voltam para a fila 1\n"
           "      --io-mantem-fila       quem volta do IO vai para a fila de onde saiu\n"
           "      --cota                 quem sai para IO ou e interrompido guarda o resto da "
           "fatia\n"
           "      --tempo-livro          conta o tempo como nos exercicios dos livros\n"
           "\n"
           "Gerador de cargas:\n"
           "      --gerar N [--semente S]  escreve uma carga valida de N processos\n"
           "\n"
           "  -h, --ajuda, --help       mostra esta ajuda\n"
           "  -V, --versao, --version   mostra a versao\n"
           "\n"
           "Saida: 0 ok; 1 arquivo de carga ilegivel; 2 sem memoria; 3 arquivo de carga\n"
           "malformado; 4 fim da entrada do teclado; 64 linha de comando errada;\n"
           "73 arquivo de saida nao gravado; 74 erro ao escrever na saida padrao.\n";
}

} // namespace mlfq
