// Runs the real program to its end without a terminal: standard input from a file,
// standard output (and standard error) captured.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace mlfq::testing {

struct ProgramRun {
    int status = -1; // wait status
    std::string output;
    std::string errors;
};

ProgramRun run_program(const std::string& binary, const std::filesystem::path& directory,
                       const std::filesystem::path& input);

// The same with arguments; standard input is /dev/null unless `input` names a file, and
// standard output goes to `output` when one is named.
ProgramRun run_command(const std::string& binary, const std::filesystem::path& directory,
                       const std::vector<std::string>& arguments,
                       const std::filesystem::path& input = "/dev/null",
                       const std::filesystem::path& output = {});

} // namespace mlfq::testing
