// The console vocabulary: the primitives through which every character
// reaches the screen (cursor, colour, writing with wrap and the pending
// scroll, reading cells), colours chosen by attribute letters, cursor
// placement in the active window and framed boxes. The rules live here, once,
// over the raw cell primitives of the platform layer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/session.h"
#include "platform/platform.h"

namespace console {

// What the run knows of the console: its sizes, the cursor as the system
// sees it, the current output colour. The cursor and the colour are kept in
// memory and reach the console when console_flush says so.
struct ScreenState {
    bool attached = false;  // the process has a console
    int buffer_rows = 0, buffer_columns = 0;
    int window_rows = 0, window_columns = 0;
    int cursor_row = 1, cursor_column = 1;  // 1-based
    bool pending_scroll = false;            // a write ended in the buffer's last cell
    bool cursor_dirty = false;              // the console's cursor is not at cursor_row/column yet
    std::uint16_t attribute = 7;            // current output colour: background * 16 + foreground
    bool attribute_dirty = false;
    std::u16string oem_units;         // each OEM byte as UTF-16; empty for a multi-byte code page
    std::vector<platform::Cell> run;  // the cells of one write, kept for the next one
};

// The colour index last applied by set_colour and the stack of earlier ones.
struct ColourState {
    std::int16_t colour_index = 0;
    std::string colour_stack;  // one byte per pushed index, top last
};

// The corners of the active window and the count of windows this run opened.
struct ActiveWindow {
    std::int16_t top = 0, left = 0, bottom = 0, right = 0;
    std::int16_t open_count = 0;
};

struct Console {
    ScreenState screen;
    ColourState colours;
    ActiveWindow window;
};

struct WindowSize {
    std::int16_t rows = 0, columns = 0;
};

// One cell as read back from the console: a UTF-16 unit and its attribute word.
struct ScreenCell {
    char16_t ch = u' ';
    std::uint16_t attribute = 7;
};

// ---- Primitives --------------------------------------------------------------

// Attaches to the process's console and reads its sizes and cursor.
void console_open(Console& console);
// Puts the remembered cursor and colour on the console.
void console_flush(Console& console);
// Moves the cursor; a coordinate off the buffer keeps that coordinate.
void console_place_cursor(Console& console, int row, int column);
// Sets the output colour; a value outside 0-15 keeps that component.
void console_set_colour(Console& console, int foreground, int background);
// Writes OEM text at the cursor, wrapping at the row's end, scrolling at the buffer's end.
void console_write(Console& console, const std::string& text);
// Writes count blanks as console_write would.
void console_write_blanks(Console& console, int count);
// The character of a cell as a UTF-16 unit.
char16_t console_read_char(Console& console, int row, int column);
// The attribute word of a cell.
std::uint16_t console_read_attribute(Console& console, int row, int column);
// Reads count cells of one row from (row, column) in one call; cells off the
// buffer read as blanks in colour 7.
std::vector<ScreenCell> console_read_row(Console& console, int row, int column, int count);
// Writes cells at (row, column) of one row as they are, clipped to the buffer,
// without moving the cursor or touching the current colour.
void console_put_row(Console& console, int row, int column, const std::vector<ScreenCell>& cells);
// The cursor's 1-based row.
int console_cursor_row(const Console& console);
// The cursor's 1-based column.
int console_cursor_column(const Console& console);
// Height and width of the visible console window.
WindowSize console_window_size(const Console& console);

// ---- Colours, placement, frames -------------------------------------------

// Applies a colour chosen by attribute letters: "+" push, "-" pop, "U", "R", "N".
void set_colour(Console& console, const config::ColourTable& colours,
                const std::string& attributes);
// True when every byte of text equals code, or text is empty.
bool is_all_one_char(const std::string& text, int code);
// Places the cursor relative to the active window, or absolutely without one.
void locate_in_window(Console& console, int row_offset, int column_offset);
// Height of the visible console window.
std::int16_t console_rows(const Console& console);
// Width of the visible console window.
std::int16_t console_columns(const Console& console);
// Draws a frame (0 blank, 1 single, 2 double line) on the active window's border.
void draw_frame(Console& console, int style);

}  // namespace console
