// The console of the program: standard output for text, standard input for keys.
#pragma once

#include "console/console.h"
#include "console/key_decoder.h"

#include <cstdint>

namespace mlfq {

class TerminalConsole final : public Console {
public:
    // The escape time comes from the ESCDELAY environment variable, if it is set right.
    TerminalConsole();
    void write(std::string_view text) override;
    void clear() override;
    // Ends the program with status 4 when the input has ended or cannot be read.
    int read_key() override;

private:
    // Reads bytes until the decoder has given at least one code; false when input ended.
    bool fill_codes();

    KeyDecoder decoder_;
    KeyCodes codes_; // decoded and not yet returned, in order
    std::int64_t last_byte_ms_ = 0;
};

} // namespace mlfq
