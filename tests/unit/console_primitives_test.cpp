// The console primitives on the in-memory console: wrapping, the pending
// scroll at the buffer's end, placement and colours out of range, control
// characters as cells, the cursor reaching the console only on flush, and a
// process without a console.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "console/console.h"
#include "console_test_screen.h"

using namespace console_test;

TEST(ConsolePrimitives, WriteWrapsBehindTheLastColumn) {
    console::Console c = open_screen();
    console::console_place_cursor(c, 1, 78);
    console::console_write(c, "ABCDE");
    EXPECT_EQ(text(1, 78, 3), "ABC");
    EXPECT_EQ(text(2, 1, 3), "DE ");
    EXPECT_EQ(console::console_cursor_row(c), 2);
    EXPECT_EQ(console::console_cursor_column(c), 3);
}

TEST(ConsolePrimitives, WriteIntoTheLastCellScrollsOnlyOnTheNextWrite) {
    struct Case {
        const char* name;
        bool place_between;  // a placement between the two writes cancels the scroll
        const char* first;
        const char* second;
        const char* row24_end;    // columns 79-80 of row 24 afterwards
        const char* row25_start;  // columns 1-2 of row 25 afterwards
        const char* row25_end;
    };
    const Case cases[] = {
        {"next write scrolls", false, "XY", "Z", "XY", "Z ", "  "},
        {"placement cancels", true, "XY", "Z", "  ", "Z ", "XY"},
        {"one write runs on after scrolling", false, "XYZ", "", "XY", "Z ", "  "},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        console::Console c = open_screen();
        console::console_set_colour(c, 2, 1);
        console::console_place_cursor(c, 25, 79);
        console::console_write(c, t.first);
        if (std::string(t.first) == "XY") {
            // Nothing scrolled yet: the text stands in the last row, cursor at its start.
            EXPECT_EQ(text(25, 79, 2), "XY");
            EXPECT_EQ(console::console_cursor_row(c), 25);
            EXPECT_EQ(console::console_cursor_column(c), 1);
        }
        if (t.place_between) console::console_place_cursor(c, 25, 1);
        console::console_write(c, t.second);
        EXPECT_EQ(text(24, 79, 2), t.row24_end);
        EXPECT_EQ(text(25, 1, 2), t.row25_start);
        EXPECT_EQ(text(25, 79, 2), t.row25_end);
        if (!t.place_between) {  // the new last row is blank in the current colour
            EXPECT_EQ(attributes(25, 80, 1)[0], 0x12);
        }
    }
}

TEST(ConsolePrimitives, PlacementOffTheBufferKeepsThatCoordinate) {
    struct Case {
        int row, column, want_row, want_column;
    };
    const Case cases[] = {
        {0, 5, 10, 5},  {26, 5, 10, 5},   {5, 0, 5, 20},
        {5, 81, 5, 20}, {-1, 99, 10, 20}, {25, 80, 25, 80},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(testing::Message() << t.row << "," << t.column);
        console::Console c = open_screen(25, 80, 10, 20);
        console::console_place_cursor(c, t.row, t.column);
        EXPECT_EQ(console::console_cursor_row(c), t.want_row);
        EXPECT_EQ(console::console_cursor_column(c), t.want_column);
    }
}

TEST(ConsolePrimitives, ColourOutOfRangeKeepsThatComponent) {
    struct Case {
        int foreground, background;
        std::uint16_t want;  // from 4 on 1 (0x14)
    };
    const Case cases[] = {{16, 3, 0x34},  {-1, 3, 0x34},  {3, 16, 0x13}, {3, -1, 0x13},
                          {99, -1, 0x14}, {15, 15, 0xFF}, {0, 0, 0x00}};
    for (const Case& t : cases) {
        SCOPED_TRACE(testing::Message() << t.foreground << "," << t.background);
        console::Console c = open_screen();
        console::console_set_colour(c, 4, 1);
        console::console_set_colour(c, t.foreground, t.background);
        console::console_write(c, "x");
        EXPECT_EQ(attributes(1, 1, 1)[0], t.want);
    }
}

TEST(ConsolePrimitives, TextIsConvertedAndControlCharactersAreCells) {
    console::Console c = open_screen();
    console::console_write(c, std::string("\r\n\0\x1A\xC4\xD5", 6));
    const std::vector<platform::Cell> row = cells(1, 1, 7);
    const char16_t want[] = {u'\r', u'\n', u'\0', u'\x1A', u'\u2500', u'\u20AC', u' '};
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(row[i].ch, want[i]) << i;
    EXPECT_EQ(console::console_cursor_column(c), 7);
    EXPECT_EQ(console::console_read_char(c, 1, 5), u'\u2500');
    EXPECT_EQ(console::console_read_attribute(c, 1, 5), 7);
    console::console_write_blanks(c, 0);
    console::console_write_blanks(c, -3);
    EXPECT_EQ(console::console_cursor_column(c), 7);
}

TEST(ConsolePrimitives, CursorAndColourReachTheConsoleOnlyOnFlush) {
    console::Console c = open_screen(25, 80, 3, 4);
    EXPECT_EQ(console::console_cursor_row(c), 3);
    EXPECT_EQ(console::console_cursor_column(c), 4);
    console::console_place_cursor(c, 12, 30);
    console::console_write(c, "abc");
    EXPECT_EQ(platform::console_info().cursor_row, 2);
    EXPECT_EQ(platform::console_info().cursor_column, 3);
    console::console_flush(c);
    EXPECT_EQ(platform::console_info().cursor_row, 11);
    EXPECT_EQ(platform::console_info().cursor_column, 32);
}

TEST(ConsolePrimitives, WithoutAConsoleNothingHappens) {
    console::Console c = open_screen(0, 0);
    EXPECT_FALSE(c.screen.attached);
    console::console_place_cursor(c, 1, 1);
    console::console_set_colour(c, 1, 2);
    console::console_write(c, "text");
    console::console_write_blanks(c, 5);
    console::console_flush(c);
    EXPECT_EQ(console::console_read_char(c, 1, 1), u' ');
    EXPECT_EQ(console::console_rows(c), 0);
    EXPECT_EQ(console::console_columns(c), 0);
    EXPECT_EQ(c.screen.attribute, 7);
}

#endif  // _WIN32
