#include "console/listings.h"

#include "console/console.h"
#include "model/lists.h"
#include "model/scheduler_state.h"
#include "util/byte_text.h"

namespace mlfq {

namespace {

// Name, arrival and extra, then what is left of every burst.
void show_process(const Process* process) {
    write_text("\n %s %02d %d", to_utf8(process->name), process->arrival, process->extra);
    for (const Burst* burst = first(process->bursts); burst != nullptr; burst = burst->next)
        write_text(" %02d %02d", burst->cpu, burst->io);
}

void show_processes(const Process* head) {
    for (const Process* process = first(head); process != nullptr; process = process->next)
        show_process(process);
}

} // namespace

void show_not_dispatched() {
    write_text("\n\n Fila de Processos nao disparados ");
    show_processes(scheduler.not_dispatched);
}

void show_running() {
    write_text("\n\n executando na UCP ");
    if (scheduler.running != nullptr)
        show_process(scheduler.running);
}

void show_ready() {
    put_char('\n');
    for (int queue = 1; queue <= scheduler.rules.queues; ++queue) {
        write_text("\n Fila de Prontos %d", queue);
        show_processes(scheduler.ready[queue - 1]);
    }
}

void show_finished() {
    for (const FinishedProcess* record = first(scheduler.finished); record != nullptr;
         record = record->next)
        write_text("\n Nome: %s  chegada: %2d  espera: %3d  turnaround: %3d", to_utf8(record->name),
                   record->arrival, record->wait, record->turnaround);
}

Listing listing_for_key(int key) {
    switch (key) {
    case '1':
        return show_not_dispatched;
    case '2':
        return show_running;
    case '3':
        return show_ready;
    case '4':
        return show_finished;
    case '5':
        return show_io;
    default:
        return nullptr;
    }
}

void show_io() {
    write_text("\n\n Processos em IO ");
    show_processes(scheduler.io_queue);
}

} // namespace mlfq
