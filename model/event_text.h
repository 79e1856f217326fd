// The message of each scheduling event, as the screens show it: the interactive program
// writes it before its TAB pause, and the text report lists it.
#pragma once

#include "model/scheduling_events.h"

#include <string>

namespace mlfq {

std::string event_text(const SchedulingEvent& event);
std::string event_text(EventKind kind, const char* name, std::int64_t clock, int queue);

} // namespace mlfq
