// Console probe: checks from outside what a program does to the console it
// shares with its caller. It fills the 80 x 25 console with a known pattern
// of characters and colours, puts the cursor at row 10, column 1, runs the
// program and waits, then reads the whole screen back and reports every cell
// and the cursor that differ. It uses the platform layer only.
//
//   console_probe screen REPORT COMMAND...  the screen must come back as it was
//   console_probe frame REPORT COMMAND...   and, while the program runs, rows
//                                           23-25 must show the status box
//   console_probe primitives REPORT         the platform's console primitives
//                                           on this console, without a program
//   console_probe sample FOLDER             (internal) the sampler of "frame"
//
// For "frame" the probe starts a second probe in the background of the same
// console ("cmd /c start /b"), which samples rows 23-25 until the first probe
// says the program has ended. The two meet through files in the report's
// folder: "sampler.ready", "sampler.done" and "sampler.result". Every wait is
// bounded, so a probe never hangs. Exit code 0 only when everything matched.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

namespace {

constexpr int rows = 25, columns = 80;
constexpr int start_row = 9, start_column = 0;  // row 10, column 1
constexpr std::uint16_t box_colour = 0x70;      // black on grey: entry 3 of the default table
constexpr std::uint16_t text_colour = 0x0F;     // bright white on black: entry 0

// The pattern's cell at (row, column): letters, digits, accented and line
// characters of the OEM code page, in colours that change along the row.
platform::Cell pattern_cell(int row, int column) {
    static const std::u16string chars = platform::oem_to_utf16(
        "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcdefghijklmnopqrstuvwxyz"
        "\x80\x81\x82\x85\x87\x8A\xA4\xA5\xB0\xB3\xC4\xC5\xCD\xDA\xDB!#%&*+=?@");
    platform::Cell cell;
    cell.ch = chars[static_cast<std::size_t>(row * 7 + column) % chars.size()];
    cell.attribute = static_cast<std::uint16_t>((row * 16 + column * 3) & 0xFF);
    return cell;
}

// The whole screen, row by row.
std::vector<platform::Cell> read_screen() {
    std::vector<platform::Cell> cells(static_cast<std::size_t>(rows * columns));
    for (int r = 0; r < rows; ++r) platform::console_read_cells(r, 0, &cells[r * columns], columns);
    return cells;
}

// A cell as text for the report: its character code and attribute.
std::string describe(const platform::Cell& cell) {
    char text[32];
    std::snprintf(text, sizeof text, "U+%04X/%02X", static_cast<unsigned>(cell.ch),
                  static_cast<unsigned>(cell.attribute));
    return text;
}

// The characters of cells [from, to) of a row as OEM text.
std::string row_text(const std::vector<platform::Cell>& cells, int row, int from, int to) {
    std::u16string units;
    for (int c = from; c < to; ++c) units += cells[static_cast<std::size_t>(row * columns + c)].ch;
    return platform::utf16_to_oem(units);
}

bool file_exists(const std::string& path) {
    platform::FileHandle f = platform::open_shared_read(path);
    platform::close_file(f);
    return f != platform::no_file;
}

void write_whole_file(const std::string& path, const std::string& text) {
    platform::FileHandle f = platform::create_shared_write(path);
    platform::write_file(f, text.data(), text.size());
    platform::close_file(f);
}

std::string read_whole_file(const std::string& path) {
    std::string text;
    platform::FileHandle f = platform::open_shared_read(path);
    char buffer[4096];
    for (std::int64_t n; (n = platform::read_file(f, buffer, sizeof buffer)) > 0;)
        text.append(buffer, static_cast<std::size_t>(n));
    platform::close_file(f);
    return text;
}

// Waits until a file exists, for at most the given seconds.
bool wait_for_file(const std::string& path, int seconds) {
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    while (!file_exists(path)) {
        if (std::chrono::steady_clock::now() > until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

// The folder part of a path, its last "\" or "/" included; ".\" for none.
std::string folder_of(const std::string& path) {
    std::size_t end = path.find_last_of("\\/");
    return end == std::string::npos ? std::string(".\\") : path.substr(0, end + 1);
}

// What is wrong with rows 23-25 as the status box should show them; empty
// when the frame, the caption and a progress text are all there.
std::string status_box_fault(const std::vector<platform::Cell>& cells) {
    const int top = 22, left = 33, right = 47;  // rows 23-25, columns 34-48
    std::string fault;
    auto expect = [&](int row, int column, char16_t ch, std::uint16_t attribute) {
        const platform::Cell& got = cells[static_cast<std::size_t>(row * columns + column)];
        if (got.ch != ch || got.attribute != attribute)
            fault += " row " + std::to_string(row + 1) + " col " + std::to_string(column + 1) +
                     " " + describe(got);
    };
    const std::u16string caption = u"  PAG / LIN";
    for (int c = left; c <= right; ++c) {
        char16_t top_ch = c == left ? u'\u250C' : c == right ? u'\u2510' : u'\u2500';
        if (c >= left + 2 && c < left + 2 + static_cast<int>(caption.size()))
            top_ch = caption[static_cast<std::size_t>(c - left - 2)];
        expect(top, c, top_ch, box_colour);
        expect(top + 2, c, c == left ? u'\u2514' : c == right ? u'\u2518' : u'\u2500', box_colour);
    }
    expect(top + 1, left, u'\u2502', box_colour);
    expect(top + 1, right, u'\u2502', box_colour);
    // The progress text: pages in five places, " / ", lines in three.
    const int from = left + 2;
    for (int c = from; c < from + 11; ++c) {
        const platform::Cell& got = cells[static_cast<std::size_t>((top + 1) * columns + c)];
        bool slash = c == from + 6, blank_around = c == from + 5 || c == from + 7;
        bool fits = slash          ? got.ch == u'/'
                    : blank_around ? got.ch == u' '
                                   : got.ch == u' ' || (got.ch >= u'0' && got.ch <= u'9');
        if (!fits || got.attribute != text_colour) {
            fault += " progress text \"" + row_text(cells, top + 1, from, from + 11) + "\"";
            break;
        }
    }
    return fault;
}

// The sampler: reads rows 23-25 until they show the status box or the
// first probe reports that the program has ended; writes what it saw.
int sample(const std::string& folder) {
    const std::string dir = folder + "\\";
    write_whole_file(dir + "sampler.ready", "ready");
    auto until = std::chrono::steady_clock::now() + std::chrono::seconds(120);
    std::string fault = "no sample taken";
    std::vector<platform::Cell> cells;
    for (bool last = false; !last;) {
        last = file_exists(dir + "sampler.done") || std::chrono::steady_clock::now() > until;
        cells = read_screen();
        fault = status_box_fault(cells);
        if (fault.empty()) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    std::string result = fault.empty() ? "seen\n" : "not seen:" + fault + "\n";
    for (int r = 22; r < rows; ++r) result += "  |" + row_text(cells, r, 0, columns) + "|\n";
    write_whole_file(dir + "sampler.result", result);
    return 0;
}

// Fills the screen with the pattern and puts the cursor at row 10, column 1.
void fill_pattern() {
    for (int r = 0; r < rows; ++r) {
        std::vector<platform::Cell> line;
        for (int c = 0; c < columns; ++c) line.push_back(pattern_cell(r, c));
        platform::console_write_cells(r, 0, line.data(), columns);
    }
    platform::console_set_cursor(start_row, start_column);
}

// True when buffer and window are 80 x 25; otherwise says what they are.
bool console_is_80_by_25(std::string& report) {
    platform::ConsoleInfo info = platform::console_info();
    if (info.buffer_rows == rows && info.buffer_columns == columns && info.window_rows == rows &&
        info.window_columns == columns)
        return true;
    report += "console is " + std::to_string(info.buffer_rows) + "x" +
              std::to_string(info.buffer_columns) + " (window " + std::to_string(info.window_rows) +
              "x" + std::to_string(info.window_columns) + "), not 25x80\n";
    return false;
}

bool same(const platform::Cell& a, const platform::Cell& b) {
    return a.ch == b.ch && a.attribute == b.attribute;
}

// The cell primitives on the real console: cursor placement and its limits,
// a run written and read at a row's end, reads past the row, one-row scroll.
int primitives(const std::string& report_path) {
    std::string report;
    if (!console_is_80_by_25(report)) {
        write_whole_file(report_path, report);
        return 2;
    }
    auto check = [&](bool ok, const std::string& what) {
        if (!ok) report += "wrong: " + what + "\n";
    };
    fill_pattern();
    platform::console_set_cursor(24, 79);
    platform::ConsoleInfo info = platform::console_info();
    check(info.cursor_row == 24 && info.cursor_column == 79, "cursor placed at row 25 col 80");
    platform::console_set_cursor(25, 3);
    platform::console_set_cursor(3, 80);
    platform::console_set_cursor(-1, 3);
    info = platform::console_info();
    check(info.cursor_row == 24 && info.cursor_column == 79, "cursor kept when placed off");

    const platform::Cell run[3] = {{u'x', 0x1E}, {u'\u2500', 0x1E}, {u'z', 0x1E}};
    platform::console_write_cells(24, 77, run, 3);
    platform::Cell back[4];
    platform::console_read_cells(24, 76, back, 4);
    check(same(back[0], pattern_cell(24, 76)), "cell before the run: " + describe(back[0]));
    for (int i = 0; i < 3; ++i)
        check(same(back[i + 1], run[i]), "written cell read back as " + describe(back[i + 1]));
    platform::console_read_cells(0, 78, back, 4);
    check(same(back[1], pattern_cell(0, 79)), "last cell of row 1: " + describe(back[1]));
    check(same(back[2], platform::Cell{}) && same(back[3], platform::Cell{}),
          "cells read past the row's end are blanks in 07: " + describe(back[2]));

    std::vector<platform::Cell> before = read_screen();
    platform::console_scroll_up(0x2A);
    std::vector<platform::Cell> after = read_screen();
    int moved = 0, blank = 0;
    for (int i = 0; i < (rows - 1) * columns; ++i)
        moved +=
            same(after[static_cast<std::size_t>(i)], before[static_cast<std::size_t>(i + columns)]);
    for (int c = 0; c < columns; ++c)
        blank += same(after[static_cast<std::size_t>((rows - 1) * columns + c)], {u' ', 0x2A});
    check(moved == (rows - 1) * columns, "scroll moved " + std::to_string(moved) + " cells up");
    check(blank == columns, "scroll blanked " + std::to_string(blank) + " cells of the last row");

    bool ok = report.empty();
    report += ok ? "PASS\n" : "FAIL\n";
    write_whole_file(report_path, report);
    return ok ? 0 : 1;
}

// Fills the screen, runs the command, compares; with watch_frame also has
// the status box sampled while the command runs.
int probe(const std::string& self, const std::string& report_path, const std::string& command,
          bool watch_frame) {
    std::string report;
    bool ok = true;
    if (!console_is_80_by_25(report)) {
        write_whole_file(report_path, report);
        return 2;
    }
    fill_pattern();

    const std::string dir = folder_of(report_path);
    if (watch_frame) {
        for (const char* name : {"sampler.ready", "sampler.done", "sampler.result"})
            platform::delete_file(dir + name);
        // The folder goes without its last "\", which would escape the closing quote.
        std::string folder = dir.substr(0, dir.size() - 1);
        platform::run_process("cmd /c start \"\" /b \"" + self + "\" sample \"" + folder + "\"");
        if (!wait_for_file(dir + "sampler.ready", 60)) {
            report += "the sampler did not start\n";
            ok = false;
        }
    }

    std::int32_t code = platform::run_process(command);
    report += "exit code " + std::to_string(code) + "\n";
    if (code != 0) ok = false;

    if (watch_frame) {
        write_whole_file(dir + "sampler.done", "done");
        if (!wait_for_file(dir + "sampler.result", 60)) {
            report += "the sampler gave no result\n";
            ok = false;
        } else {
            std::string seen = read_whole_file(dir + "sampler.result");
            report += "status box while running: " + seen;
            if (seen.compare(0, 5, "seen\n") != 0) ok = false;
        }
    }

    std::vector<platform::Cell> cells = read_screen();
    int differing = 0;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < columns; ++c) {
            platform::Cell want = pattern_cell(r, c);
            const platform::Cell& got = cells[static_cast<std::size_t>(r * columns + c)];
            if (got.ch == want.ch && got.attribute == want.attribute) continue;
            ++differing;
            report += "cell row " + std::to_string(r + 1) + " col " + std::to_string(c + 1) +
                      ": want " + describe(want) + " got " + describe(got) + "\n";
        }
    }
    platform::ConsoleInfo after = platform::console_info();
    if (after.cursor_row != start_row || after.cursor_column != start_column) {
        report += "cursor at row " + std::to_string(after.cursor_row + 1) + " col " +
                  std::to_string(after.cursor_column + 1) + ", want row 10 col 1\n";
        ok = false;
    }
    report += std::to_string(differing) + " cells differ\n";
    if (differing != 0) ok = false;
    report += ok ? "PASS\n" : "FAIL\n";
    write_whole_file(report_path, report);
    return ok ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv, argv + argc);
    if (args.size() == 3 && args[1] == "sample") return sample(args[2]);
    if (args.size() == 3 && args[1] == "primitives") return primitives(args[2]);
    if (args.size() < 4 || (args[1] != "screen" && args[1] != "frame")) {
        std::fprintf(stderr,
                     "usage: console_probe screen|frame REPORT COMMAND... | primitives REPORT\n");
        return 2;
    }
    std::string command = args[3];
    for (std::size_t i = 4; i < args.size(); ++i) command += " " + args[i];
    return probe(args[0], args[2], command, args[1] == "frame");
}
