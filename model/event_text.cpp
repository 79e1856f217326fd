#include "model/event_text.h"

#include "util/byte_text.h"
#include "util/text_format.h"

namespace mlfq {

std::string event_text(const SchedulingEvent& event) {
    const std::string name = event.process != nullptr ? to_utf8(event.process->name) : "";
    return event_text(event.kind, name.c_str(), event.clock, event.queue);
}

std::string event_text(EventKind kind, const char* name, std::int64_t clock, int queue) {
    switch (kind) {
    case EventKind::arrival:
        return format_text("\n\n Processo %s entrou na fila de prontos no tempo: %d", name, clock);
    case EventKind::dispatch:
        return format_text("\n\n Processo %s entrou para execucao no tempo %d ", name, clock);
    case EventKind::slice_expired:
        return format_text("\n\n Processo %s foi para a fila de prontos %d tempo %d ", name, queue,
                           clock);
    case EventKind::io_start:
        return format_text("\n\n Processo %s foi para a fila de IO no tempo %d ", name, clock);
    case EventKind::io_end:
        return format_text("\n\n Processo %s foi para a fila de Prontos no tempo %d ", name, clock);
    case EventKind::termination:
        return format_text("\n Processo %s terminou ", name);
    case EventKind::io_end_to_queue:
        return format_text("\n\n Processo %s foi para a fila de Prontos %d no tempo %d ", name,
                           queue, clock);
    case EventKind::preemption:
        return format_text("\n\n Processo %s foi interrompido e voltou para a fila de prontos "
                           "%d tempo %d ",
                           name, queue, clock);
    case EventKind::boost:
        return format_text("\n\n Todos os processos voltaram para a fila de prontos 1 no "
                           "tempo %d ",
                           clock);
    }
    return {};
}

} // namespace mlfq
