#pragma once

namespace mlfq {

// The pause after every event message: prompts and reads keys until TAB.
void wait_for_tab();

} // namespace mlfq
