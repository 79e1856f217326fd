#include "console/session.h"

#include "console/listings.h"
#include "console/main_menu.h"
#include "model/clock_step.h"
#include "model/event_text.h"
#include "model/observer_pair.h"

namespace mlfq {

namespace {

// The console operations write to the session's console during each call.
class UseConsole {
public:
    explicit UseConsole(Console& console) : previous_(set_console(&console)) {}
    ~UseConsole() { set_console(previous_); }
    UseConsole(const UseConsole&) = delete;
    UseConsole& operator=(const UseConsole&) = delete;

private:
    Console* previous_;
};

// A whole clock step runs at once; its messages wait here for their TAB pauses, during
// which nothing else is drawn, so the bytes are those of a step that pauses in place.
class QueuedEvents final : public SchedulingObserver {
public:
    explicit QueuedEvents(std::deque<std::string>& queue) : queue_(queue) {}
    void on_event(const SchedulingEvent& event) override { queue_.push_back(event_text(event)); }

private:
    std::deque<std::string>& queue_;
};

} // namespace

Session::Session(Console& out, SchedulingObserver* also) : out_(out), also_(also) {}

void Session::start() {
    UseConsole use(out_);
    show_menu();
}

void Session::show_menu() {
    waiting_ = Waiting::menu;
    show_status_screen();
}

void Session::key(int code) {
    UseConsole use(out_);
    switch (waiting_) {
    case Waiting::menu:
        menu_key(code);
        break;
    case Waiting::listing: // any key returns to the menu, ESC included
        show_menu();
        break;
    case Waiting::tab:
        if (code == key_tab)
            show_next_event();
        break;
    case Waiting::ended:
        break;
    }
}

void Session::menu_key(int code) {
    if (const Listing listing = listing_for_key(code)) {
        listing();
        waiting_ = Waiting::listing;
    } else if (code == 'c') {
        run_step();
    } else if (code == key_escape) {
        waiting_ = Waiting::ended;
    } else {
        show_menu();
    }
}

void Session::run_step() {
    QueuedEvents queued(events_);
    ObserverPair view(queued, also_);
    step(view);
    steps_ += 1;
    show_next_event();
}

// The next message with its prompt; after the last one, the status screen again.
void Session::show_next_event() {
    if (events_.empty()) {
        show_menu();
        return;
    }
    write_raw(events_.front());
    events_.pop_front();
    write_text("\n Pressione TAB para continuar ");
    waiting_ = Waiting::tab;
}

} // namespace mlfq
