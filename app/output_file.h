// Writing an output file so that a failure never leaves half a file behind.
#pragma once

#include <string>
#include <string_view>

namespace mlfq {

// Writes `content` to a new file beside `path` and renames it into place: either the
// whole new file is there, or the old one (if any) is untouched. Returns 0, or the errno
// of the failure.
int write_file_atomically(const std::string& path, std::string_view content);

} // namespace mlfq
