#include "console/key_decoder.h"

namespace mlfq {

namespace {

constexpr unsigned char escape_byte = 0x1B;
constexpr std::size_t max_params = 16;

struct Mapping {
    int number_or_letter; // the number before '~', or the final letter
    int code;
};

// "ESC [ n ~" (VT220, xterm and the linux console); rxvt sends 7 and 8 for Home and End.
constexpr Mapping tilde_keys[] = {
    {1, key::home},      {2, key::insert},  {3, key::del},     {4, key::end},     {5, key::page_up},
    {6, key::page_down}, {7, key::home},    {8, key::end},     {11, key::f1},     {12, key::f1 + 1},
    {13, key::f1 + 2},   {14, key::f1 + 3}, {15, key::f1 + 4}, {17, key::f1 + 5}, {18, key::f1 + 6},
    {19, key::f1 + 7},   {20, key::f1 + 8}, {21, key::f10},    {23, key::f11},    {24, key::f12},
};

// "ESC [ x" and "ESC O x", with or without modifier parameters ("ESC [ 1 ; 5 A").
constexpr Mapping letter_keys[] = {
    {'A', key::up},     {'B', key::down},   {'C', key::right},     {'D', key::left},
    {'H', key::home},   {'F', key::end},    {'P', key::f1},        {'Q', key::f1 + 1},
    {'R', key::f1 + 2}, {'S', key::f1 + 3}, {'Z', key::shift_tab},
};

// "ESC [ [ x": F1 to F5 on the linux console.
constexpr Mapping linux_function_keys[] = {
    {'A', key::f1}, {'B', key::f1 + 1}, {'C', key::f1 + 2}, {'D', key::f1 + 3}, {'E', key::f1 + 4},
};

template <std::size_t N>
int look_up(const Mapping (&table)[N], int wanted) {
    for (const Mapping& m : table) {
        if (m.number_or_letter == wanted)
            return m.code;
    }
    return key::unknown;
}

// Bytes that may stand between "ESC [" and the final byte.
bool is_parameter_byte(unsigned char byte) {
    return byte >= 0x20 && byte <= 0x3F;
}
bool is_final_byte(unsigned char byte) {
    return byte >= 0x40 && byte <= 0x7E;
}

} // namespace

void KeyDecoder::finish(int second_code, KeyCodes& out) {
    out.push_back(0);
    out.push_back(second_code);
    state_ = State::ground;
    params_.clear();
    params_overflow_ = false;
}

void KeyDecoder::finish_csi(unsigned char final_byte, KeyCodes& out) {
    if (params_overflow_)
        return finish(key::unknown, out);
    if (final_byte != '~')
        return finish(look_up(letter_keys, final_byte), out);
    // The number before the first ';' names the key; what follows are modifiers.
    const std::size_t digits = params_.find_first_not_of("0123456789");
    const std::size_t length = digits == std::string::npos ? params_.size() : digits;
    if (length == 0 || length > 2 || (length < params_.size() && params_[length] != ';'))
        return finish(key::unknown, out);
    int number = 0;
    for (std::size_t i = 0; i < length; ++i)
        number = number * 10 + (params_[i] - '0');
    finish(look_up(tilde_keys, number), out);
}

void KeyDecoder::feed_ground(unsigned char byte, KeyCodes& out) {
    if (byte == escape_byte) {
        state_ = State::escape;
    } else if (byte == 0) {
        finish(3, out); // Ctrl+@ (Ctrl+2): 0 and then 3, as on a PC keyboard
    } else if (byte == 0x7F) {
        out.push_back(8); // Backspace sends DEL on most terminals
    } else {
        out.push_back(byte);
    }
}

void KeyDecoder::feed(unsigned char byte, KeyCodes& out) {
    switch (state_) {
    case State::ground:
        return feed_ground(byte, out);
    case State::escape:
        if (byte == '[') {
            state_ = State::csi;
        } else if (byte == 'O') {
            state_ = State::ss3;
        } else if (byte >= 0x20 && byte < 0x7F) {
            finish(key::unknown, out); // Alt with a character
        } else {
            // ESC then a control byte or another ESC: two keys typed quickly.
            out.push_back(escape_byte);
            state_ = State::ground;
            feed_ground(byte, out);
        }
        return;
    case State::csi:
    case State::ss3:
        if (state_ == State::csi && byte == '[' && params_.empty()) {
            state_ = State::csi_bracket;
        } else if (is_parameter_byte(byte)) {
            if (params_.size() < max_params)
                params_.push_back(static_cast<char>(byte));
            else
                params_overflow_ = true;
        } else if (is_final_byte(byte) && state_ == State::ss3) {
            finish(params_overflow_ ? key::unknown : look_up(letter_keys, byte), out);
        } else if (is_final_byte(byte)) {
            finish_csi(byte, out);
        } else {
            // A byte that cannot be part of a sequence: the sequence so far is one
            // unknown key, and the byte is a key of its own.
            finish(key::unknown, out);
            feed_ground(byte, out);
        }
        return;
    case State::csi_bracket:
        if (is_final_byte(byte)) {
            finish(look_up(linux_function_keys, byte), out);
        } else {
            finish(key::unknown, out);
            feed_ground(byte, out);
        }
        return;
    }
}

int escape_delay_setting(const char* value) {
    if (value == nullptr || *value == '\0')
        return KeyDecoder::default_escape_timeout_ms;
    int ms = 0;
    for (const char* c = value; *c != '\0'; ++c) {
        if (*c < '0' || *c > '9' || ms > 10000)
            return KeyDecoder::default_escape_timeout_ms;
        ms = ms * 10 + (*c - '0');
    }
    return ms >= 1 && ms <= 10000 ? ms : KeyDecoder::default_escape_timeout_ms;
}

void KeyDecoder::pause(int elapsed_ms, KeyCodes& out) {
    if (elapsed_ms < escape_timeout_ms_ || state_ == State::ground)
        return;
    if (state_ == State::escape) {
        out.push_back(escape_byte); // a lone ESC
        state_ = State::ground;
    } else {
        finish(key::unknown, out); // Alt+[ or Alt+O, or a sequence cut short
    }
}

} // namespace mlfq
