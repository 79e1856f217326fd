// Bytes of unknown encoding turned into text that every output can hold.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mlfq {

// The length of the well-formed UTF-8 sequence that starts at `at` (shortest form, no
// surrogates, at most U+10FFFF), or 0 when the byte there does not start one.
std::size_t utf8_sequence_length(std::string_view bytes, std::size_t at);

// Valid UTF-8 stays as it is; every other byte is read as Windows-1252 (as an editor on
// Windows saves it) and converted, so the result is always valid UTF-8.
std::string to_utf8(std::string_view bytes);

// Characters of a valid UTF-8 text: the columns it takes on a terminal for the letters
// names are made of.
std::size_t utf8_length(std::string_view text);

// Text safe to show in a message on any terminal: well-formed UTF-8 characters stay as
// they are, while control characters (below 0x20, 0x7F, U+0080 to U+009F), invisible
// and direction-changing characters (zero-width, bidi marks and overrides, U+FEFF) and
// bytes that are not UTF-8 become \xNN, so that no escape sequence can get through and
// nothing is hidden.
std::string printable_text(std::string_view bytes);

} // namespace mlfq
