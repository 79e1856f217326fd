// The program's console on a terminal: text to standard output, keys from standard input
// through the key decoder, with the escape time of a real keyboard.
#pragma once

#include "console/console.h"
#include "console/key_decoder.h"

#include <cstdint>
#include <optional>

namespace mlfq {

class TerminalConsole final : public Console {
public:
    // The escape time comes from the ESCDELAY environment variable, if it is set right.
    TerminalConsole();
    // Every byte reaches the terminal, also after a stop and continue in the middle of a
    // write; after a write fails (told once on standard error) nothing more is written.
    void write(std::string_view text) override;
    void clear() override;
    // The next key code; never called by the session, which is fed keys (drive below).
    int read_key() override;
    // The next key code, waiting for it in the raw state; none when the input has ended
    // or cannot be read.
    std::optional<int> next_key();
    // True once a write has failed.
    bool failed() const { return failed_; }

private:
    // Reads bytes until the decoder has given at least one code; false when input ended.
    bool fill_codes();

    KeyDecoder decoder_;
    KeyCodes codes_; // decoded and not yet returned, in order
    std::int64_t last_byte_ms_ = 0;
    bool failed_ = false;
};

} // namespace mlfq
