#include "util/text_format.h"

#include <algorithm>
#include <cstddef>

namespace mlfq {

namespace {

struct Conversion {
    bool zero_pad = false;
    bool left_align = false;
    std::size_t width = 0;
    char type = 'd';
};

// The character at `i`, or NUL past the end (so a cut-off conversion reads as invalid).
char char_at(std::string_view format, std::size_t i) {
    return i < format.size() ? format[i] : '\0';
}

// Reads the flags, width and type that follow a '%' at `i`; leaves `i` on the type.
Conversion read_conversion(std::string_view format, std::size_t& i) {
    Conversion c;
    for (; char_at(format, i) == '0' || char_at(format, i) == '-'; ++i)
        (format[i] == '0' ? c.zero_pad : c.left_align) = true;
    for (; char_at(format, i) >= '0' && char_at(format, i) <= '9' && c.width < 1000; ++i)
        c.width = c.width * 10 + static_cast<std::size_t>(format[i] - '0');
    c.type = char_at(format, i);
    return c;
}

// The decimal digits of |value| at the end of `buffer`, computed without negating the
// most negative value; returns where they start.
char* magnitude_digits(std::int64_t value, char* end) {
    char* at = end;
    do {
        const std::int64_t digit = value % 10;
        *--at = static_cast<char>('0' + (digit < 0 ? -digit : digit));
        value /= 10;
    } while (value != 0);
    return at;
}

void append_padded(std::string& out, const Conversion& c, std::string_view sign,
                   std::string_view body) {
    if (c.width == 0) {
        out.append(sign).append(body);
        return;
    }
    const std::size_t length = sign.size() + body.size();
    const std::size_t fill = c.width > length ? c.width - length : 0;
    if (c.left_align) {
        out.append(sign).append(body).append(fill, ' ');
    } else if (c.zero_pad && c.type == 'd') {
        out.append(sign).append(fill, '0').append(body);
    } else {
        out.append(fill, ' ').append(sign).append(body);
    }
}

} // namespace

void format_into(std::string& out, std::string_view format, std::span<const FormatArg> args) {
    std::size_t next_arg = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%') { // the text up to the next conversion, at once
            const std::size_t next = std::min(format.find('%', i), format.size());
            out.append(format.substr(i, next - i));
            i = next - 1;
            continue;
        }
        if (char_at(format, ++i) == '%') {
            out.push_back('%');
            continue;
        }
        const Conversion c = read_conversion(format, i);
        if ((c.type != 'd' && c.type != 's') || next_arg == args.size())
            return; // unchecked formats only; a checked one never gets here
        const FormatArg& arg = args[next_arg++];
        if (c.type == 'd' && arg.kind == ArgKind::integer) {
            char digits[20];
            char* const end = digits + sizeof digits;
            const char* start = magnitude_digits(arg.number, end);
            append_padded(out, c, arg.number < 0 ? "-" : "",
                          std::string_view(start, static_cast<std::size_t>(end - start)));
        } else {
            append_padded(out, c, "", arg.text);
        }
    }
}

} // namespace mlfq
