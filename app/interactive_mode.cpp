#include "app/modes.h"

#include "app/workload_loading.h"
#include "console/session.h"
#include "terminal/terminal_driver.h"
#include "util/exit_status.h"
#include "util/system_error.h"

#include <cstdio>
#include <unistd.h>

namespace mlfq {

int run_interactive(const Options& options) {
    // Text reaches the screen at once, in order with everything else written.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // The workload is read before the terminal is touched, so that a slow or failed load
    // leaves it as the user had it.
    if (const auto failure = load_workload(options)) {
        std::printf("%s", failure->message.c_str());
        // Why, on a line of its own; on a terminal it starts a line after the message.
        if (!failure->reason.empty()) {
            if (::isatty(STDERR_FILENO))
                std::fputc('\n', stderr);
            print_error(failure->reason);
        }
        return failure->status;
    }
    TerminalConsole console;
    Session session(console);
    switch (drive_on_terminal(session, console)) {
    case TerminalEnd::escape:
        return exit_ok;
    case TerminalEnd::input_ended:
        return exit_input_ended;
    case TerminalEnd::write_failed:
        return exit_write_failed;
    }
    return exit_ok;
}

} // namespace mlfq
