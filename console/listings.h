// The five listings of the main menu's keys 1 to 5. They only read the state.
#pragma once

namespace mlfq {

void show_not_dispatched(); // key 1
void show_running();        // key 2
void show_ready();          // key 3
void show_finished();       // key 4
void show_io();             // key 5

// The listing bound to a key of the main menu, or none.
using Listing = void (*)();
Listing listing_for_key(int key);

} // namespace mlfq
