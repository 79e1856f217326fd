#include "console/main_menu.h"

#include "console/console.h"
#include "console/event_view.h"
#include "console/listings.h"
#include "model/clock_step.h"
#include "model/scheduler_state.h"

#include <cstdint>

namespace mlfq {

namespace {

// Integer division truncated toward zero; 0 while nothing has terminated.
std::int64_t average_wait() {
    return scheduler.finished_count == 0 ? 0 : scheduler.wait_sum / scheduler.finished_count;
}

} // namespace

void step() {
    ConsoleEventView view;
    step(view);
}

void show_status_screen() {
    clear_screen();
    write_text("\n                Multiplas filas com realimentacao \n"
               " Tempo TOTAL           : %d\n"
               " QUANTUM               : %d \n"
               " SLICE restante        : %d \n"
               " Tempo medio de Espera : %d \n"
               " ESQ - Sai\n"
               "                \n"
               " 1 - Fila de nao disparados\n"
               " 2 - Executando na CPU \n"
               " 3 - Fila de Prontos\n"
               " 4 - Processos ja terminados\n"
               " 5 - Processos em IO\n"
               " c - CPU \n",
               scheduler.clock, quantum_of(scheduler.level), scheduler.slice_left, average_wait());
}

bool main_menu_once() {
    show_status_screen();
    const int key = read_key();
    if (const Listing listing = listing_for_key(key)) {
        listing();
        read_key(); // any key returns to the menu, ESC included
    } else if (key == 'c') {
        step();
    }
    return key != key_escape;
}

void main_menu() {
    while (main_menu_once()) {
    }
}

} // namespace mlfq
