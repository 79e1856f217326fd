#include "terminal/terminal_console.h"

#include "terminal/terminal_mode.h"
#include "util/exit_status.h"
#include "util/write_all.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <poll.h>
#include <unistd.h>

namespace mlfq {

namespace {

std::int64_t now_ms() {
    timespec t{};
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<std::int64_t>(t.tv_sec) * 1000 + t.tv_nsec / 1000000;
}

// Waits up to `timeout_ms` (-1: for ever) for input; false when the time ran out.
bool input_ready(int timeout_ms) {
    pollfd fd{STDIN_FILENO, POLLIN, 0};
    for (;;) {
        const int n = poll(&fd, 1, timeout_ms);
        if (n >= 0)
            return n > 0;
        if (errno != EINTR)
            return true; // let the read report the error
    }
}

} // namespace

TerminalConsole::TerminalConsole() : decoder_(escape_delay_setting(std::getenv("ESCDELAY"))) {}

void TerminalConsole::write(std::string_view text) {
    if (!failed_ && write_standard_output(text) != exit_ok)
        failed_ = true;
}

void TerminalConsole::clear() {
    write("\x1b[H\x1b[2J");
}

// While the bytes so far may still grow into a longer key, waits for more only until the
// escape time has passed since the last of them; then the decoder ends the key.
bool TerminalConsole::fill_codes() {
    while (codes_.empty()) {
        if (decoder_.pending()) {
            const auto waited = static_cast<int>(now_ms() - last_byte_ms_);
            if (!input_ready(std::max(0, decoder_.escape_timeout_ms() - waited))) {
                decoder_.pause(static_cast<int>(now_ms() - last_byte_ms_), codes_);
                continue;
            }
        } else {
            input_ready(-1);
        }
        unsigned char bytes[64];
        const ssize_t got = ::read(STDIN_FILENO, bytes, sizeof bytes);
        if (got < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (got <= 0) {
            decoder_.pause(decoder_.escape_timeout_ms(), codes_); // a final lone ESC counts
            return !codes_.empty();
        }
        last_byte_ms_ = now_ms();
        for (ssize_t i = 0; i < got; ++i)
            decoder_.feed(bytes[i], codes_);
    }
    return true;
}

std::optional<int> TerminalConsole::next_key() {
    if (codes_.empty()) {
        terminal_enter_raw();
        const bool got_key = fill_codes();
        terminal_leave_raw();
        if (!got_key)
            return std::nullopt;
    }
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

int TerminalConsole::read_key() {
    return next_key().value_or(key_escape);
}

} // namespace mlfq
