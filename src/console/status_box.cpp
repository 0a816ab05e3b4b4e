// The status box: pages started and lines of the current page, in a framed
// box at rows 23-25, columns 34-48, over a saved screen region.
#include "console/status_box.h"

#include "console/window_stack.h"

namespace console {
namespace {

// Appends a number right-aligned in a field of width characters; a longer
// number is kept whole.
void append_right_aligned(std::string& out, std::int16_t value, std::size_t width) {
    char digits[8];
    std::size_t length = 0;
    unsigned magnitude =
        value < 0 ? 0u - static_cast<unsigned>(value) : static_cast<unsigned>(value);
    do {
        digits[length++] = static_cast<char>('0' + magnitude % 10);
        magnitude /= 10;
    } while (magnitude != 0);
    if (value < 0) digits[length++] = '-';
    if (length < width) out.append(width - length, ' ');
    while (length > 0) out += digits[--length];
}

}  // namespace

// The progress text: pages right-aligned in 5, " / ", lines right-aligned in 3.
std::string progress_text(std::int16_t pages, std::int16_t lines) {
    std::string text;
    append_right_aligned(text, pages, 5);
    text += " / ";
    append_right_aligned(text, lines, 3);
    return text;
}

// Saves the region under the box and draws the empty box with its caption.
void open_status_box(Console& console, const config::SessionContext& session) {
    push_window(console, session.temp_dir, 23, 34, 25, 48);
    set_colour(console, session.colours, "+rn");
    draw_frame(console, 1);
    locate_in_window(console, 0, 2);
    console_write(console, "  PAG / LIN");
    set_colour(console, session.colours, "-");
}

// Rewrites the progress text.
void show_progress(Console& console, std::int16_t pages, std::int16_t lines) {
    locate_in_window(console, 1, 2);
    console_write(console, progress_text(pages, lines));
}

// Restores the region, the cursor and the previous window.
void close_status_box(Console& console, const config::SessionContext& session) {
    pop_window(console, session.temp_dir);
}

}  // namespace console
