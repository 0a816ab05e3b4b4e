// The window stack on an arbitrary WinPush.tmp that lies above one valid
// record of another program: [header][the other program's record][fuzzed
// bytes]. A pop, and then a push and pop pair, must never grow the file or
// change a byte of the other program's record, and must touch no other file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "console/console.h"
#include "console/window_stack.h"
#include "platform/platform.h"
#include "scratch.h"
#include "screen.h"

namespace fuzz {

// One window-stack file and the open count that the run believes in.
//   Input: byte 0 bit 0: the header is bytes 1-4 as they are, else it points into the fuzzed
//   part at the offset that bytes 1-2 give; bit 1: no push of this run (open count 0);
//   bytes 5 on: the fuzzed part.
struct WinpushCase {
    std::string header;  // 4 bytes
    std::string fuzzed;
    std::int16_t open_count = 1;
};

// A whole number as width decimal digits.
inline std::string digits(long long value, int width) {
    std::string text = std::to_string(value);
    return std::string(static_cast<std::size_t>(width) - text.size(), '0') + text;
}

// The record of another program at the bottom of the stack: window (5, 10, 7, 20), cursor (3, 4).
inline std::string other_program_record() {
    std::string record = digits(3, 2) + digits(4, 2) + "00000000" + digits(5, 2) + digits(10, 2) +
                         digits(7, 2) + digits(20, 2);
    for (int i = 0; i < 3 * 11; ++i) {
        record += static_cast<char>('A' + i % 26);
        record += '\x1E';
    }
    return record + digits(20 + 2 * 3 * 11 + 5, 5);
}

// The end position just behind the other program's record.
inline std::uint32_t other_record_end() {
    return 5 + static_cast<std::uint32_t>(other_program_record().size());
}

// A 32-bit little-endian number as 4 bytes.
inline std::string le32(std::uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// The 32-bit little-endian number at the start of bytes (which hold at least 4).
inline std::int64_t header_value(const std::string& bytes) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes[i]);
    return static_cast<std::int32_t>(value);
}

// Splits an input into the header, the fuzzed part and the open count.
inline WinpushCase split_winpush_input(const std::uint8_t* data, std::size_t size) {
    WinpushCase c;
    std::uint8_t head[5] = {0, 0, 0, 0, 0};
    for (std::size_t i = 0; i < 5 && i < size; ++i) head[i] = data[i];
    if (size > 5) c.fuzzed.assign(reinterpret_cast<const char*>(data + 5), size - 5);
    if (head[0] & 1) {
        c.header.assign(reinterpret_cast<const char*>(head + 1), 4);
    } else {
        std::uint32_t offset = (head[1] | (head[2] << 8)) % (c.fuzzed.size() + 1);
        c.header = le32(other_record_end() + offset);
    }
    c.open_count = (head[0] & 2) ? 0 : 1;
    return c;
}

// True when two active windows are the same.
inline bool same_window(const console::ActiveWindow& a, const console::ActiveWindow& b) {
    return a.top == b.top && a.left == b.left && a.bottom == b.bottom && a.right == b.right &&
           a.open_count == b.open_count;
}

// The first offset at or after from where two byte strings differ, as text.
inline std::string first_difference(const std::string& a, const std::string& b, std::size_t from) {
    std::size_t i = from;
    while (i < a.size() && i < b.size() && a[i] == b[i]) ++i;
    return "offset " + std::to_string(i);
}

// Checks one pop on the prepared file, then a push and pop pair on what it leaves.
inline std::string check_winpush_steps(const std::filesystem::path& dir, const WinpushCase& c) {
    const std::filesystem::path file = dir / "WinPush.tmp";
    const std::string temp_dir = dir.string() + "\\";
    const std::string record = other_program_record();
    const std::string before = c.header + record + c.fuzzed;
    const std::int64_t end = header_value(c.header);
    write_bytes(file, before);

    platform::memory_console_reset(25, 80);
    paint_screen(25, 80);
    platform::console_set_cursor(9, 0);
    console::Console con;
    console::console_open(con);
    con.window = {23, 34, 25, 48, c.open_count};
    const console::ActiveWindow window_before = con.window;
    const std::vector<platform::Cell> screen_before = screen_cells(25, 80);

    // 1. One pop.
    console::pop_window(con, temp_dir);
    console::console_flush(con);
    const bool present = file_present(file);
    const std::string after = present ? read_bytes(file) : std::string();
    const bool pops_other = c.open_count != 0 && end == other_record_end();
    if (!present) {
        if (c.open_count == 0) return "a pop without a push of this run deleted the stack";
        if (end != 5 && !pops_other)
            return "the pop deleted a stack whose top record is not the bottom one";
    } else if (pops_other) {
        return "the pop did not take the other program's record, the top one, off the stack";
    } else if (after.size() != before.size()) {
        return "the pop changed the file's length from " + std::to_string(before.size()) + " to " +
               std::to_string(after.size());
    } else if (after.compare(4, std::string::npos, before, 4, std::string::npos) != 0) {
        return "the pop changed the file behind its header at " +
               first_difference(before, after, 4);
    } else if (after.compare(0, 4, before, 0, 4) == 0) {
        if (!same_window(con.window, window_before))
            return "a pop that took nothing off the stack changed the active window";
        std::string cell = screen_difference(screen_before, screen_cells(25, 80), 80);
        if (!cell.empty())
            return "a pop that took nothing off the stack changed the screen at " + cell;
    } else {
        if (c.open_count == 0) return "a pop without a push of this run changed the stack";
        std::int64_t start = header_value(after);
        if (start < 5 || start >= end)
            return "the pop left the end position " + std::to_string(start) +
                   " where the top record ended at " + std::to_string(end);
        if (con.window.open_count != 0)
            return "a pop left the open count at " + std::to_string(con.window.open_count);
    }
    if (pops_other) {
        // The other program's record was the top one: its cells and cursor come back.
        const std::vector<platform::Cell> screen = screen_cells(25, 80);
        for (int i = 0; i < 3 * 11; ++i) {
            const platform::Cell& cell =
                screen[static_cast<std::size_t>((4 + i / 11) * 80 + 9 + i % 11)];
            if (cell.ch != static_cast<char16_t>('A' + i % 26) || cell.attribute != 0x1E)
                return "the pop of the other program's record did not restore its cells";
        }
        platform::ConsoleInfo info = platform::console_info();
        if (info.cursor_row != 2 || info.cursor_column != 3 ||
            !same_window(con.window, console::ActiveWindow{}))
            return "the pop of the other program's record did not restore its cursor and window";
    }

    // 2. A push and pop pair on what the pop left.
    const bool present2 = file_present(file);
    const std::string before2 = present2 ? read_bytes(file) : std::string();
    const console::ActiveWindow window2 = con.window;
    const std::vector<platform::Cell> screen2 = screen_cells(25, 80);
    const platform::ConsoleInfo cursor2 = platform::console_info();
    console::push_window(con, temp_dir, 23, 34, 25, 48);
    console::pop_window(con, temp_dir);
    console::console_flush(con);
    const bool present3 = file_present(file);
    const std::string after2 = present3 ? read_bytes(file) : std::string();
    bool restored = true;  // the pair saved and restored the region
    if (present2 && before2.size() < 4) return "the pop shortened the file to its header";
    if (!present2 || header_value(before2) == 5) {
        // An empty stack: the pair's pop empties it again and deletes the file.
        if (present3) return "a push and pop pair on an empty stack left the file behind";
    } else if (!present3) {
        return "a push and pop pair deleted a stack that held records";
    } else if (after2 == before2) {
        restored = false;  // the header was not trusted: nothing saved, nothing restored
    } else {
        const std::int64_t end2 = header_value(before2);
        if (after2.size() < before2.size()) return "a push and pop pair shortened the file";
        if (after2.compare(0, 4, before2, 0, 4) != 0)
            return "a push and pop pair left another end position";
        if (end2 < 5 || end2 - 1 > static_cast<std::int64_t>(before2.size()))
            return "a push wrote to a stack whose end position " + std::to_string(end2) +
                   " lies outside the file";
        if (after2.compare(4, static_cast<std::size_t>(end2 - 5), before2, 4,
                           static_cast<std::size_t>(end2 - 5)) != 0)
            return "a push and pop pair changed the records below the end position at " +
                   first_difference(before2, after2, 4);
        if (end2 != 5 && after2.compare(4, record.size(), record) != 0)
            return "a push and pop pair changed the other program's record";
    }
    if (restored) {
        if (!same_window(con.window, window2))
            return "a push and pop pair did not bring back the active window";
        std::string cell = screen_difference(screen2, screen_cells(25, 80), 80);
        if (!cell.empty()) return "a push and pop pair did not restore the screen at " + cell;
        platform::ConsoleInfo info = platform::console_info();
        if (info.cursor_row != cursor2.cursor_row || info.cursor_column != cursor2.cursor_column)
            return "a push and pop pair did not bring the cursor back";
    }

    std::set<std::string> names = entry_names(dir);
    names.erase("WinPush.tmp");
    if (!names.empty()) return "the window stack wrote another file: " + printable(*names.begin());
    return {};
}

// Runs the steps in dir (empty before and after) and returns the first rule broken (empty: none).
inline std::string check_winpush_case(const std::filesystem::path& dir, const WinpushCase& c) {
    empty_dir(dir);
    std::string problem = check_winpush_steps(dir, c);
    empty_dir(dir);
    return problem;
}

}  // namespace fuzz
