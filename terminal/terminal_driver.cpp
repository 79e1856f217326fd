#include "terminal/terminal_driver.h"

#include "terminal/terminal_mode.h"

namespace mlfq {

TerminalEnd drive_on_terminal(Session& session, TerminalConsole& console) {
    terminal_start();
    session.start();
    while (!console.failed() && !session.ended()) {
        const std::optional<int> code = console.next_key();
        if (!code) {
            console.write("\n ERRO: a entrada do teclado terminou ou nao pode ser lida \n");
            return console.failed() ? TerminalEnd::write_failed : TerminalEnd::input_ended;
        }
        session.key(*code);
    }
    return console.failed() ? TerminalEnd::write_failed : TerminalEnd::escape;
}

} // namespace mlfq
