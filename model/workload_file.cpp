#include "model/workload_file.h"

#include <cerrno>
#include <cstdio>

namespace mlfq {

WorkloadRead read_workload_file(const char* path) {
    WorkloadRead read;
    std::FILE* file = std::fopen(path, "rb");
    if (file == nullptr) {
        read.error_number = errno;
        return read;
    }
    char chunk[64 * 1024];
    std::size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file)) > 0)
        read.text.append(chunk, got);
    const bool failed = std::ferror(file) != 0; // a directory, or an I/O error
    read.error_number = errno;
    std::fclose(file);
    if (failed) {
        read.text.clear();
        return read;
    }
    read.ok = true;
    read.error_number = 0;
    return read;
}

} // namespace mlfq
