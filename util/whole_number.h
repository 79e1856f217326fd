// Whole decimal numbers as the command line and the rules' values are written.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace mlfq {

// A whole decimal number of digits only, within [low, high]; none when it is empty, has
// anything but digits, or lies outside (also past the range of 64 bits).
std::optional<std::int64_t> whole_number(std::string_view text, std::int64_t low,
                                         std::int64_t high);

} // namespace mlfq
