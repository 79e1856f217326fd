#include "console/key_decoder.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace mlfq {
namespace {

using Codes = std::vector<int>;

// Feeds the bytes one by one, `gap_ms` apart (a terminal writes a key's bytes together;
// a slow connection may split them), then a long pause.
Codes decode(std::string_view bytes, int gap_ms = 0) {
    KeyDecoder decoder;
    KeyCodes out;
    for (char byte : bytes) {
        decoder.feed(static_cast<unsigned char>(byte), out);
        decoder.pause(gap_ms, out);
    }
    decoder.pause(1000, out);
    EXPECT_FALSE(decoder.pending());
    return Codes(out.begin(), out.end());
}

struct Case {
    std::string bytes;
    Codes codes;
};

TEST(KeyDecoder, KeysWithACharacterGiveTheirCode) {
    const Case cases[] = {
        {"c", {99}},
        {"C", {67}},
        {"1", {49}},
        {"5", {53}},
        {"\t", {9}},
        {"\x03", {3}},
        {"\r", {13}},
        {"\x7f", {8}},
        {"\x1a", {26}},
        {"\xc3\xa9", {0xc3, 0xa9}},
        {std::string(1, '\0'), {0, 3}},
        {"c1\t", {99, 49, 9}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.bytes), c.codes) << c.bytes;
}

TEST(KeyDecoder, EscapeSequencesGiveZeroAndTheSecondCode) {
    const Case cases[] = {
        // xterm cursor keys, in normal and application mode
        {"\x1b[A", {0, 72}},
        {"\x1b[B", {0, 80}},
        {"\x1b[C", {0, 77}},
        {"\x1b[D", {0, 75}},
        {"\x1bOA", {0, 72}},
        {"\x1bOB", {0, 80}},
        {"\x1bOC", {0, 77}},
        {"\x1bOD", {0, 75}},
        {"\x1b[H", {0, 71}},
        {"\x1b[F", {0, 79}},
        {"\x1bOH", {0, 71}},
        {"\x1bOF", {0, 79}},
        // VT220 and the linux console
        {"\x1b[1~", {0, 71}},
        {"\x1b[2~", {0, 82}},
        {"\x1b[3~", {0, 83}},
        {"\x1b[4~", {0, 79}},
        {"\x1b[5~", {0, 73}},
        {"\x1b[6~", {0, 81}},
        {"\x1b[7~", {0, 71}},
        {"\x1b[8~", {0, 79}},
        // function keys
        {"\x1bOP", {0, 59}},
        {"\x1bOQ", {0, 60}},
        {"\x1bOR", {0, 61}},
        {"\x1bOS", {0, 62}},
        {"\x1b[11~", {0, 59}},
        {"\x1b[12~", {0, 60}},
        {"\x1b[13~", {0, 61}},
        {"\x1b[14~", {0, 62}},
        {"\x1b[15~", {0, 63}},
        {"\x1b[17~", {0, 64}},
        {"\x1b[18~", {0, 65}},
        {"\x1b[19~", {0, 66}},
        {"\x1b[20~", {0, 67}},
        {"\x1b[21~", {0, 68}},
        {"\x1b[23~", {0, 133}},
        {"\x1b[24~", {0, 134}},
        {"\x1b[[A", {0, 59}},
        {"\x1b[[B", {0, 60}},
        {"\x1b[[C", {0, 61}},
        {"\x1b[[D", {0, 62}},
        {"\x1b[[E", {0, 63}},
        {"\x1b[Z", {0, 15}},
        // with modifiers: the key itself
        {"\x1b[1;5A", {0, 72}},
        {"\x1b[1;2P", {0, 59}},
        {"\x1b[3;5~", {0, 83}},
        // keys this decoder does not know are still one key, never an ESC
        {"\x1b[99~", {0, 255}},
        {"\x1b[200~", {0, 255}},
        {"\x1b[0000000000000000003~", {0, 255}},
        {"\x1b[99999999999999~", {0, 255}},
        {"\x1b[03~", {0, 83}},
        {"\x1b[x", {0, 255}},
        {"\x1bOx", {0, 255}},
        {"\x1b[[x", {0, 255}},
        {"\x1b[;~", {0, 255}},
        {"\x1b[" + std::string(40, '1') + "~", {0, 255}},
        {"\x1bx", {0, 255}}, // Alt+x
        // two keys in one read
        {"\x1b[A\x1b[B", {0, 72, 0, 80}},
        {"c\x1b[Dc", {99, 0, 75, 99}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(decode(c.bytes), c.codes) << c.bytes.substr(1);
        EXPECT_EQ(decode(c.bytes, 30), c.codes) << c.bytes.substr(1) << ", bytes 30 ms apart";
    }
}

TEST(KeyDecoder, LoneEscapesAndCutSequences) {
    const Case cases[] = {
        {"\x1b", {27}},
        {"\x1b\x1b", {27, 27}}, // ESC pressed twice quickly
        {"\x1b\t", {27, 9}},    // ESC then TAB
        {"\x1b[", {0, 255}},    // Alt+[ or a sequence cut short
        {"\x1bO", {0, 255}},
        {"\x1b[1;", {0, 255}},
        {"\x1b[1\x03", {0, 255, 3}},       // a control byte ends the sequence
        {"\x1b[1\x1b[A", {0, 255, 0, 72}}, // so does a new ESC
    };
    for (const Case& c : cases)
        EXPECT_EQ(decode(c.bytes), c.codes) << c.bytes.substr(1);
}

// ESC followed by '[' and 'A' within the escape time is Up; after it, three keys.
TEST(KeyDecoder, EscapeTimeTellsALoneEscFromASequence) {
    struct Timed {
        int pause_ms;
        Codes codes;
    };
    const Timed cases[] = {
        {0, {0, 72}},  {60, {0, 72}}, // an arrow over a link with some lag
        {99, {0, 72}}, {100, {27, '[', 'A'}}, {220, {27, '[', 'A'}},
    };
    for (const Timed& t : cases) {
        KeyDecoder decoder;
        KeyCodes out;
        decoder.feed(0x1b, out);
        EXPECT_TRUE(decoder.pending());
        decoder.pause(t.pause_ms, out);
        decoder.feed('[', out);
        decoder.feed('A', out);
        EXPECT_EQ(Codes(out.begin(), out.end()), t.codes) << t.pause_ms << " ms";
    }
}

TEST(KeyDecoder, APauseInsideASequenceEndsIt) {
    KeyDecoder decoder;
    KeyCodes out;
    for (char byte : std::string_view("\x1b[2"))
        decoder.feed(static_cast<unsigned char>(byte), out);
    decoder.pause(99, out);
    EXPECT_TRUE(out.empty());
    decoder.pause(100, out);
    decoder.feed('~', out);
    EXPECT_EQ(Codes(out.begin(), out.end()), (Codes{0, 255, '~'}));
}

TEST(KeyDecoder, EscDelayFromTheEnvironment) {
    const std::pair<const char*, int> cases[] = {
        {nullptr, 100},   {"", 100},      {"300", 300}, {"1", 1},
        {"10000", 10000}, {"0", 100},     {"abc", 100}, {"12a", 100},
        {"999999", 100},  {"10001", 100}, {"-5", 100},  {" 300", 100},
    };
    for (const auto& [value, ms] : cases)
        EXPECT_EQ(escape_delay_setting(value), ms) << (value ? value : "(unset)");
    KeyDecoder slow(escape_delay_setting("300"));
    KeyCodes out;
    slow.feed(0x1b, out);
    slow.pause(299, out);
    EXPECT_TRUE(out.empty()) << "ESC still waits for the rest of its key";
    slow.pause(300, out);
    EXPECT_EQ(Codes(out.begin(), out.end()), Codes{27});
}

} // namespace
} // namespace mlfq
