// The kinds of print-file lines and how SEND, DEVICE, style, JUS and text
// lines are split into their fields.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "printfile/interpreter.h"

namespace {

using printfile::LineKind;

TEST(PrintfileClassify, FirstFittingKindWins) {
    struct Case {
        std::string line;
        LineKind kind;
    };
    const std::vector<Case> cases = {
        {"send,x", LineKind::send},
        {"Send,x", LineKind::send},
        {"SEND,x", LineKind::send},
        {"  SEND,x", LineKind::send},
        {"SEND", LineKind::send},
        {"sendDEVICE", LineKind::send},
        {"SEN", LineKind::text},
        {"DEVICE P", LineKind::device},
        {"DEVICE", LineKind::device},
        {"device P", LineKind::text},
        {" DEVICE P", LineKind::text},
        {"DEVIC", LineKind::text},
        {"PAGE 12", LineKind::page},
        {"PAGE", LineKind::page},
        {"PAGEx", LineKind::page},
        {"page 1", LineKind::text},
        {" PAGE", LineKind::text},
        {"*  b u ", LineKind::style},
        {"*", LineKind::style},
        {" *B", LineKind::text},
        {"JUS N 60 \\.\\", LineKind::jus},
        {"JUS", LineKind::jus},
        {"jus N 60", LineKind::text},
        {"", LineKind::blank},
        {"    ", LineKind::blank},
        {"\t\t", LineKind::text},
        {" \t ", LineKind::text},
        {"5,TOTAL,1", LineKind::text},
    };
    for (const Case& c : cases)
        EXPECT_EQ(printfile::classify_line(c.line), c.kind) << '"' << c.line << '"';
}

TEST(PrintfileFields, SendDeviceAndStyleFields) {
    struct Case {
        std::string (*field)(const std::string&);
        std::string line, expected;
    };
    const std::vector<Case> cases = {
        // The SEND field runs from position 5 of the line as read to the first comma.
        {printfile::send_first_field, "SEND", ""},
        {printfile::send_first_field, "SEND,anything", ""},
        {printfile::send_first_field, "SEND   ,x", ""},
        {printfile::send_first_field, "send ARXIU,a,b", "ARXIU"},
        {printfile::send_first_field, "SEND  a b  ", "a b"},
        {printfile::send_first_field, "  SEND,x", "ND"},
        // The device letter is the seventh byte.
        {printfile::device_letter, "DEVICE", ""},
        {printfile::device_letter, "DEVICE P", " "},
        {printfile::device_letter, "DEVICEPX", "P"},
        // The style command is trimmed and upper-cased; inner blanks stay.
        {printfile::style_command, "*  b u ", "B U"},
        {printfile::style_command, "*", ""},
        {printfile::style_command, "*eq", "EQ"},
    };
    for (const Case& c : cases) EXPECT_EQ(c.field(c.line), c.expected) << '"' << c.line << '"';
}

TEST(PrintfileFields, JusLines) {
    struct Case {
        std::string line;
        bool fills;
        std::int16_t column;
        std::string pattern;
    };
    const std::vector<Case> cases = {
        {"JUS N 60 \\.\\", true, 60, "."},
        {"JUS N 60 \\. \\rest", true, 60, ". "},
        {"JUSN 30 \\-=\\", true, 30, "-="},
        {"JUS N40\\.\\", true, 0, "."},  // no blank after the letter
        {"JUS N 60 \\\\", true, 60, ""},
        // Fewer than two backslashes: behind the first one, without rest's last byte.
        {"JUS N 30 \\-=", true, 30, "-"},
        {"JUS N 30 \\", true, 30, ""},
        {"JUS N 30 ab", true, 30, "N 30 a"},
        {"JUS N", true, 0, ""},
        // Out-of-range columns saturate instead of wrapping.
        {"JUS N 99999 \\.\\", true, 32767, "."},
        {"JUS N -99999 \\.\\", true, -32768, "."},
        // Only an upper-case N requests a fill.
        {"JUS n 40 \\-\\", false, 0, ""},
        {"JUS X 40 \\-\\", false, 0, ""},
        {"JUS", false, 0, ""},
        {"JUS    ", false, 0, ""},
    };
    for (const Case& c : cases) {
        std::int16_t column = 0;
        std::string pattern;
        EXPECT_EQ(printfile::parse_jus_line(c.line, column, pattern), c.fills) << c.line;
        if (!c.fills) continue;
        EXPECT_EQ(column, c.column) << c.line;
        EXPECT_EQ(pattern, c.pattern) << c.line;
    }
}

TEST(PrintfileFields, TextLines) {
    struct Case {
        std::int16_t column_before;
        std::string line;
        std::int16_t column;
        std::string text;
        std::int16_t feed;
    };
    const std::vector<Case> cases = {
        {0, "5,TOTAL, IVA,1", 5, "TOTAL, IVA", 1},
        {0, "12,HOLA", 12, "HOL", 0},
        {7, "HOLA", 7, "HOL", 0},  // no comma: the previous column stays
        {0, "5,,2", 5, "", 2},
        {3, "5,", 5, "", 0},
        {9, ",X,1", 0, "X", 1},
        {0, "abc,d,e,f", 0, "d,e", 0},
        {4, "\t\t", 4, "\t", 0},
        {0, "  7 ,A, 2", 7, "A", 2},
        {0, "2.5,A,3.5", 2, "A", 4},  // a half goes to the even neighbour
        {0, "99999,X,-99999", 32767, "X", -32768},
    };
    for (const Case& c : cases) {
        std::int16_t column = c.column_before, feed = -1;
        std::string text = "unchanged";
        printfile::parse_text_line(c.line, column, text, feed);
        EXPECT_EQ(column, c.column) << c.line;
        EXPECT_EQ(text, c.text) << c.line;
        EXPECT_EQ(feed, c.feed) << c.line;
    }
}

}  // namespace
