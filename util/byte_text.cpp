#include "util/byte_text.h"

#include <cstdint>

namespace mlfq {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; the five it leaves undefined become U+FFFD.
constexpr std::uint16_t windows_1252_high[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178,
};

void append_code_point(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool is_continuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

} // namespace

std::size_t utf8_sequence_length(std::string_view bytes, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[at + i]); };
    const unsigned char lead = byte(0);
    std::size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;  // no overlong forms
        high = lead == 0xED ? 0x9F : 0xBF; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF; // nothing past U+10FFFF
    } else {
        return 0;
    }
    if (at + length > bytes.size() || byte(1) < low || byte(1) > high)
        return 0;
    for (std::size_t i = 2; i < length; ++i) {
        if (!is_continuation(byte(i)))
            return 0;
    }
    return length;
}

std::string to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8_sequence_length(bytes, at);
        if (length > 0) {
            out.append(bytes.substr(at, length));
            at += length;
            continue;
        }
        const auto byte = static_cast<unsigned char>(bytes[at++]);
        append_code_point(out, byte >= 0x80 && byte < 0xA0 ? windows_1252_high[byte - 0x80] : byte);
    }
    return out;
}

std::size_t utf8_length(std::string_view text) {
    std::size_t n = 0;
    for (char c : text)
        n += !is_continuation(static_cast<unsigned char>(c));
    return n;
}

namespace {

// Characters that show nothing or reorder the text around them: zero-width spaces and
// joiners, direction marks and overrides, the byte-order mark; and the two that are no
// characters at all (U+FFFE, U+FFFF), which no XML document may hold. In a message they
// would hide what is really there.
bool is_invisible(std::string_view sequence) {
    const std::uint32_t cp = (static_cast<std::uint32_t>(sequence[0] & 0x0F) << 12) |
                             (static_cast<std::uint32_t>(sequence[1] & 0x3F) << 6) |
                             static_cast<std::uint32_t>(sequence[2] & 0x3F);
    return (cp >= 0x200B && cp <= 0x200F) || (cp >= 0x2028 && cp <= 0x202E) ||
           (cp >= 0x2060 && cp <= 0x2069) || cp == 0xFEFF || cp == 0xFFFE || cp == 0xFFFF;
}

} // namespace

std::string printable_text(std::string_view bytes) {
    constexpr const char* hex = "0123456789ABCDEF";
    std::string out;
    const auto escape = [&](unsigned char byte) {
        out.append("\\x").append(1, hex[byte >> 4]).append(1, hex[byte & 15]);
    };
    for (std::size_t at = 0; at < bytes.size();) {
        const std::size_t length = utf8_sequence_length(bytes, at);
        const auto lead = static_cast<unsigned char>(bytes[at]);
        const bool c0 = length == 1 && (lead < 0x20 || lead == 0x7F);
        const bool c1 =
            length == 2 && lead == 0xC2 && static_cast<unsigned char>(bytes[at + 1]) < 0xA0;
        if (length == 0 || c0 || c1 || (length == 3 && is_invisible(bytes.substr(at, 3)))) {
            const std::size_t n = length == 0 ? 1 : length;
            for (std::size_t i = 0; i < n; ++i)
                escape(static_cast<unsigned char>(bytes[at + i]));
            at += n;
        } else {
            out.append(bytes.substr(at, length));
            at += length;
        }
    }
    return out;
}

} // namespace mlfq
