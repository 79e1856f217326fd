// Writing an output file so that nothing is ever lost: a regular file is replaced whole
// or not at all, keeping its permissions; a device, FIFO or socket is written into as a
// stream and never replaced; a symbolic link is followed and stays.
#pragma once

#include <string>
#include <string_view>
#include <sys/types.h>

namespace mlfq {

struct OutputTarget {
    enum class Kind {
        standard_output, // "-"
        stream,          // an existing file that is not a regular one
        file             // a regular file, or none yet: replaced atomically
    };
    Kind kind = Kind::standard_output;
    std::string path; // the file finally named, every link followed
    bool exists = false;
    dev_t device = 0; // of an existing file
    ino_t inode = 0;
    std::string canonical; // of a file not there yet: its real folder and its name
};

// Where `name` finally leads, or the errno of why it cannot be written (EISDIR for a
// folder, ELOOP for links without end).
int resolve_output(const std::string& name, OutputTarget& target);

// Whether two targets are one file (or both standard output).
bool same_target(const OutputTarget& a, const OutputTarget& b);

// Writes `content` to the target. Returns 0, or the errno of the failure; a regular file
// is then as it was before.
int write_output(const OutputTarget& target, std::string_view content);

// Report mode: terminating signals remove the temporary file being written before they
// end the process, and a file-size limit makes the write fail (EFBIG) instead of killing
// the process.
void protect_temporary_files();

} // namespace mlfq
