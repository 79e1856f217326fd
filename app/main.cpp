// mlfq: a simulator of CPU scheduling with multilevel feedback queues.
#include "app/modes.h"
#include "model/record_memory.h"

#include <cstdio>
#include <new>

int main(int argc, char** argv) {
    std::set_new_handler([] { mlfq::out_of_memory(); });
    try {
        return mlfq::run_program(argc, argv);
    } catch (...) { // nothing throws by design; should something, say so and end
        std::fputs("mlfq: erro interno inesperado\n", stderr);
        return 70; // EX_SOFTWARE
    }
}
