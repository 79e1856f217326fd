#include "console/terminal_console.h"

#include "console/terminal_mode.h"
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

// Every byte reaches the terminal, also after a stop and continue in the middle of a
// write; a write that fails ends the program, since the user could no longer see it.
void TerminalConsole::write(std::string_view text) {
    if (const int status = write_standard_output(text))
        std::exit(status);
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

int TerminalConsole::read_key() {
    if (codes_.empty()) {
        terminal_enter_raw();
        const bool got_key = fill_codes();
        terminal_leave_raw();
        if (!got_key) {
            std::printf("\n ERRO: a entrada do teclado terminou ou nao pode ser lida \n");
            std::exit(exit_input_ended);
        }
    }
    const int code = codes_.front();
    codes_.pop_front();
    return code;
}

} // namespace mlfq
