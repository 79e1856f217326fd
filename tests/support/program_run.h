// Runs the real program to its end without a terminal: standard input from a file,
// standard output captured.
#pragma once

#include <filesystem>
#include <string>

namespace mlfq::testing {

struct ProgramRun {
    int status = -1; // wait status
    std::string output;
};

ProgramRun run_program(const std::string& binary, const std::filesystem::path& directory,
                       const std::filesystem::path& input);

} // namespace mlfq::testing
