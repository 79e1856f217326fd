// The interactive program as a session: fed one key code at a time, it writes what that
// key produces to its console and never reads or waits. The terminal and the web page
// each drive one; the bytes written are those of the menu loop in main_menu.h for the
// same keys.
#pragma once

#include "console/console.h"
#include "model/scheduling_events.h"

#include <cstdint>
#include <deque>
#include <string>

namespace mlfq {

class Session {
public:
    // What the session waits for.
    enum class Waiting {
        menu,    // a key on the status screen
        listing, // any key after a listing
        tab,     // TAB after an event's message
        ended    // ESC was pressed on the status screen
    };

    // Text goes to `out`; the simulation must be set up. `also`, when given, is told every
    // event and moment of every clock step (the page's live views).
    explicit Session(Console& out, SchedulingObserver* also = nullptr);

    // Draws the first status screen.
    void start();
    // One key code, as the key decoder gives them.
    void key(int code);

    Waiting waiting() const { return waiting_; }
    bool ended() const { return waiting_ == Waiting::ended; }
    // Clock steps run so far.
    std::int64_t steps() const { return steps_; }

private:
    void menu_key(int code);
    void run_step();
    void show_next_event();
    void show_menu();

    Console& out_;
    SchedulingObserver* also_;
    Waiting waiting_ = Waiting::menu;
    std::deque<std::string> events_; // messages of the step not yet shown
    std::int64_t steps_ = 0;
};

} // namespace mlfq
