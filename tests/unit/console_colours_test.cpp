// Colours by attribute letters with the colour stack, cursor placement in the
// active window and frames on its border.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "console/console.h"
#include "console_test_screen.h"

using namespace console_test;

namespace {

// A table whose five entries all differ: entry e is foreground e + 1 on background e + 8.
const config::ColourTable distinct = {{{1, 8}, {2, 9}, {3, 10}, {4, 11}, {5, 12}}};

// The attribute that entry e of the distinct table gives.
std::uint16_t entry(int e) { return static_cast<std::uint16_t>((e + 8) * 16 + e + 1); }

}  // namespace

TEST(ConsoleSetColour, LettersChooseTheEntryAndTheStackRemembers) {
    struct Case {
        const char* attributes;
        int index_before;
        std::string stack_before;
        int want_index;
        std::string want_stack;
    };
    const Case cases[] = {
        {"-", 2, "", 0, ""},         // pop on an empty stack: entry 0
        {"-", 0, "\x03", 3, ""},     // pop returns the pushed index
        {"-URN", 0, "\x01", 1, ""},  // letters are ignored with "-"
        {"+U", 2, "", 4, "\x02"},    // push, then entry 4
        {"URN", 0, "", 4, ""},       // "U" wins over "R" and "N"
        {"+", 3, "", 0, "\x03"},     // push alone selects entry 0
        {"R", 0, "", 2, ""},          {"N", 0, "", 1, ""},
        {"NR,R", 0, "", 3, ""},        // presence counts, order and repeats do not
        {",", 3, "", 0, ""},           // other characters only: entry 0
        {"+-", 2, "\x01", 2, "\x01"},  // push then pop re-applies the current entry
        {" R ", 0, "", 2, ""},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.attributes);
        console::Console c = open_screen();
        c.colours.colour_index = static_cast<std::int16_t>(t.index_before);
        c.colours.colour_stack = t.stack_before;
        console::set_colour(c, distinct, t.attributes);
        EXPECT_EQ(c.colours.colour_index, t.want_index);
        EXPECT_EQ(c.colours.colour_stack, t.want_stack);
        EXPECT_EQ(c.screen.attribute, entry(t.want_index));
    }
}

TEST(ConsoleSetColour, BlankOrEmptyChangesNothing) {
    for (const char* attributes : {"", "   "}) {
        console::Console c = open_screen();
        c.colours.colour_index = 3;
        c.colours.colour_stack = "\x01";
        console::set_colour(c, distinct, attributes);
        EXPECT_EQ(c.colours.colour_index, 3);
        EXPECT_EQ(c.colours.colour_stack, "\x01");
        EXPECT_EQ(c.screen.attribute, 7);
        EXPECT_FALSE(c.screen.attribute_dirty);
    }
}

TEST(ConsoleSetColour, LowerCaseLettersCountAsCapitals) {
    console::Console c = open_screen();
    console::set_colour(c, distinct, "+rn");
    EXPECT_EQ(c.colours.colour_index, 3);
    EXPECT_EQ(c.colours.colour_stack, std::string(1, '\0'));
    console::set_colour(c, distinct, "u");
    EXPECT_EQ(c.colours.colour_index, 4);
}

TEST(ConsoleSetColour, TableValueOutOfRangeChangesOnlyTheOtherComponent) {
    for (std::int16_t bad : {std::int16_t{99}, std::int16_t{-1}}) {
        console::Console c = open_screen();
        config::ColourTable table = distinct;
        table[2] = {bad, 5};
        console::set_colour(c, table, "R");
        EXPECT_EQ(c.screen.attribute, 0x57) << bad;  // foreground 7 kept, background 5
    }
}

TEST(ConsoleSetColour, IsAllOneChar) {
    EXPECT_TRUE(console::is_all_one_char("", 32));
    EXPECT_TRUE(console::is_all_one_char("   ", 32));
    EXPECT_FALSE(console::is_all_one_char("  x", 32));
    EXPECT_TRUE(console::is_all_one_char("\xC4\xC4", 196));  // bytes compare unsigned
}

TEST(ConsoleLocate, OffsetsAreRelativeToTheOpenWindowElseAbsolute) {
    console::Console c = open_screen(25, 80, 10, 1);
    console::locate_in_window(c, 0, 2);  // no window: row 0 is off the buffer
    EXPECT_EQ(console::console_cursor_row(c), 10);
    EXPECT_EQ(console::console_cursor_column(c), 2);
    c.window = {23, 34, 25, 48, 1};
    console::locate_in_window(c, 0, 2);
    EXPECT_EQ(console::console_cursor_row(c), 23);
    EXPECT_EQ(console::console_cursor_column(c), 36);
    console::locate_in_window(c, 5, 50);  // row 28, column 84: both off the buffer
    EXPECT_EQ(console::console_cursor_row(c), 23);
    EXPECT_EQ(console::console_cursor_column(c), 36);
}

TEST(ConsoleFrame, StylesOnTheStatusBoxWindow) {
    struct Case {
        int style;
        std::string top, middle, bottom;
    };
    const std::string h13(13, '\xC4'), d13(13, '\xCD'), b13(13, ' ');
    const Case cases[] = {
        {1, "\xDA" + h13 + "\xBF", "\xB3" + b13 + "\xB3", "\xC0" + h13 + "\xD9"},
        {2, "\xC9" + d13 + "\xBB", "\xBA" + b13 + "\xBA", "\xC8" + d13 + "\xBC"},
        {0, std::string(15, ' '), std::string(15, ' '), std::string(15, ' ')},
        {7, std::string(15, '\0'), '\0' + b13 + '\0', std::string(15, '\0')},
        {-1, std::string(15, '\0'), '\0' + b13 + '\0', std::string(15, '\0')},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.style);
        console::Console c = open_screen();
        paint_pattern();
        const std::string left_before = text(24, 33, 1), right_before = text(24, 49, 1);
        c.window = {23, 34, 25, 48, 1};
        console::console_set_colour(c, 0, 7);
        console::draw_frame(c, t.style);
        EXPECT_EQ(text(23, 34, 15), t.top);
        EXPECT_EQ(text(24, 34, 15), t.middle);
        EXPECT_EQ(text(25, 34, 15), t.bottom);
        for (int row = 23; row <= 25; ++row)
            EXPECT_EQ(attributes(row, 34, 15), std::vector<std::uint16_t>(15, 0x70)) << row;
        EXPECT_EQ(text(24, 33, 1), left_before);  // nothing outside the window
        EXPECT_EQ(text(24, 49, 1), right_before);
        EXPECT_EQ(console::console_cursor_row(c), 25);
        EXPECT_EQ(console::console_cursor_column(c), 49);
    }
}

TEST(ConsoleFrame, NarrowAndFlatWindows) {
    {  // top == bottom: the bottom edge is drawn over the top edge
        console::Console c = open_screen();
        c.window = {5, 10, 5, 14, 1};
        console::draw_frame(c, 1);
        EXPECT_EQ(text(5, 10, 5), "\xC0\xC4\xC4\xC4\xD9");
        EXPECT_EQ(text(6, 10, 5), "     ");
    }
    {  // two columns wide: corners and verticals only
        console::Console c = open_screen();
        paint_pattern();
        const std::string beyond = text(4, 12, 1);
        c.window = {3, 10, 5, 11, 1};
        console::draw_frame(c, 2);
        EXPECT_EQ(text(3, 10, 2), "\xC9\xBB");
        EXPECT_EQ(text(4, 10, 2), "\xBA\xBA");
        EXPECT_EQ(text(5, 10, 2), "\xC8\xBC");
        EXPECT_EQ(text(4, 12, 1), beyond);
    }
}

TEST(ConsoleFrame, NoWindowOpenDrawsNothing) {
    console::Console c = open_screen(25, 80, 7, 7);
    paint_pattern();
    const std::vector<platform::Cell> before = whole_screen();
    c.window = {23, 34, 25, 48, 0};  // corners without an open window
    console::draw_frame(c, 1);
    EXPECT_TRUE(same_cells(whole_screen(), before));
    EXPECT_EQ(console::console_cursor_row(c), 7);
    EXPECT_EQ(console::console_cursor_column(c), 7);
}

#endif  // _WIN32
