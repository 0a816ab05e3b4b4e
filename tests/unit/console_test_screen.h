// Helpers for the console tests: a fresh in-memory console opened by the
// system, and reading its cells back as OEM bytes and attributes.
#pragma once

#ifndef _WIN32

#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "console/console.h"
#include "platform/platform.h"

namespace console_test {

// A fresh in-memory console of rows x columns, cursor at (row, column) 1-based, opened.
inline console::Console open_screen(int rows = 25, int columns = 80, int row = 1, int column = 1) {
    platform::memory_console_reset(rows, columns);
    if (rows > 0 && columns > 0) platform::console_set_cursor(row - 1, column - 1);
    console::Console c;
    console::console_open(c);
    return c;
}

// The raw cells of count columns of a row (1-based), straight from the platform.
inline std::vector<platform::Cell> cells(int row, int column, int count) {
    std::vector<platform::Cell> out(static_cast<std::size_t>(count));
    platform::console_read_cells(row - 1, column - 1, out.data(), count);
    return out;
}

// The characters of count cells of a row as OEM bytes.
inline std::string text(int row, int column, int count) {
    std::u16string units;
    for (const platform::Cell& cell : cells(row, column, count)) units += cell.ch;
    return platform::utf16_to_oem(units);
}

// The attributes of count cells of a row, one per cell.
inline std::vector<std::uint16_t> attributes(int row, int column, int count) {
    std::vector<std::uint16_t> out;
    for (const platform::Cell& cell : cells(row, column, count)) out.push_back(cell.attribute);
    return out;
}

// Every cell of the in-memory console, row by row.
inline std::vector<platform::Cell> whole_screen() {
    const platform::ConsoleInfo info = platform::console_info();
    std::vector<platform::Cell> out;
    for (int row = 1; row <= info.buffer_rows; ++row) {
        std::vector<platform::Cell> line = cells(row, 1, info.buffer_columns);
        out.insert(out.end(), line.begin(), line.end());
    }
    return out;
}

// True when two screens hold the same characters and attributes.
inline bool same_cells(const std::vector<platform::Cell>& a, const std::vector<platform::Cell>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (a[i].ch != b[i].ch || a[i].attribute != b[i].attribute) return false;
    return true;
}

// Fills the screen with varied characters and colours, so a restore shows.
inline void paint_pattern() {
    const platform::ConsoleInfo info = platform::console_info();
    for (int row = 0; row < info.buffer_rows; ++row) {
        std::vector<platform::Cell> line(static_cast<std::size_t>(info.buffer_columns));
        for (int column = 0; column < info.buffer_columns; ++column)
            line[static_cast<std::size_t>(column)] = {
                static_cast<char16_t>(u'A' + (row * 7 + column) % 26),
                static_cast<std::uint16_t>((row + column) % 256)};
        platform::console_write_cells(row, 0, line.data(), info.buffer_columns);
    }
}

// A temporary directory of its own, ending in a separator, removed afterwards.
struct TempDir {
    std::filesystem::path path;
    TempDir() {
        std::random_device random;
        path = std::filesystem::temp_directory_path() /
               ("zal_console_" + std::to_string(random()) + "_" + std::to_string(random()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    // The directory as the session gives it: ending in a separator.
    std::string dir() const { return path.string() + "/"; }
};

}  // namespace console_test

#endif  // _WIN32
