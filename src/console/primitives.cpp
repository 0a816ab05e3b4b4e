// The console primitives: every character of the system reaches the screen
// here. The cursor and the current colour live in ScreenState and reach the
// console only in console_flush; cells go out as one call per row run.
#include <algorithm>

#include "console/console.h"
#include "platform/platform.h"

namespace console {
namespace {

// True when the run has a console with cells to draw on.
bool usable(const Console& console) {
    const ScreenState& s = console.screen;
    return s.attached && s.buffer_rows > 0 && s.buffer_columns > 0;
}

// Keeps a reported cursor coordinate inside 1..size.
int clamp_coordinate(int value, int size) { return std::min(std::max(value, 1), size); }

}  // namespace

// Attaches to the process's console and reads its sizes and cursor.
void console_open(Console& console) {
    ScreenState& s = console.screen;
    s = ScreenState{};
    if (!platform::console_attach()) return;
    const platform::ConsoleInfo info = platform::console_info();
    if (info.buffer_rows <= 0 || info.buffer_columns <= 0) return;
    s.attached = true;
    s.buffer_rows = info.buffer_rows;
    s.buffer_columns = info.buffer_columns;
    s.window_rows = std::max(info.window_rows, 0);
    s.window_columns = std::max(info.window_columns, 0);
    s.cursor_row = clamp_coordinate(info.cursor_row + 1, s.buffer_rows);
    s.cursor_column = clamp_coordinate(info.cursor_column + 1, s.buffer_columns);
    // A single-byte code page converts byte by byte: keep its table for the writes.
    std::string every_byte(256, '\0');
    for (int b = 0; b < 256; ++b) every_byte[static_cast<std::size_t>(b)] = static_cast<char>(b);
    s.oem_units = platform::oem_to_utf16(every_byte);
    if (s.oem_units.size() != 256) s.oem_units.clear();
}

// Puts the remembered cursor and colour on the console.
void console_flush(Console& console) {
    if (!usable(console)) return;
    ScreenState& s = console.screen;
    if (s.cursor_dirty) platform::console_set_cursor(s.cursor_row - 1, s.cursor_column - 1);
    if (s.attribute_dirty) platform::console_set_attribute(s.attribute);
    s.cursor_dirty = false;
    s.attribute_dirty = false;
}

// Moves the cursor; a coordinate off the buffer keeps that coordinate.
void console_place_cursor(Console& console, int row, int column) {
    if (!usable(console)) return;
    ScreenState& s = console.screen;
    if (row >= 1 && row <= s.buffer_rows) s.cursor_row = row;
    if (column >= 1 && column <= s.buffer_columns) s.cursor_column = column;
    s.pending_scroll = false;
    s.cursor_dirty = true;
}

// Sets the output colour; a value outside 0-15 keeps that component.
void console_set_colour(Console& console, int foreground, int background) {
    if (!usable(console)) return;
    ScreenState& s = console.screen;
    int fg = s.attribute & 0x0F;
    int bg = (s.attribute >> 4) & 0x0F;
    if (foreground >= 0 && foreground <= 15) fg = foreground;
    if (background >= 0 && background <= 15) bg = background;
    s.attribute = static_cast<std::uint16_t>(bg * 16 + fg);
    s.attribute_dirty = true;
}

// Writes OEM text at the cursor, wrapping at the row's end, scrolling at the buffer's end.
void console_write(Console& console, const std::string& text) {
    if (!usable(console) || text.empty()) return;
    ScreenState& s = console.screen;
    const bool by_table = !s.oem_units.empty();
    const std::u16string converted = by_table ? std::u16string() : platform::oem_to_utf16(text);
    const std::size_t total = by_table ? text.size() : converted.size();
    std::vector<platform::Cell>& run = s.run;
    std::size_t next = 0;
    while (next < total) {
        if (s.pending_scroll) {
            // The previous write filled the buffer's last cell: make room first.
            platform::console_scroll_up(s.attribute);
            s.pending_scroll = false;
        }
        const std::size_t room = static_cast<std::size_t>(s.buffer_columns - s.cursor_column + 1);
        const std::size_t count = std::min(room, total - next);
        if (run.size() < count) run.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            const char16_t unit = by_table ? s.oem_units[static_cast<unsigned char>(text[next + i])]
                                           : converted[next + i];
            run[i] = platform::Cell{unit, s.attribute};
        }
        platform::console_write_cells(s.cursor_row - 1, s.cursor_column - 1, run.data(),
                                      static_cast<int>(count));
        next += count;
        s.cursor_column += static_cast<int>(count);
        if (s.cursor_column > s.buffer_columns) {
            s.cursor_column = 1;
            if (s.cursor_row < s.buffer_rows)
                ++s.cursor_row;
            else
                s.pending_scroll = true;
        }
    }
    s.cursor_dirty = true;
}

// Writes count blanks as console_write would.
void console_write_blanks(Console& console, int count) {
    if (count < 1 || !usable(console)) return;
    console_write(console, std::string(static_cast<std::size_t>(count), ' '));
}

// Reads count cells of one row from (row, column) in one call; cells off the
// buffer read as blanks in colour 7.
std::vector<ScreenCell> console_read_row(Console& console, int row, int column, int count) {
    std::vector<ScreenCell> cells(static_cast<std::size_t>(std::max(count, 0)));
    if (!usable(console) || count < 1) return cells;
    const ScreenState& s = console.screen;
    if (row < 1 || row > s.buffer_rows) return cells;
    const int first = std::max(column, 1);
    const long long wanted_last = static_cast<long long>(column) + count - 1;
    const int last = static_cast<int>(std::min<long long>(wanted_last, s.buffer_columns));
    if (first > last) return cells;
    std::vector<platform::Cell> raw(static_cast<std::size_t>(last - first + 1));
    platform::console_read_cells(row - 1, first - 1, raw.data(), static_cast<int>(raw.size()));
    for (std::size_t i = 0; i < raw.size(); ++i)
        cells[static_cast<std::size_t>(first - column) + i] =
            ScreenCell{raw[i].ch, raw[i].attribute};
    return cells;
}

// Writes cells at (row, column) of one row as they are, clipped to the buffer,
// without moving the cursor or touching the current colour.
void console_put_row(Console& console, int row, int column, const std::vector<ScreenCell>& cells) {
    if (!usable(console) || cells.empty()) return;
    const ScreenState& s = console.screen;
    if (row < 1 || row > s.buffer_rows) return;
    const long long wanted_last =
        static_cast<long long>(column) + static_cast<long long>(cells.size()) - 1;
    const int first = std::max(column, 1);
    const int last = static_cast<int>(std::min<long long>(wanted_last, s.buffer_columns));
    if (first > last) return;
    std::vector<platform::Cell> raw(static_cast<std::size_t>(last - first + 1));
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const ScreenCell& cell = cells[static_cast<std::size_t>(first - column) + i];
        raw[i] = platform::Cell{cell.ch, cell.attribute};
    }
    platform::console_write_cells(row - 1, first - 1, raw.data(), static_cast<int>(raw.size()));
}

// The character of a cell as a UTF-16 unit.
char16_t console_read_char(Console& console, int row, int column) {
    return console_read_row(console, row, column, 1)[0].ch;
}

// The attribute word of a cell.
std::uint16_t console_read_attribute(Console& console, int row, int column) {
    return console_read_row(console, row, column, 1)[0].attribute;
}

// The cursor's 1-based row.
int console_cursor_row(const Console& console) { return console.screen.cursor_row; }

// The cursor's 1-based column.
int console_cursor_column(const Console& console) { return console.screen.cursor_column; }

// Height and width of the visible console window.
WindowSize console_window_size(const Console& console) {
    if (!usable(console)) return {};
    const auto limit = [](int value) { return static_cast<std::int16_t>(std::min(value, 32767)); };
    return {limit(console.screen.window_rows), limit(console.screen.window_columns)};
}

}  // namespace console
