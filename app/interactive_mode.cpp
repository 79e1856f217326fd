#include "app/modes.h"

#include "console/main_menu.h"
#include "console/terminal_console.h"
#include "console/terminal_mode.h"
#include "model/simulation.h"
#include "model/workload_file.h"
#include "util/exit_status.h"

#include <cinttypes>
#include <cstdio>

namespace mlfq {

int run_interactive(const Options& options) {
    // Text reaches the screen at once, in order with everything else written.
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    // The workload is read before the terminal is touched, so that a slow or failed load
    // leaves it as the user had it.
    WorkloadRead read = read_workload_file(options.file.c_str());
    if (!read.ok) {
        std::printf(" ERRO AO ABRIR ARQUIVO ");
        return exit_cannot_open;
    }
    if (const auto error = set_up_simulation(read.text)) {
        std::printf(" ERRO NO ARQUIVO %s, linha %" PRId64 ": %s \n", options.file.c_str(),
                    error->line, error->message.c_str());
        return exit_bad_workload;
    }
    read = {}; // the text is not needed any more
    terminal_start();
    TerminalConsole console;
    set_console(&console);
    main_menu();
    return exit_ok;
}

} // namespace mlfq
