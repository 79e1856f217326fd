// Turns the bytes a terminal sends into the key codes of a PC console keyboard: a key
// with a character gives its code; a key without one gives 0 and then its second code.
// Pure: it is fed bytes and the time that passes, and never touches a terminal.
#pragma once

#include <deque>
#include <string>

namespace mlfq {

// Second codes of keys without a character.
namespace key {
inline constexpr int shift_tab = 15;
inline constexpr int f1 = 59; // F1 to F10 are 59 to 68
inline constexpr int f10 = 68;
inline constexpr int home = 71;
inline constexpr int up = 72;
inline constexpr int page_up = 73;
inline constexpr int left = 75;
inline constexpr int right = 77;
inline constexpr int end = 79;
inline constexpr int down = 80;
inline constexpr int page_down = 81;
inline constexpr int insert = 82;
inline constexpr int del = 83;
inline constexpr int f11 = 133;
inline constexpr int f12 = 134;
inline constexpr int unknown = 255; // an escape sequence this decoder does not know
} // namespace key

using KeyCodes = std::deque<int>;

// The escape time from the value of ESCDELAY (milliseconds, as terminal programs read
// it): a whole number from 1 to 10,000; anything else, or no value, gives the default.
int escape_delay_setting(const char* value);

class KeyDecoder {
public:
    // A byte after ESC within this time belongs to the same key; from this time on the
    // ESC was a key of its own. Long enough for an arrow over a remote session with some
    // lag; the ESCDELAY environment variable sets another (see escape_delay_setting).
    static constexpr int default_escape_timeout_ms = 100;

    explicit KeyDecoder(int escape_timeout_ms = default_escape_timeout_ms)
        : escape_timeout_ms_(escape_timeout_ms) {}
    int escape_timeout_ms() const { return escape_timeout_ms_; }

    // Decodes one byte, appending the codes of every key it completes to `out`.
    void feed(unsigned char byte, KeyCodes& out);
    // Tells that `elapsed_ms` have passed since the last byte with nothing else arriving;
    // from escape_timeout_ms() on, a pending ESC or cut-off sequence is given out.
    void pause(int elapsed_ms, KeyCodes& out);
    // True while the bytes so far may still be the start of a longer key.
    bool pending() const { return state_ != State::ground; }

private:
    enum class State { ground, escape, csi, csi_bracket, ss3 };

    void feed_ground(unsigned char byte, KeyCodes& out);
    void finish(int second_code, KeyCodes& out);
    void finish_csi(unsigned char final_byte, KeyCodes& out);

    int escape_timeout_ms_;
    State state_ = State::ground;
    std::string params_; // parameter bytes of the sequence being read, at most a few
    bool params_overflow_ = false;
};

} // namespace mlfq
