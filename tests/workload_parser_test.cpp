#include "model/workload_parser.h"

#include "model/lists.h"
#include "model/record_memory.h"
#include "support/simulator_fixture.h"
#include "util/byte_text.h"

#include <gtest/gtest.h>

#include <string>

namespace mlfq::testing {
namespace {

using WorkloadParser = SimulatorTest;

constexpr std::string_view example = "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5\n";
constexpr std::string_view example_loaded = "3|A 0 10 [4/2 3/0] B 1 20 [5/0]";

// The quantum and every process on not_dispatched, with its bursts.
std::string dump() {
    std::string text = std::to_string(scheduler.quantum) + "|";
    for (const Process* p = first(scheduler.not_dispatched); p != nullptr; p = p->next) {
        text += format_text("%s%s %d %d [", p == first(scheduler.not_dispatched) ? "" : " ",
                            p->name, p->arrival, p->extra);
        for (const Burst* b = first(p->bursts); b != nullptr; b = b->next)
            text += format_text("%s%d/%d", b == first(p->bursts) ? "" : " ", b->cpu, b->io);
        text += "]";
    }
    return text;
}

std::optional<WorkloadError> parse(std::string_view text) {
    reset_scheduler();
    scheduler.not_dispatched = new_process_node();
    return parse_workload(text);
}

TEST_F(WorkloadParser, AcceptedFiles) {
    struct Case {
        std::string text;
        std::string loaded;
    };
    const Case cases[] = {
        {std::string(example), std::string(example_loaded)},
        {"3\r\nA 0 10 2\r\n4 2\r\n3\r\nB 1 20 1\r\n5\r\n", std::string(example_loaded)},
        {"\xEF\xBB\xBF"
         "3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5",
         std::string(example_loaded)},
        {"3\nA 0 10 2\n4 2\n3\nB 1 20 1\n5   \n\n  \t", std::string(example_loaded)},
        {"3 A 0 10 2 4 2 3 B 1 20 1 5", std::string(example_loaded)}, // lines carry no meaning
        {"3\nA 0 10 2\n4 2\n3\n\x1a"
         "B 1 20 1\n5\n",
         "3|A 0 10 [4/2 3/0]"},
        {"3\nA 0 0 1\n5\n\x1a\x01 garbage \xff", "3|A 0 0 [5/0]"},
        {"", "0|"},
        {" \n\t\n", "0|"},
        {"\x1a"
         "3\nA 0 0 1\n5\n",
         "0|"},
        {"7", "7|"},
        {"7\n", "7|"},
        {"5\nA 0 0 1\n7\n", "5|A 0 0 [7/0]"},
        {"5\nA 0 0 0\n7\n", "5|A 0 0 [7/0]"},
        {"5\nA 0 0 -3\n7\n", "5|A 0 0 [7/0]"},
        {"5\nA 0 0 -2147483648\n7\n", "5|A 0 0 [7/0]"},
        {"2\nP 5 0 1\n1\nQ 2 0 1\n1\nR 5 0 1\n1\n", "2|Q 2 0 [1/0] P 5 0 [1/0] R 5 0 [1/0]"},
        {"0\nA 0 -7 3\n0 0\n0 4\n0\n", "0|A 0 -7 [0/0 0/4 0/0]"},
        {"-4\nA +2 2147483647 1\n1\n", "-4|A 2 2147483647 [1/0]"},
        {"-2147483648\nB 0 -2147483648 1\n0\n", "-2147483648|B 0 -2147483648 [0/0]"},
        {"1\nABCDEFGHIJKLMNOPQRS 0 0 1\n1\n", "1|ABCDEFGHIJKLMNOPQRS 0 0 [1/0]"},
        {"1\nProcesso\xc3\xa9 0 0 1\n1\n", "1|Processo\xc3\xa9 0 0 [1/0]"},
        {"1\n1 0 0 1\n1\n", "1|1 0 0 [1/0]"}, // a name may be all digits
        {"3\nA 0 0 1\n5\r", "3|A 0 0 [5/0]"}, // a CR at the very end
        {"3\nA 0 0 1\n5\r\x1a\r7", "3|A 0 0 [5/0]"},
        {"1\nJo\xe3o 0 0 1\n1\n", "1|Jo\xe3o 0 0 [1/0]"}, // Windows-1252 letters stay
        {"1\n\x93\x8a\x9c\x80\x94 0 0 1\n1\n",
         "1|\x93\x8a\x9c\x80\x94 0 0 [1/0]"}, // and its 0x80-0x9F
        {"1\nA\xc2\xa0"
         "B 0 0 1\n1\n",
         "1|A\xc2\xa0"
         "B 0 0 [1/0]"},
    };
    for (const Case& c : cases) {
        const auto error = parse(c.text);
        EXPECT_FALSE(error.has_value()) << quote_input(c.text) << ": " << error->message;
        EXPECT_EQ(dump(), c.loaded) << quote_input(c.text);
    }
}

TEST_F(WorkloadParser, RejectedFilesNameTheLineAndTheProblem) {
    struct Case {
        std::string text;
        std::int64_t line;
        std::string message_part;
    };
    const Case cases[] = {
        // A name where the quantum belongs would otherwise lose its first letter.
        {"P1 0 5 1\n3\n", 1,
         "esperava o quantum (numero inteiro) no inicio do arquivo e "
         "encontrou \"P1\""},
        {"3x\nA 0 0 1\n1\n", 1, "encontrou \"3x\""},
        {"99999999999\n", 1, "\"99999999999\", fora do intervalo de 32 bits"},
        {"\xEF\xBB\xBF\xEF\xBB\xBF"
         "3\n",
         1, "encontrou \"\\xEF\\xBB\\xBF3\""},
        {"3\nA x 0 1\n1\n", 2,
         "esperava o tempo de chegada do processo \"A\" (numero inteiro >= 0) "
         "e encontrou \"x\""},
        {"3\nA 0 y 1\n1\n", 2,
         "esperava o segundo numero do processo \"A\" (numero inteiro) e "
         "encontrou \"y\""},
        {"3\nA 0 0 +\n1\n", 2,
         "o numero de surtos de CPU do processo \"A\" (numero inteiro) e "
         "encontrou \"+\""},
        {"3\nA 0 0 1\n4x\n", 3, "o tempo de CPU do surto 1 do processo \"A\""},
        {"3\nA 0 0 1\n-\n", 3, "encontrou \"-\""},
        {"3\r\n\r\n\nA 0 0 2\r\n1 z\r\n1\r\n", 5,
         "o tempo de IO do surto 1 do processo \"A\" "
         "(numero inteiro >= 0) e encontrou \"z\""},
        {"3\nA 0 0 2\n4 2\n", 3,
         "o tempo de CPU do surto 2 do processo \"A\" (numero inteiro >= 0) "
         "e encontrou o fim do arquivo"},
        {"3\nA 0 0 2\n4 2\n\n\n", 3, "encontrou o fim do arquivo"},
        {"3\nA 0 0", 2, "o numero de surtos de CPU do processo \"A\""},
        {"3\nA\x1a 0 0 1\n1\n", 2,
         "o tempo de chegada do processo \"A\" (numero inteiro >= 0) e "
         "encontrou o fim do arquivo"},
        {"3\nA 2147483648 0 1\n1\n", 2, "\"2147483648\", fora do intervalo de 32 bits"},
        {"3\nA 0 -2147483649 1\n1\n", 2, "fora do intervalo de 32 bits"},
        {"3\nA 0 0 1\n1\nB 0 0 1\n99999999999999999999999\n", 5, "fora do intervalo"},
        // Negative times would stall every later arrival or keep a process for ever.
        {"3\nA -1 0 1\n1\n", 2,
         "o tempo de chegada do processo \"A\" (numero inteiro >= 0) e "
         "encontrou \"-1\""},
        {"3\nA 0 0 2\n-1 2\n1\n", 3,
         "o tempo de CPU do surto 1 do processo \"A\" (numero inteiro "
         ">= 0) e encontrou \"-1\""},
        {"3\nA 0 0 2\n1 -2\n1\n", 3, "o tempo de IO do surto 1"},
        {"3\nA 0 0 2\n1 2\n-1\n", 4, "o tempo de CPU do surto 2"},
        {"3\nA 0 0 1\n1\nABCDEFGHIJKLMNOPQRST 0 0 1\n1\n", 4,
         "nome de processo com mais de 19 caracteres: \"ABCDEFGHIJKLMNOPQRST\""},
        {"3\nA\x01"
         "B 0 0 1\n1\n",
         2, "nome de processo com caractere de controle: \"A\\x01B\""},
        {"3\nA\x7f 0 0 1\n1\n", 2, "caractere de controle: \"A\\x7F\""},
        {std::string("3\nA\0B 0 0 1\n1\n", 15), 2, "caractere de controle: \"A\\x00B\""},
        {"3\n\x1b[2J 0 0 1\n1\n", 2, "caractere de controle: \"\\x1B[2J\""},
        // A CR that does not end a line would glue items together.
        {"3\r2\nA 0 0 1\n1\n", 1, "retorno de carro (CR) sem fim de linha (LF)"},
        {"3\rA 0 0 1\r1\r", 1, "fins de linha so com CR"},
        {"3\r\nA 0 0 1\r\n1\r\nB 0 0 1\r 1\r\n", 4, "retorno de carro"},
        // C1 controls in UTF-8; in a name that is not UTF-8 (read as Windows-1252) the
        // five bytes Windows-1252 leaves undefined.
        {"3\nA\xc2\x9b"
         "2J 0 0 1\n1\n",
         2, "caractere de controle (C1): \"A\\xC2\\x9B2J\""},
        {"3\nA\x9d"
         "2J\xe9 0 0 1\n1\n",
         2, "caractere de controle (C1)"},
        {"3\nA\x81 0 0 1\n1\n", 2, "caractere de controle (C1)"},
        // A C1 control in UTF-8 inside a name that is otherwise not UTF-8 is kept as it is.
        {"3\nA\xc2\x85\xff 0 0 1\n1\n", 2, "caractere de controle (C1)"},
        // No XML document may hold U+FFFE or U+FFFF.
        {"3\nA\xef\xbf\xbe 0 0 1\n1\n", 2, "caractere nao permitido (U+FFFE ou U+FFFF)"},
        {"3\nOK 0 0 1\n1\nB\xef\xbf\xbf 0 0 1\n1\n", 4, "(U+FFFE ou U+FFFF): \"B\\xEF\\xBF\\xBF\""},
        {"\xff\xfe"
         "3\x00\n\x00",
         1, "o arquivo esta em UTF-16; salve-o como UTF-8 ou ANSI"},
        {"\xfe\xff\x00"
         "3",
         1, "UTF-16"},
        {"3\nImpress\xc3\xa3oRelat\xc3\xb3rios 0 0 1\n1\n", 2,
         "nome de processo com mais de 19 caracteres: \"Impress\xc3\xa3oRelat\xc3\xb3rios\" "
         "tem 21 bytes (uma letra acentuada ocupa 2 bytes em UTF-8)"},
        // Names are quoted in messages, so that they stay printable.
        {"2\n\xde\xde"
         "3 4]\n",
         2,
         "do processo \"\\xDE\\xDE3\" (numero inteiro >= 0) e "
         "encontrou \"4]\""},
    };
    for (const Case& c : cases) {
        const auto error = parse(c.text);
        ASSERT_TRUE(error.has_value()) << quote_input(c.text);
        EXPECT_EQ(error->line, c.line) << quote_input(c.text);
        EXPECT_NE(error->message.find(c.message_part), std::string::npos)
            << quote_input(c.text) << " gave: " << error->message;
        EXPECT_EQ(dump(), "0|") << "a rejected file leaves nothing loaded";
        EXPECT_EQ(printable_text(error->message), error->message) << "nothing to escape";
    }
}

TEST(QuoteInput, ShowsUtf8AsWrittenEscapesTheRestAndCutsLongItems) {
    const std::pair<std::string, std::string> cases[] = {
        {"abc", "\"abc\""},
        {"a\"b\\c\xff", "\"a\\x22b\\x5Cc\\xFF\""},
        {std::string(50, 'x'), "\"" + std::string(40, 'x') + "...\""},
        {"Impress\xc3\xa3o", "\"Impress\xc3\xa3o\""},
        {"\x1b[2J\xc2\x85\xe2\x80\xae", "\"\\x1B[2J\\xC2\\x85\\xE2\\x80\\xAE\""},   // C0, C1, bidi
        {std::string(39, 'x') + "\xc3\xa9", "\"" + std::string(39, 'x') + "...\""}, // whole letters
    };
    for (const auto& [input, quoted] : cases)
        EXPECT_EQ(quote_input(input), quoted);
}

} // namespace
} // namespace mlfq::testing
