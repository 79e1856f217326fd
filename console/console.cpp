#include "console/console.h"

#include <cstdio>
#include <cstdlib>

namespace mlfq {

namespace {
Console* active = nullptr;

Console& current() {
    if (active == nullptr) {
        std::fputs("mlfq: no console installed\n", stderr);
        std::abort(); // a wiring fault, never a user's
    }
    return *active;
}
} // namespace

Console* set_console(Console* console) {
    Console* previous = active;
    active = console;
    return previous;
}

void write_raw(std::string_view text) {
    current().write(text);
}
void put_char(char ch) {
    current().write(std::string_view(&ch, 1));
}
void clear_screen() {
    current().clear();
}
int read_key() {
    return current().read_key();
}

} // namespace mlfq
