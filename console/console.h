// The console operations every screen and event message goes through. They forward to
// one Console object: the terminal in the program, a scripted console in the tests.
#pragma once

#include "util/text_format.h"

#include <string_view>

namespace mlfq {

// Key codes that the main menu and wait_for_tab react to.
inline constexpr int key_tab = 9;
inline constexpr int key_escape = 27;

class Console {
public:
    virtual ~Console() = default;
    // Writes text at the cursor; it is on the screen when the call returns.
    virtual void write(std::string_view text) = 0;
    // Blanks the screen and puts the cursor in the top-left corner.
    virtual void clear() = 0;
    // Waits for one key press and returns its code; a key without a character gives 0,
    // and the next call returns its second code at once.
    virtual int read_key() = 0;
};

// Makes `console` the one the operations below use; returns the previous one.
Console* set_console(Console* console);

void write_raw(std::string_view text);

// Formatted text to the console (conversions as in util/text_format.h).
template <class... Args>
void write_text(CheckedFormat<std::type_identity_t<Args>...> format, const Args&... args) {
    write_raw(format_text<Args...>(format, args...));
}

void put_char(char ch);
void clear_screen();
int read_key();

} // namespace mlfq
