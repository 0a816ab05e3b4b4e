// Cursor placement in the active window, the console's size and the frames
// drawn on the active window's border.
#include "console/console.h"

namespace console {
namespace {

// The six characters of a frame style: corners, then horizontal and vertical.
struct FrameChars {
    char top_left, top_right, bottom_left, bottom_right, horizontal, vertical;
};

// The characters of a frame style; an unknown style draws code 0 everywhere.
FrameChars frame_chars(int style) {
    switch (style) {
        case 0:
            return {' ', ' ', ' ', ' ', ' ', ' '};
        case 1:
            return {'\xDA', '\xBF', '\xC0', '\xD9', '\xC4', '\xB3'};
        case 2:
            return {'\xC9', '\xBB', '\xC8', '\xBC', '\xCD', '\xBA'};
        default:
            return {'\0', '\0', '\0', '\0', '\0', '\0'};
    }
}

// A frame row: the first character, count times the filler, the last character.
std::string frame_row(char first, char filler, int count, char last) {
    std::string row(1, first);
    if (count > 0) row.append(static_cast<std::size_t>(count), filler);
    row += last;
    return row;
}

}  // namespace

// Places the cursor relative to the active window, or absolutely without one.
void locate_in_window(Console& console, int row_offset, int column_offset) {
    const ActiveWindow& w = console.window;
    if (w.open_count != 0)
        console_place_cursor(console, w.top + row_offset, w.left + column_offset);
    else
        console_place_cursor(console, row_offset, column_offset);
}

// Height of the visible console window.
std::int16_t console_rows(const Console& console) { return console_window_size(console).rows; }

// Width of the visible console window.
std::int16_t console_columns(const Console& console) {
    return console_window_size(console).columns;
}

// Draws a frame (0 blank, 1 single, 2 double line) on the active window's border.
void draw_frame(Console& console, int style) {
    const ActiveWindow& w = console.window;
    if (w.open_count == 0) return;
    const FrameChars c = frame_chars(style);
    const int inner = w.right - w.left - 1;
    // Each edge is one write: the same cells, cursor and scrolling as writing
    // its characters one by one.
    console_place_cursor(console, w.top, w.left);
    console_write(console, frame_row(c.top_left, c.horizontal, inner, c.top_right));
    for (int row = w.top + 1; row <= w.bottom - 1; ++row) {
        console_place_cursor(console, row, w.left);
        console_write(console, frame_row(c.vertical, ' ', inner, c.vertical));
    }
    console_place_cursor(console, w.bottom, w.left);
    console_write(console, frame_row(c.bottom_left, c.horizontal, inner, c.bottom_right));
}

}  // namespace console
