// A small type-safe replacement for printf, for the few conversions the screens use:
// %d and %s with an optional '0' or '-' flag and a width (%2d, %3d, %02d), and %%.
// The format string is checked against the argument types at compile time, and every
// integer is formatted as 64-bit, so wide counters print their true value with "%d".
#pragma once

#include <concepts>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>

namespace mlfq {

enum class ArgKind { integer, text };

// One formatting argument, erased to an integer or a piece of text.
struct FormatArg {
    ArgKind kind;
    std::int64_t number = 0;
    std::string_view text;

    template <std::integral T>
    requires(!std::same_as<T, bool> && !std::same_as<T, char>) FormatArg(T value)
        : kind(ArgKind::integer), number(static_cast<std::int64_t>(value)) {}
    FormatArg(const char* value) : kind(ArgKind::text), text(value) {}
    FormatArg(std::string_view value) : kind(ArgKind::text), text(value) {}
    FormatArg(const std::string& value) : kind(ArgKind::text), text(value) {}
};

template <class T>
consteval ArgKind kind_of() {
    using U = std::remove_cvref_t<T>;
    if constexpr (std::integral<U>) {
        static_assert(!std::same_as<U, bool> && !std::same_as<U, char>, "no %d for bool or char");
        static_assert(sizeof(U) <= 8 && (std::is_signed_v<U> || sizeof(U) < 8),
                      "unsigned 64-bit values do not fit the formatter");
        return ArgKind::integer;
    } else {
        static_assert(std::convertible_to<U, std::string_view>, "only integers and text");
        return ArgKind::text;
    }
}

// Walks a format the way format_text does; returns false on a malformed conversion or
// when the conversions and the argument kinds differ in number or kind.
constexpr bool format_matches(std::string_view format, std::span<const ArgKind> kinds) {
    std::size_t next_arg = 0;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%')
            continue;
        if (++i == format.size())
            return false;
        if (format[i] == '%')
            continue;
        while (i < format.size() && (format[i] == '0' || format[i] == '-'))
            ++i;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            ++i;
        if (i == format.size() || next_arg == kinds.size())
            return false;
        const ArgKind wanted = format[i] == 'd' ? ArgKind::integer : ArgKind::text;
        if ((format[i] != 'd' && format[i] != 's') || kinds[next_arg++] != wanted)
            return false;
    }
    return next_arg == kinds.size();
}

// A format string whose conversions were checked against Args when it was compiled.
template <class... Args>
struct CheckedFormat {
    std::string_view text;

    template <class S>
    requires std::convertible_to<const S&, std::string_view>
    consteval CheckedFormat(const S& format) : text(format) {
        const ArgKind kinds[sizeof...(Args) + 1] = {kind_of<Args>()..., ArgKind::text};
        if (!format_matches(text, std::span(kinds, sizeof...(Args))))
            throw "format string does not match its arguments"; // a compile-time error
    }
};

// Appends `format` with its conversions replaced by `args` to `out`, with C printf's
// rules for the conversions it knows (the sign goes before zero padding: -5 under %03d
// is "-05").
void format_into(std::string& out, std::string_view format, std::span<const FormatArg> args);

template <class... Args>
std::string format_text(CheckedFormat<std::type_identity_t<Args>...> format, const Args&... args) {
    const FormatArg erased[sizeof...(Args) + 1] = {FormatArg(args)..., FormatArg("")};
    std::string out;
    format_into(out, format.text, std::span(erased, sizeof...(Args)));
    return out;
}

} // namespace mlfq
