// The window stack in WinPush.tmp: the exact record format, restoring on pop,
// nesting, refused pushes, and that a damaged or foreign stack is never
// trusted or touched.
#ifndef _WIN32

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "console/window_stack.h"
#include "console_test_screen.h"

using namespace console_test;

namespace {

// The whole content of a file, empty when it is missing.
std::string read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Replaces a file's content.
void write_bytes(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// The 4 header bytes of an end position.
std::string header(std::uint32_t end) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>((end >> (8 * i)) & 0xFF);
    return bytes;
}

// The four corners and the open count of the active window.
std::vector<int> window_of(const console::Console& c) {
    return {c.window.top, c.window.left, c.window.bottom, c.window.right, c.window.open_count};
}

// Puts one cell on the in-memory console (1-based).
void put(int row, int column, char16_t ch, std::uint16_t attribute) {
    platform::Cell cell{ch, attribute};
    platform::console_write_cells(row - 1, column - 1, &cell, 1);
}

// A record of another program saving the window (2, 2, 3, 4) with cursor (1, 1):
// 6 cells, 37 bytes.
std::string foreign_record() {
    std::string record = "01010000000002020304";
    for (int i = 0; i < 6; ++i) record += std::string{static_cast<char>('a' + i), '\x1F'};
    return record + "00037";
}

}  // namespace

TEST(ConsoleWindowStack, ZeroPadded) {
    struct Case {
        long long value;
        int width;
        const char* want;
    };
    const Case cases[] = {{5, 2, "05"},  {0, 2, "00"},      {123, 2, "23"},
                          {-7, 2, "07"}, {115, 5, "00115"}, {-9223372036854775807LL - 1, 3, "808"},
                          {7, 0, ""}};
    for (const Case& t : cases)
        EXPECT_EQ(console::zero_padded(t.value, t.width), t.want) << t.value;
}

TEST(ConsoleWindowStack, StatusBoxRecordBytesAndRestore) {
    TempDir dir;
    const auto file = dir.path / "WinPush.tmp";
    console::Console c = open_screen(25, 80, 10, 1);
    put(23, 34, u'A', 0x1E);
    put(25, 48, u'\u2500', 0x70);
    const std::vector<platform::Cell> before = whole_screen();

    console::push_window(c, dir.dir(), 23, 34, 25, 48);
    std::string cells = "A\x1E";
    for (int i = 1; i < 44; ++i) cells += " \x07";
    cells += "\xC4\x70";
    EXPECT_EQ(read_bytes(file), header(120) + "10010000000023342548" + cells + "00115");
    EXPECT_EQ(window_of(c), (std::vector<int>{23, 34, 25, 48, 1}));
    EXPECT_TRUE(same_cells(whole_screen(), before));  // a push does not draw

    console::console_set_colour(c, 3, 4);
    console::draw_frame(c, 2);
    console::pop_window(c, dir.dir());
    EXPECT_TRUE(same_cells(whole_screen(), before));
    EXPECT_EQ(console::console_cursor_row(c), 10);
    EXPECT_EQ(console::console_cursor_column(c), 1);
    EXPECT_EQ(platform::console_info().cursor_row, 9);  // flushed to the console
    EXPECT_EQ(platform::console_info().cursor_column, 0);
    EXPECT_EQ(c.screen.attribute, 0x70);  // the colour of the last restored cell
    EXPECT_EQ(window_of(c), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(ConsoleWindowStack, NestedPushesUnwindOverAnotherProgramsRecord) {
    TempDir dir;
    const auto file = dir.path / "WinPush.tmp";
    const std::string foreign = header(42) + foreign_record();
    write_bytes(file, foreign);
    console::Console c = open_screen(25, 80, 3, 3);
    paint_pattern();
    const std::vector<platform::Cell> before = whole_screen();

    console::push_window(c, dir.dir(), 5, 5, 10, 20);  // 6 x 16 cells: 217 bytes
    console::draw_frame(c, 1);
    const std::vector<platform::Cell> with_first = whole_screen();
    console::console_place_cursor(c, 6, 6);
    console::push_window(c, dir.dir(), 7, 7, 8, 12);  // 2 x 6 cells: 49 bytes
    std::string bytes = read_bytes(file);
    ASSERT_EQ(bytes.size(), 41u + 217 + 49);
    EXPECT_EQ(bytes.substr(0, 4), header(42 + 217 + 49));
    EXPECT_EQ(bytes.substr(4, 37), foreign_record());
    EXPECT_EQ(bytes.substr(4 + 37 + 217, 20), "06060505102007070812");
    console::draw_frame(c, 2);

    console::pop_window(c, dir.dir());
    EXPECT_EQ(window_of(c), (std::vector<int>{5, 5, 10, 20, 1}));
    EXPECT_TRUE(same_cells(whole_screen(), with_first));
    EXPECT_EQ(console::console_cursor_row(c), 6);
    bytes = read_bytes(file);
    EXPECT_EQ(bytes.size(), 41u + 217 + 49);  // never shortened
    EXPECT_EQ(bytes.substr(0, 4), header(42 + 217));

    console::pop_window(c, dir.dir());
    EXPECT_EQ(window_of(c), (std::vector<int>{0, 0, 0, 0, 0}));
    EXPECT_TRUE(same_cells(whole_screen(), before));
    EXPECT_EQ(console::console_cursor_row(c), 3);
    EXPECT_EQ(console::console_cursor_column(c), 3);
    EXPECT_EQ(read_bytes(file).substr(0, 41), foreign);  // the other program's stack is intact

    console::pop_window(c, dir.dir());  // nothing of this run is left to pop
    EXPECT_EQ(read_bytes(file).substr(0, 41), foreign);
    EXPECT_TRUE(same_cells(whole_screen(), before));
}

TEST(ConsoleWindowStack, RefusedPushesTouchNothing) {
    struct Case {
        int rows, columns, top, left, bottom, right;
    };
    const Case cases[] = {
        {25, 80, 0, 34, 25, 48},  {25, 80, 23, 0, 25, 48},     {25, 80, 23, 34, 26, 48},
        {25, 80, 23, 34, 25, 81}, {24, 80, 23, 34, 25, 48},    {25, 80, 25, 34, 23, 48},
        {25, 80, 23, 48, 25, 34}, {130, 120, 23, 34, 25, 100},  // 100 has no two-digit field
        {0, 0, 1, 1, 1, 1},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(testing::Message() << t.rows << "x" << t.columns << " " << t.top << ","
                                        << t.left << "," << t.bottom << "," << t.right);
        TempDir dir;
        console::Console c = open_screen(t.rows, t.columns);
        console::push_window(c, dir.dir(), t.top, t.left, t.bottom, t.right);
        EXPECT_FALSE(std::filesystem::exists(dir.path / "WinPush.tmp"));
        EXPECT_EQ(window_of(c), (std::vector<int>{0, 0, 0, 0, 0}));
    }
}

TEST(ConsoleWindowStack, CursorRowAbove99IsSavedByItsLastTwoDigits) {
    TempDir dir;
    console::Console c = open_screen(130, 80, 123, 5);
    console::push_window(c, dir.dir(), 23, 34, 25, 48);
    EXPECT_EQ(read_bytes(dir.path / "WinPush.tmp").substr(4, 4), "2305");
    console::console_place_cursor(c, 1, 1);
    console::pop_window(c, dir.dir());
    EXPECT_EQ(console::console_cursor_row(c), 23);
    EXPECT_EQ(console::console_cursor_column(c), 5);
}

TEST(ConsoleWindowStack, PushOntoAFileWithoutHeaderStartsAtOffset4) {
    for (std::size_t size : {1u, 2u, 3u}) {
        SCOPED_TRACE(size);
        TempDir dir;
        const auto file = dir.path / "WinPush.tmp";
        write_bytes(file, std::string(size, 'x'));
        console::Console c = open_screen(25, 80, 10, 1);
        console::push_window(c, dir.dir(), 23, 34, 25, 48);
        const std::string bytes = read_bytes(file);
        ASSERT_EQ(bytes.size(), 119u);
        EXPECT_EQ(bytes.substr(0, 4), header(120));
        EXPECT_EQ(bytes.substr(4, 20), "10010000000023342548");
        console::pop_window(c, dir.dir());
        EXPECT_FALSE(std::filesystem::exists(file));
    }
}

TEST(ConsoleWindowStack, PopWithoutAPushOfThisRunLeavesTheFileAlone) {
    TempDir dir;
    const auto file = dir.path / "WinPush.tmp";
    const std::string foreign = header(42) + foreign_record();
    write_bytes(file, foreign);
    console::Console c = open_screen(25, 80, 7, 9);
    paint_pattern();
    const std::vector<platform::Cell> before = whole_screen();
    console::push_window(c, dir.dir(), 0, 1, 1, 1);  // refused: nothing of this run is open
    console::pop_window(c, dir.dir());
    EXPECT_EQ(read_bytes(file), foreign);
    EXPECT_TRUE(same_cells(whole_screen(), before));
    EXPECT_EQ(console::console_cursor_row(c), 7);
    EXPECT_EQ(console::console_cursor_column(c), 9);
}

TEST(ConsoleWindowStack, PushThatCannotWriteStillOpensTheWindow) {
    TempDir dir;
    const std::string missing = (dir.path / "no" / "such").string() + "/";
    console::Console c = open_screen();
    console::push_window(c, missing, 23, 34, 25, 48);
    EXPECT_EQ(window_of(c), (std::vector<int>{23, 34, 25, 48, 1}));
    console::pop_window(c, missing);  // finds no header: restores nothing, leaves no file
    EXPECT_EQ(window_of(c), (std::vector<int>{23, 34, 25, 48, 1}));
    console::pop_window(c, dir.dir());
    EXPECT_FALSE(std::filesystem::exists(dir.path / "WinPush.tmp"));
    EXPECT_EQ(window_of(c), (std::vector<int>{23, 34, 25, 48, 1}));
}

TEST(ConsoleWindowStack, DamagedStackIsNeverTrusted) {
    const std::string good = foreign_record();
    struct Case {
        const char* name;
        std::string bytes;
    };
    const Case cases[] = {
        {"header past the end", header(200) + good},
        {"header one past the end", header(43) + good},
        {"header negative", header(0xFFFFFFF9u) + good},
        {"header into the header", header(3) + good},
        {"header at 0", header(0) + good},
        {"length not digits", header(42) + good.substr(0, 32) + "00a37"},
        {"record start before the header", header(42) + good.substr(0, 32) + "00040"},
        {"length not matching the corners",
         header(42) + "010100000000020203" + "05" + good.substr(20)},
        {"cell count past the end",
         header(42) + "0101000000000101" + "9999" + good.substr(20, 12) + "19627"},
        {"no rows", header(30) + "0101000000000302" + "0304" + "00025"},
        {"corner not digits", header(42) + "01010000000002x20304" + good.substr(20)},
    };
    for (const Case& t : cases) {
        SCOPED_TRACE(t.name);
        TempDir dir;
        const auto file = dir.path / "WinPush.tmp";
        write_bytes(file, t.bytes);
        console::Console c = open_screen(25, 80, 7, 9);
        paint_pattern();
        const std::vector<platform::Cell> before = whole_screen();

        c.window = {10, 10, 12, 20, 1};  // as after a push of this run
        console::pop_window(c, dir.dir());
        EXPECT_EQ(read_bytes(file), t.bytes);
        EXPECT_TRUE(same_cells(whole_screen(), before));
        EXPECT_EQ(window_of(c), (std::vector<int>{10, 10, 12, 20, 1}));
        EXPECT_EQ(console::console_cursor_row(c), 7);

        console::push_window(c, dir.dir(), 23, 34, 25, 48);
        EXPECT_EQ(read_bytes(file), t.bytes);
        EXPECT_EQ(window_of(c), (std::vector<int>{23, 34, 25, 48, 2}));
    }
}

#endif  // _WIN32
