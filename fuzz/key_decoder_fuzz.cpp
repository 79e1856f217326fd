// The key decoder on any bytes with any pauses: it never crashes, ends every key, and
// keeps the two-code rule; and keys typed as a terminal sends them decode to exactly
// their codes, none lost and none invented.
#include "console/key_decoder.h"
#include "fuzz_check.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace {

using mlfq::KeyCodes;
using mlfq::KeyDecoder;
using Codes = std::vector<int>;

struct Key {
    std::string_view bytes;
    Codes codes;
};

// Keys with their bytes and codes, the reference the decoder must agree with.
const Key known_keys[] = {
    {"\x1b[A", {0, 72}},    {"\x1b[B", {0, 80}},   {"\x1b[C", {0, 77}},    {"\x1b[D", {0, 75}},
    {"\x1bOA", {0, 72}},    {"\x1bOD", {0, 75}},   {"\x1b[H", {0, 71}},    {"\x1b[F", {0, 79}},
    {"\x1b[1~", {0, 71}},   {"\x1b[2~", {0, 82}},  {"\x1b[3~", {0, 83}},   {"\x1b[4~", {0, 79}},
    {"\x1b[5~", {0, 73}},   {"\x1b[6~", {0, 81}},  {"\x1bOP", {0, 59}},    {"\x1bOS", {0, 62}},
    {"\x1b[15~", {0, 63}},  {"\x1b[21~", {0, 68}}, {"\x1b[23~", {0, 133}}, {"\x1b[24~", {0, 134}},
    {"\x1b[[A", {0, 59}},   {"\x1b[[E", {0, 63}},  {"\x1b[Z", {0, 15}},    {"\x1b[1;5C", {0, 77}},
    {"\x1b[99~", {0, 255}}, {"\x1bx", {0, 255}},
};

// What one byte typed on its own, after and before a long pause, gives.
Codes single_byte(std::uint8_t byte) {
    if (byte == 0)
        return {0, 3};
    if (byte == 0x7F)
        return {8};
    return {byte};
}

void check_two_code_rule(const KeyCodes& codes) {
    for (std::size_t i = 0; i < codes.size(); ++i) {
        FUZZ_CHECK(codes[i] >= 0 && codes[i] <= 255);
        if (codes[i] == 0)
            FUZZ_CHECK(++i < codes.size()); // a 0 always comes with its second code
    }
}

// Any bytes, each followed by a pause the input chooses.
void any_bytes_any_pauses(const std::uint8_t* data, std::size_t size) {
    KeyDecoder decoder;
    KeyCodes codes;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        decoder.feed(data[i], codes);
        if (data[i + 1] & 0x80)
            decoder.pause(data[i + 1] & 0x7F, codes);
    }
    decoder.pause(KeyDecoder::default_escape_timeout_ms, codes);
    FUZZ_CHECK(!decoder.pending());
    FUZZ_CHECK(codes.size() <= size); // at most two codes for every byte fed
    check_two_code_rule(codes);
}

// Bytes typed slowly are keys of their own.
void slow_bytes(const std::uint8_t* data, std::size_t size) {
    KeyDecoder decoder;
    KeyCodes codes;
    Codes expected;
    for (std::size_t i = 0; i < size; ++i) {
        decoder.feed(data[i], codes);
        decoder.pause(KeyDecoder::default_escape_timeout_ms, codes);
        const Codes one = data[i] == 0x1B ? Codes{27} : single_byte(data[i]);
        expected.insert(expected.end(), one.begin(), one.end());
    }
    FUZZ_CHECK(Codes(codes.begin(), codes.end()) == expected);
}

// Whole keys, with short pauses inside sequences and a long one after a lone ESC.
void whole_keys(const std::uint8_t* data, std::size_t size) {
    KeyDecoder decoder;
    KeyCodes codes;
    Codes expected;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const std::uint8_t choice = data[i];
        const int short_pause = data[i + 1] % KeyDecoder::default_escape_timeout_ms;
        if (choice == 0x1B) {
            decoder.feed(choice, codes);
            decoder.pause(KeyDecoder::default_escape_timeout_ms + short_pause, codes);
            expected.push_back(27);
        } else if (choice >= 0xE0) {
            const Key& key = known_keys[(choice - 0xE0) % std::size(known_keys)];
            for (char byte : key.bytes) {
                decoder.feed(static_cast<std::uint8_t>(byte), codes);
                decoder.pause(short_pause, codes);
            }
            expected.insert(expected.end(), key.codes.begin(), key.codes.end());
        } else {
            decoder.feed(choice, codes);
            decoder.pause(short_pause, codes);
            const Codes one = single_byte(choice);
            expected.insert(expected.end(), one.begin(), one.end());
        }
    }
    FUZZ_CHECK(!decoder.pending());
    FUZZ_CHECK(Codes(codes.begin(), codes.end()) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    switch (data[0] % 3) {
    case 0:
        any_bytes_any_pauses(data + 1, size - 1);
        break;
    case 1:
        slow_bytes(data + 1, size - 1);
        break;
    default:
        whole_keys(data + 1, size - 1);
        break;
    }
    return 0;
}
