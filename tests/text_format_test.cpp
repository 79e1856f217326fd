#include "util/text_format.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <cstdio>
#include <string>

namespace mlfq {
namespace {

// Every integer conversion the screens use, against the C library's printf.
TEST(TextFormat, IntegerConversionsMatchPrintf) {
    const char* formats[] = {"%d", "%2d", "%3d", "%02d", "[%-4d]", "%05d"};
    const int values[] = {0, 5, -5, 42, 99, 100, 150, -150, 12345, INT_MAX, INT_MIN};
    for (const char* format : formats) {
        for (int value : values) {
            char expected[64];
            std::snprintf(expected, sizeof expected, format, value);
            std::string got;
            const FormatArg arg(value);
            format_into(got, format, std::span(&arg, 1));
            EXPECT_EQ(got, expected) << format << " with " << value;
        }
    }
}

TEST(TextFormat, WideValuesPrintInFull) {
    EXPECT_EQ(format_text("%d", std::int64_t{5000000000}), "5000000000");
    EXPECT_EQ(format_text("%03d", INT64_MIN), "-9223372036854775808");
    EXPECT_EQ(format_text("%02d", std::int64_t{-2147483649}), "-2147483649");
}

TEST(TextFormat, TextAndLiterals) {
    EXPECT_EQ(format_text("\n Processo %s terminou ", "A"), "\n Processo A terminou ");
    EXPECT_EQ(format_text("%s|%3s|%-3s|", "ab", "x", "y"), "ab|  x|y  |");
    EXPECT_EQ(format_text("100%% %s", std::string("cheio")), "100% cheio");
}

TEST(TextFormat, CheckerRejectsMismatches) {
    const ArgKind integer[] = {ArgKind::integer};
    EXPECT_TRUE(format_matches("%02d", integer));
    EXPECT_FALSE(format_matches("%s", integer));
    EXPECT_FALSE(format_matches("%d %d", integer));
    EXPECT_FALSE(format_matches("no conversion", integer));
    EXPECT_FALSE(format_matches("%x", integer));
    EXPECT_FALSE(format_matches("cut off %", {}));
}

TEST(TextFormat, UncheckedFormatsStopSafely) {
    std::string out;
    format_into(out, "a %d b %", {});
    EXPECT_EQ(out, "a ");
}

} // namespace
} // namespace mlfq
