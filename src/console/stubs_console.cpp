// Placeholder bodies until the subsystem lands.
#include "console/console.h"
#include "console/status_box.h"
#include "console/window_stack.h"

namespace console {
void console_open(Console&) {}
void console_flush(Console&) {}
void console_place_cursor(Console&, int, int) {}
void console_set_colour(Console&, int, int) {}
void console_write(Console&, const std::string&) {}
void console_write_blanks(Console&, int) {}
char16_t console_read_char(Console&, int, int) { return u' '; }
std::uint16_t console_read_attribute(Console&, int, int) { return 7; }
int console_cursor_row(const Console& c) { return c.screen.cursor_row; }
int console_cursor_column(const Console& c) { return c.screen.cursor_column; }
WindowSize console_window_size(const Console&) { return {}; }
void set_colour(Console&, const config::ColourTable&, const std::string&) {}
bool is_all_one_char(const std::string&, int) { return true; }
void locate_in_window(Console&, int, int) {}
std::int16_t console_rows(const Console&) { return 0; }
std::int16_t console_columns(const Console&) { return 0; }
void draw_frame(Console&, int) {}
std::string zero_padded(long long, int) { return {}; }
void push_window(Console&, const std::string&, int, int, int, int) {}
void pop_window(Console&, const std::string&) {}
std::string progress_text(std::int16_t, std::int16_t) { return {}; }
void open_status_box(Console&, const config::SessionContext&) {}
void show_progress(Console&, std::int16_t, std::int16_t) {}
void close_status_box(Console&, const config::SessionContext&) {}
}  // namespace console
