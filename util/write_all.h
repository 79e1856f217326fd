// The one loop every write of the program's output goes through.
#pragma once

#include <string_view>

namespace mlfq {

// Writes all of `text` to the descriptor, retrying writes interrupted by a signal and
// finishing partial ones. Returns 0, or the errno of the write that failed.
int write_all(int fd, std::string_view text);

// Writes all of `text` to standard output. On failure says why on standard error and
// returns exit_write_failed (74); otherwise 0.
int write_standard_output(std::string_view text);

} // namespace mlfq
