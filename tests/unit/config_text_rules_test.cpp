// The shared text rules: trimming, upper_oem, parse_number and the rounding
// and saturation of the 16-bit values taken from it.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "config/text_rules.h"

namespace {

TEST(TextRules, TrimmingRemovesSpacesOnly) {
    EXPECT_EQ(config::trim_left("  a b  "), "a b  ");
    EXPECT_EQ(config::trim_right("  a b  "), "  a b");
    EXPECT_EQ(config::trim("  a b  "), "a b");
    EXPECT_EQ(config::trim("\t a \t"), "\t a \t");
    EXPECT_EQ(config::trim("    "), "");
    EXPECT_EQ(config::trim_left(""), "");
}

TEST(TextRules, UpperOemMapsAsciiAndSevenOemLetters) {
    const std::string lower = "abcxyz\x84\x94\x81\x82\xA4\x86\x87";
    const std::string upper = "ABCXYZ\x8E\x99\x9A\x90\xA5\x8F\x80";
    EXPECT_EQ(config::upper_oem(lower), upper);
    // Other accented letters, capitals and neighbours of a-z stay as they are.
    const std::string kept = "\x85\x8A\x95\xA1\xA0\xA2\xA3@[`{AZ09\xFF\x8E";
    EXPECT_EQ(config::upper_oem(kept), kept);
    EXPECT_EQ(config::upper_oem(std::string("a\0b", 3)), std::string("A\0B", 3));
}

TEST(TextRules, ParseNumberReadsTheNumberAtTheStart) {
    struct Case {
        const char* text;
        double value;
    };
    const std::vector<Case> cases = {
        {"", 0},          {"abc", 0},      {"-", 0},      {"S", 0},          {"12abc", 12},
        {" 7", 7},        {"\t\r\n 7", 7}, {"1 5", 1},    {"- 5", 0},        {"+5", 5},
        {"-12.5", -12.5}, {".5", 0.5},     {"5.", 5},     {"1.2.3", 1.2},    {"007", 7},
        {"0.05", 0.05},   {"1E3", 1000},   {"2e-1", 0.2}, {"2D2", 200},      {"25d-1", 2.5},
        {"1E", 1},        {"1E+", 1},      {"1E 3", 1},   {"-1.5e+1x", -15}, {"&H1F", 31},
        {"&hff", 255},    {"&O17", 15},    {"&q17", 15},  {"&B101", 5},      {"&B1012", 5},
        {"&O8", 0},       {"&H", 0},       {"&", 0},      {"&X1", 0},        {"&HFFFF", 65535},
        {" &H10", 16},    {"-&H10", 0},    {"&H1F&", 31}, {"&H-1", 0},
    };
    for (const Case& c : cases) EXPECT_DOUBLE_EQ(config::parse_number(c.text), c.value) << c.text;

    // Very long digit runs keep their magnitude; out-of-range exponents give
    // infinity or zero, never a wrapped value.
    EXPECT_DOUBLE_EQ(config::parse_number("1" + std::string(60, '0')), 1e60);
    EXPECT_DOUBLE_EQ(config::parse_number("0." + std::string(5000, '0') + "1e5001"), 1);
    EXPECT_EQ(config::parse_number("1E400"), std::numeric_limits<double>::infinity());
    EXPECT_EQ(config::parse_number("1E99999999999999999999"),
              std::numeric_limits<double>::infinity());
    EXPECT_EQ(config::parse_number("1E-400"), 0);
}

TEST(TextRules, ToInt16RoundsHalfToEvenAndSaturates) {
    const double inf = std::numeric_limits<double>::infinity();
    struct Case {
        double value;
        std::int16_t result;
    };
    const std::vector<Case> cases = {
        {2.5, 2},           {3.5, 4},         {-2.5, -2},     {-3.5, -4},        {0.5, 0},
        {1.5, 2},           {0.49, 0},        {2.51, 3},      {-0.7, -1},        {32766.5, 32766},
        {32767, 32767},     {32767.5, 32767}, {40000, 32767}, {65536, 32767},    {-40000, -32768},
        {-32768.5, -32768}, {inf, 32767},     {-inf, -32768}, {std::nan(""), 0},
    };
    for (const Case& c : cases) EXPECT_EQ(config::to_int16(c.value), c.result) << c.value;
    // Through the number rule: "2.5" and "3.5" once rounded, wide values saturated.
    EXPECT_EQ(config::to_int16(config::parse_number("2.5")), 2);
    EXPECT_EQ(config::to_int16(config::parse_number("3.5")), 4);
    EXPECT_EQ(config::to_int16(config::parse_number("65536")), 32767);
    EXPECT_EQ(config::to_int16(config::parse_number("&H10000")), 32767);
}

TEST(TextRules, AddInt16Saturates) {
    struct Case {
        std::int16_t a;
        long long b;
        std::int16_t sum;
    };
    const std::vector<Case> cases = {
        {1, 2, 3},
        {32767, 1, 32767},
        {-32768, -1, -32768},
        {32000, 1000, 32767},
        {0, LLONG_MAX, 32767},
        {0, LLONG_MIN, -32768},
        {-5, 10, 5},
    };
    for (const Case& c : cases) EXPECT_EQ(config::add_int16(c.a, c.b), c.sum) << c.a << "+" << c.b;
}

}  // namespace
