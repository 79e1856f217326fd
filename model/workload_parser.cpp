#include "model/workload_parser.h"

#include "model/lists.h"
#include "model/record_memory.h"
#include "model/scheduler_state.h"
#include "util/byte_text.h"
#include "util/text_format.h"

#include <algorithm>
#include <limits>

namespace mlfq {

namespace {

constexpr char end_of_file_byte = 0x1A;
constexpr std::string_view byte_order_mark = "\xEF\xBB\xBF";

bool is_blank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool is_control(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return byte < 0x20 || byte == 0x7F;
}

// A C1 control character (U+0080 to U+009F), which a terminal honouring 8-bit controls
// would obey, encoded in UTF-8 (the name is shown with its UTF-8 sequences as they are). A name
// that is not UTF-8 is read as Windows-1252, whose bytes 0x80 to 0x9F are letters and punctuation,
// and shown converted; only the five bytes it leaves undefined are refused there.
bool has_c1_control(std::string_view name) {
    bool utf8 = true;
    for (std::size_t at = 0; at < name.size() && utf8;) {
        const std::size_t length = utf8_sequence_length(name, at);
        utf8 = length > 0;
        at += length;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto byte = static_cast<unsigned char>(name[i]);
        // Also inside a name that is not UTF-8 as a whole, where such a sequence is kept.
        if (byte == 0xC2 && i + 1 < name.size() &&
            static_cast<unsigned char>(name[i + 1]) >= 0x80 &&
            static_cast<unsigned char>(name[i + 1]) < 0xA0)
            return true;
        if (!utf8 && (byte == 0x81 || byte == 0x8D || byte == 0x8F || byte == 0x90 || byte == 0x9D))
            return true;
    }
    return false;
}

// U+FFFE and U+FFFF: valid UTF-8, but no XML document may hold them.
bool has_noncharacter(std::string_view name) {
    return name.find("\xEF\xBF\xBE") != std::string_view::npos ||
           name.find("\xEF\xBF\xBF") != std::string_view::npos;
}

// The text as the loader sees it: nothing from the first 0x1A on, a UTF-8 byte-order
// mark at the very start skipped, and carriage returns dropped where they end a line
// (before a line feed, or at the very end). A carriage return anywhere else would glue
// two items together ("3\r2" is not 32), so it is an error.
std::optional<WorkloadError> clean_text(std::string_view raw, std::string& text) {
    if (raw.starts_with("\xFF\xFE") || raw.starts_with("\xFE\xFF"))
        return WorkloadError{1, "o arquivo esta em UTF-16; salve-o como UTF-8 ou ANSI"};
    if (raw.starts_with(byte_order_mark))
        raw.remove_prefix(byte_order_mark.size());
    raw = raw.substr(0, raw.find(end_of_file_byte));
    text.reserve(raw.size());
    std::int64_t line = 1;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        line += c == '\n';
        if (c != '\r') {
            text.push_back(c);
        } else if (i + 1 < raw.size() && raw[i + 1] != '\n') {
            return WorkloadError{line, "retorno de carro (CR) sem fim de linha (LF) depois; "
                                       "o arquivo tem fins de linha so com CR (Mac antigo)? "
                                       "salve-o com fins de linha LF ou CR LF"};
        }
    }
    return std::nullopt;
}

struct Token {
    std::string_view text; // empty at the end of the input
    std::int64_t line = 0;
};

// Splits the text into items separated by white space, counting lines.
class Tokenizer {
public:
    explicit Tokenizer(std::string_view text) : text_(text) {}

    Token next() {
        while (pos_ < text_.size() && is_blank(text_[pos_]))
            line_ += text_[pos_++] == '\n';
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !is_blank(text_[pos_]))
            ++pos_;
        if (pos_ > start)
            last_line_ = line_;
        // At the end, point at the line of the last item: that is where the entry stops.
        return {text_.substr(start, pos_ - start), pos_ > start ? line_ : last_line_};
    }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::int64_t line_ = 1;
    std::int64_t last_line_ = 1;
};

enum class NumberProblem { none, not_a_number, out_of_range };

// An optional sign and one or more digits, and nothing else, within 32 bits.
NumberProblem read_int32(std::string_view item, std::int32_t& value) {
    std::size_t i = 0;
    const bool negative = !item.empty() && item[0] == '-';
    if (!item.empty() && (item[0] == '-' || item[0] == '+'))
        i = 1;
    if (i == item.size())
        return NumberProblem::not_a_number;
    std::int64_t magnitude = 0;
    bool too_big = false;
    for (; i < item.size(); ++i) {
        if (item[i] < '0' || item[i] > '9')
            return NumberProblem::not_a_number;
        if (!too_big)
            magnitude = magnitude * 10 + (item[i] - '0');
        too_big = too_big || magnitude > std::int64_t{1} << 31;
    }
    const std::int64_t signed_value = negative ? -magnitude : magnitude;
    if (too_big || signed_value < std::numeric_limits<std::int32_t>::min() ||
        signed_value > std::numeric_limits<std::int32_t>::max())
        return NumberProblem::out_of_range;
    value = static_cast<std::int32_t>(signed_value);
    return NumberProblem::none;
}

// A number of an entry, described for the message when it is wrong; the message is only
// put together then, so loading a long file builds no text.
struct NumberItem {
    const char* what;         // "o tempo de chegada", ...
    std::string_view process; // the entry's name
    bool at_least_zero;
    std::int32_t burst = 0; // 1-based number of the burst the time belongs to, or 0
};

std::string expected_text(const NumberItem& item) {
    std::string text = format_text("esperava %s", item.what);
    if (item.burst > 0)
        text += format_text(" do surto %d", item.burst);
    return text + format_text(" do processo %s (numero inteiro%s)", quote_input(item.process),
                              item.at_least_zero ? " >= 0" : "");
}

class Parser {
public:
    explicit Parser(std::string_view text) : tokens_(text) {}

    std::optional<WorkloadError> run();

private:
    bool read_number(const NumberItem& item, std::int32_t& value);
    bool read_entry(Token name_token);
    bool fail(std::int64_t line, std::string message);

    Tokenizer tokens_;
    std::optional<WorkloadError> error_;
    std::int32_t entries_ = 0;
};

bool Parser::fail(std::int64_t line, std::string message) {
    error_ = WorkloadError{line, std::move(message)};
    return false;
}

// Reads the next item as the number `item` describes.
bool Parser::read_number(const NumberItem& item, std::int32_t& value) {
    const Token token = tokens_.next();
    if (token.text.empty())
        return fail(token.line, expected_text(item) + " e encontrou o fim do arquivo");
    const NumberProblem problem = read_int32(token.text, value);
    if (problem == NumberProblem::none && !(item.at_least_zero && value < 0))
        return true;
    return fail(token.line,
                format_text("%s e encontrou %s%s", expected_text(item), quote_input(token.text),
                            problem == NumberProblem::out_of_range
                                ? ", fora do intervalo de 32 bits"
                                : ""));
}

bool Parser::read_entry(Token name_token) {
    const std::string_view name = name_token.text;
    if (name.size() > name_max_length)
        return fail(name_token.line,
                    format_text("nome de processo com mais de %d caracteres: %s tem %d bytes "
                                "(uma letra acentuada ocupa 2 bytes em UTF-8)",
                                static_cast<int>(name_max_length), quote_input(name),
                                static_cast<std::int64_t>(name.size())));
    for (char c : name) {
        if (is_control(c))
            return fail(name_token.line, format_text("nome de processo com caractere de "
                                                     "controle: %s",
                                                     quote_input(name)));
    }
    if (has_c1_control(name))
        return fail(name_token.line, format_text("nome de processo com caractere de controle "
                                                 "(C1): %s",
                                                 quote_input(name)));
    if (has_noncharacter(name))
        return fail(name_token.line, format_text("nome de processo com caractere nao permitido "
                                                 "(U+FFFE ou U+FFFF): %s",
                                                 quote_input(name)));
    std::int32_t arrival = 0, extra = 0, count = 0;
    if (!read_number({"o tempo de chegada", name, true}, arrival) ||
        !read_number({"o segundo numero", name, false}, extra) ||
        !read_number({"o numero de surtos de CPU", name, false}, count))
        return false;
    Process* process = insert_by_arrival(name, arrival, extra);
    process->file_order = entries_++;
    process->bursts = new_burst_node();
    for (std::int32_t burst = 1; burst < count; ++burst) {
        std::int32_t cpu = 0, io = 0;
        if (!read_number({"o tempo de CPU", name, true, burst}, cpu) ||
            !read_number({"o tempo de IO", name, true, burst}, io))
            return false;
        append_burst(process, cpu, io);
    }
    std::int32_t cpu = 0;
    if (!read_number({"o tempo de CPU", name, true, count > 1 ? count : 1}, cpu))
        return false;
    append_burst(process, cpu, 0);
    return true;
}

std::optional<WorkloadError> Parser::run() {
    const Token first = tokens_.next();
    if (first.text.empty())
        return std::nullopt; // an empty file: quantum 0 and no processes
    std::int32_t quantum = 0;
    const NumberProblem problem = read_int32(first.text, quantum);
    if (problem != NumberProblem::none)
        return WorkloadError{first.line,
                             format_text("esperava o quantum (numero inteiro) no inicio do "
                                         "arquivo e encontrou %s%s",
                                         quote_input(first.text),
                                         problem == NumberProblem::out_of_range
                                             ? ", fora do intervalo de 32 bits"
                                             : "")};
    scheduler.quantum = quantum;
    for (Token name = tokens_.next(); !name.text.empty(); name = tokens_.next()) {
        if (!read_entry(name))
            return error_;
    }
    return std::nullopt;
}

// Releases every process on not_dispatched, leaving its head node.
void drop_not_dispatched() {
    release_list(scheduler.not_dispatched->next);
    scheduler.not_dispatched->next = nullptr;
}

} // namespace

std::string quote_input(std::string_view input) {
    constexpr std::size_t shown = 40;
    std::string quoted = "\"";
    std::size_t at = 0;
    while (at < input.size()) { // whole characters only, up to 40 bytes
        const std::size_t length = std::max<std::size_t>(1, utf8_sequence_length(input, at));
        if (at + length > shown)
            break;
        const std::string_view piece = input.substr(at, length);
        quoted += piece == "\"" ? "\\x22" : piece == "\\" ? "\\x5C" : printable_text(piece);
        at += length;
    }
    if (at < input.size())
        quoted += "...";
    return quoted + "\"";
}

std::optional<WorkloadError> parse_workload(std::string_view raw) {
    std::string text;
    std::optional<WorkloadError> error = clean_text(raw, text);
    if (!error)
        error = Parser(text).run();
    if (error) {
        drop_not_dispatched();
        scheduler.quantum = 0;
    }
    return error;
}

} // namespace mlfq
