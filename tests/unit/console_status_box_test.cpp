// The status box end to end on the in-memory console, and its progress text.
#ifndef _WIN32

#include <gtest/gtest.h>

#include "console/status_box.h"
#include "console_test_screen.h"

using namespace console_test;

namespace {

// The session of a run with the default colour table and its own temporary directory.
config::SessionContext session_in(const TempDir& dir) {
    config::SessionContext session;
    session.temp_dir = dir.dir();
    session.colours = {{{15, 0}, {7, 0}, {0, 7}, {0, 7}, {0, 7}}};
    return session;
}

}  // namespace

TEST(ConsoleStatusBox, ProgressText) {
    struct Case {
        std::int16_t pages, lines;
        const char* want;
    };
    const Case cases[] = {
        {3, 12, "    3 /  12"},
        {3, 1234, "    3 / 1234"},
        {0, 0, "    0 /   0"},
        {-1, 0, "   -1 /   0"},
        {1, 12345, "    1 / 12345"},
        {-1234, -99, "-1234 / -99"},
        {-32768, -32768, "-32768 / -32768"},
    };
    for (const Case& t : cases) EXPECT_EQ(console::progress_text(t.pages, t.lines), t.want);
}

TEST(ConsoleStatusBox, OpenShowCloseLeavesTheScreenAsItWas) {
    TempDir dir;
    const config::SessionContext session = session_in(dir);
    console::Console c = open_screen(25, 80, 10, 1);
    paint_pattern();
    const std::vector<platform::Cell> before = whole_screen();

    console::open_status_box(c, session);
    const std::string h = "\xC4";
    EXPECT_EQ(text(23, 34, 15), "\xDA" + h + "  PAG / LIN" + h + "\xBF");
    EXPECT_EQ(text(24, 34, 15), "\xB3" + std::string(13, ' ') + "\xB3");
    EXPECT_EQ(text(25, 34, 15), "\xC0" + std::string(13, '\xC4') + "\xD9");
    for (int row = 23; row <= 25; ++row)
        EXPECT_EQ(attributes(row, 34, 15), std::vector<std::uint16_t>(15, 0x70)) << row;
    EXPECT_EQ(c.colours.colour_index, 0);
    EXPECT_EQ(c.colours.colour_stack, "");

    console::show_progress(c, 1, 5);
    EXPECT_EQ(text(24, 35, 13), " " + std::string("    1 /   5") + " ");
    EXPECT_EQ(attributes(24, 36, 11), std::vector<std::uint16_t>(11, 0x0F));
    EXPECT_EQ(attributes(24, 47, 1)[0], 0x70);
    // The cursor stays in memory: the console saw one cell run and nothing else.
    EXPECT_EQ(platform::console_info().cursor_row, 9);
    EXPECT_EQ(platform::console_info().cursor_column, 0);

    console::show_progress(c, 3, 12345);  // 13 characters: the last one over the frame
    EXPECT_EQ(text(24, 36, 13), "    3 / 12345");
    console::show_progress(c, 1, 5);  // a shorter text leaves the tail standing
    EXPECT_EQ(text(24, 36, 13), "    1 /   545");

    console::close_status_box(c, session);
    EXPECT_TRUE(same_cells(whole_screen(), before));
    EXPECT_EQ(console::console_cursor_row(c), 10);
    EXPECT_EQ(console::console_cursor_column(c), 1);
    EXPECT_EQ(platform::console_info().cursor_row, 9);
    EXPECT_EQ(platform::console_info().cursor_column, 0);
    EXPECT_EQ(c.window.open_count, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "WinPush.tmp"));
}

TEST(ConsoleStatusBox, ConsoleTooSmallDrawsNoFrame) {
    TempDir dir;
    const config::SessionContext session = session_in(dir);
    console::Console c = open_screen(24, 80, 10, 1);
    console::open_status_box(c, session);
    EXPECT_EQ(text(10, 2, 11), "  PAG / LIN");  // row offset 0 keeps the row
    EXPECT_EQ(text(23, 34, 15), std::string(15, ' '));
    console::show_progress(c, 2, 7);
    EXPECT_EQ(text(1, 2, 11), "    2 /   7");
    console::close_status_box(c, session);
    EXPECT_EQ(c.window.open_count, 0);
    EXPECT_FALSE(std::filesystem::exists(dir.path / "WinPush.tmp"));
}

#endif  // _WIN32
