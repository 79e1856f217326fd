#include "console/event_view.h"

#include "console/console.h"
#include "console/wait_for_tab.h"
#include "model/event_text.h"

namespace mlfq {

void ConsoleEventView::on_event(const SchedulingEvent& event) {
    write_raw(event_text(event));
    wait_for_tab();
}

} // namespace mlfq
