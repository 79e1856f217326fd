// The interactive front end of the clock step: every event's message on the console,
// then the pause until TAB.
#pragma once

#include "model/scheduling_events.h"

namespace mlfq {

class ConsoleEventView final : public SchedulingObserver {
public:
    void on_event(const SchedulingEvent& event) override;
};

} // namespace mlfq
