// The window stack in WinPush.tmp: a 4-byte little-endian end position, then
// one record per saved window, oldest first. A record holds ten two-digit
// fields (cursor, previous window, saved window), two bytes per saved cell
// (OEM character, attribute) and its own five-digit length. The file is shared
// with the suite's other programs, so a record that does not hold together is
// never trusted: nothing is read or written outside the file and the records
// below the top one are never touched.
#include "console/window_stack.h"

#include <cstdint>
#include <limits>

#include "platform/platform.h"

namespace console {
namespace {

constexpr const char* stack_file_name = "WinPush.tmp";
constexpr std::int64_t header_size = 4;
constexpr std::int64_t field_bytes = 20;  // ten two-digit fields
constexpr std::int64_t length_bytes = 5;  // the record_length field
constexpr std::int32_t empty_end = 5;     // end_position of an empty stack
constexpr int largest_corner = 99;        // a two-digit field holds 0-99

// The fields of a record read back from the file.
struct WindowRecord {
    std::int32_t start = 0;  // 1-based position of the record's first byte
    int cursor_row = 0, cursor_column = 0;
    int previous[4] = {0, 0, 0, 0};  // top, left, bottom, right
    int top = 0, left = 0, bottom = 0, right = 0;
    std::string cells;  // character byte, attribute byte, row by row
};

// Reads exactly size bytes at a 0-based offset; false on any shortfall.
bool read_at(platform::FileHandle file, std::int64_t offset, std::size_t size, std::string& out) {
    out.assign(size, '\0');
    if (!platform::seek_file(file, offset)) return false;
    std::size_t done = 0;
    while (done < size) {
        const std::int64_t n = platform::read_file(file, &out[done], size - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Writes the bytes at a 0-based offset; false when not all were written.
bool write_at(platform::FileHandle file, std::int64_t offset, const std::string& bytes) {
    return platform::seek_file(file, offset) &&
           platform::write_file(file, bytes.data(), bytes.size());
}

// The decimal value of count ASCII digits at pos; false when one is not a digit.
bool digits_at(const std::string& text, std::size_t pos, std::size_t count, int& value) {
    value = 0;
    for (std::size_t i = pos; i < pos + count; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

// Reads end_position from the header of a file longer than 3 bytes.
bool read_end_position(platform::FileHandle file, std::int32_t& end) {
    std::string bytes;
    if (!read_at(file, 0, header_size, bytes)) return false;
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = value << 8 | static_cast<unsigned char>(bytes[static_cast<std::size_t>(i)]);
    end = static_cast<std::int32_t>(value);
    return true;
}

// The 4 header bytes holding end_position.
std::string end_position_bytes(std::int32_t end) {
    const auto value = static_cast<std::uint32_t>(end);
    std::string bytes(4, '\0');
    for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    return bytes;
}

// Reads the topmost record ending before position end, in one read once its
// length is known. False unless the record lies wholly inside the file behind
// the header, its fields are digits, and its length agrees with its corners.
bool read_top_record(platform::FileHandle file, std::int64_t file_length, std::int32_t end,
                     WindowRecord& record) {
    const std::int64_t end_offset = static_cast<std::int64_t>(end) - 1;  // first byte behind
    if (end_offset > file_length || end_offset < header_size + field_bytes + 2 + length_bytes)
        return false;
    std::string length_field;
    int length = 0;
    if (!read_at(file, end_offset - length_bytes, length_bytes, length_field) ||
        !digits_at(length_field, 0, length_bytes, length))
        return false;
    const std::int64_t start_offset = end_offset - length;
    if (start_offset < header_size) return false;
    std::string bytes;
    if (!read_at(file, start_offset, static_cast<std::size_t>(length), bytes)) return false;
    int fields[10];
    for (std::size_t i = 0; i < 10; ++i)
        if (!digits_at(bytes, 2 * i, 2, fields[i])) return false;
    record.start = static_cast<std::int32_t>(start_offset + 1);
    record.cursor_row = fields[0];
    record.cursor_column = fields[1];
    for (int i = 0; i < 4; ++i) record.previous[i] = fields[2 + i];
    record.top = fields[6];
    record.left = fields[7];
    record.bottom = fields[8];
    record.right = fields[9];
    const long long rows = record.bottom - record.top + 1;
    const long long columns = record.right - record.left + 1;
    if (rows < 1 || columns < 1 || length != field_bytes + length_bytes + 2 * rows * columns)
        return false;
    record.cells = bytes.substr(field_bytes, static_cast<std::size_t>(2 * rows * columns));
    return true;
}

// Where the cursor stands after a write of one character into (row, column).
void place_behind_cell(Console& console, int row, int column) {
    const ScreenState& s = console.screen;
    if (row < 1 || row > s.buffer_rows || column < 1 || column > s.buffer_columns) return;
    if (column < s.buffer_columns)
        console_place_cursor(console, row, column + 1);
    else if (row < s.buffer_rows)
        console_place_cursor(console, row + 1, 1);
    else
        console_place_cursor(console, row, 1);
}

// Writes a record's cells back where they were saved, row by row, and leaves
// the cursor and colour as restoring them cell by cell would.
void restore_cells(Console& console, const WindowRecord& record) {
    const int columns = record.right - record.left + 1;
    std::vector<ScreenCell> row_cells(static_cast<std::size_t>(columns));
    std::size_t next = 0;
    for (int row = record.top; row <= record.bottom; ++row) {
        for (ScreenCell& cell : row_cells) {
            const std::u16string unit = platform::oem_to_utf16(record.cells.substr(next, 1));
            cell.ch = unit.empty() ? u'?' : unit[0];
            cell.attribute = static_cast<unsigned char>(record.cells[next + 1]);
            next += 2;
        }
        console_put_row(console, row, record.left, row_cells);
    }
    const int attribute = row_cells.back().attribute;
    console_set_colour(console, attribute % 16, attribute / 16);
    place_behind_cell(console, record.bottom, record.right);
}

// The character byte of a cell as the file keeps it: the first OEM byte.
char oem_cell_byte(char16_t ch) {
    const std::string bytes = platform::utf16_to_oem(std::u16string(1, ch));
    return bytes.empty() ? '?' : bytes[0];
}

// The record of a push: cursor, previous window, new window, cells, length.
std::string build_record(Console& console, int top, int left, int bottom, int right) {
    const ActiveWindow& w = console.window;
    std::string record;
    for (long long value : {static_cast<long long>(console_cursor_row(console)),
                            static_cast<long long>(console_cursor_column(console)),
                            static_cast<long long>(w.top), static_cast<long long>(w.left),
                            static_cast<long long>(w.bottom), static_cast<long long>(w.right),
                            static_cast<long long>(top), static_cast<long long>(left),
                            static_cast<long long>(bottom), static_cast<long long>(right)})
        record += zero_padded(value, 2);
    const int columns = right - left + 1;
    for (int row = top; row <= bottom; ++row) {
        for (const ScreenCell& cell : console_read_row(console, row, left, columns)) {
            record += oem_cell_byte(cell.ch);
            record += static_cast<char>(cell.attribute & 0xFF);
        }
    }
    record += zero_padded(static_cast<long long>(record.size()) + length_bytes, 5);
    return record;
}

// Pops the topmost record of this run, if the file holds one that can be trusted.
void pop_top_record(Console& console, const std::string& path) {
    const platform::FileHandle file = platform::open_read_write(path);
    if (file == platform::no_file) return;
    const std::int64_t file_length = platform::file_size(file);
    if (file_length >= 0 && file_length <= 3) {
        // No header: nothing to restore, and no file is left behind.
        platform::close_file(file);
        platform::delete_file(path);
        return;
    }
    std::int32_t end = 0;
    WindowRecord record;
    if (file_length < 0 || !read_end_position(file, end)) {
        platform::close_file(file);
        return;
    }
    if (end == empty_end) {
        platform::close_file(file);
        platform::delete_file(path);
        return;
    }
    if (!read_top_record(file, file_length, end, record)) {
        // A damaged stack is left exactly as it is.
        platform::close_file(file);
        return;
    }
    ActiveWindow& w = console.window;
    --w.open_count;
    w.top = static_cast<std::int16_t>(record.previous[0]);
    w.left = static_cast<std::int16_t>(record.previous[1]);
    w.bottom = static_cast<std::int16_t>(record.previous[2]);
    w.right = static_cast<std::int16_t>(record.previous[3]);
    restore_cells(console, record);
    console_place_cursor(console, record.cursor_row, record.cursor_column);
    write_at(file, 0, end_position_bytes(record.start));
    platform::close_file(file);
    if (record.start < 6) platform::delete_file(path);
}

}  // namespace

// A whole number as exactly width decimal digits, without sign, zero-padded.
std::string zero_padded(long long value, int width) {
    if (width <= 0) return {};
    unsigned long long magnitude = value < 0 ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    std::string digits =
        std::string(static_cast<std::size_t>(width), '0') + std::to_string(magnitude);
    return digits.substr(digits.size() - static_cast<std::size_t>(width));
}

// Saves a screen region and the cursor as the top record and makes it the active window.
void push_window(Console& console, const std::string& temp_dir, int top, int left, int bottom,
                 int right) {
    const int rows = console_rows(console);
    const int columns = console_columns(console);
    if (top < 1 || top > rows || left < 1 || left > columns || bottom < 1 || bottom > rows ||
        right < 1 || right > columns)
        return;
    // A window the record cannot describe would never pop again and would
    // block the stack for every later push: it is refused like a corner off
    // the console.
    if (top > bottom || left > right || bottom > largest_corner || right > largest_corner) return;

    const std::string path = temp_dir + stack_file_name;
    const platform::FileHandle file = platform::open_read_write(path);
    const std::int64_t file_length = platform::file_size(file);
    std::int32_t end = empty_end;
    bool writable = file != platform::no_file && file_length >= 0;
    if (writable && file_length > 3) {
        WindowRecord top_record;
        writable = read_end_position(file, end) &&
                   (end == empty_end || read_top_record(file, file_length, end, top_record));
    }
    const std::string record = build_record(console, top, left, bottom, right);
    const std::int64_t new_end =
        static_cast<std::int64_t>(end) + static_cast<std::int64_t>(record.size());
    if (new_end > std::numeric_limits<std::int32_t>::max()) writable = false;

    ActiveWindow& w = console.window;
    w.top = static_cast<std::int16_t>(top);
    w.left = static_cast<std::int16_t>(left);
    w.bottom = static_cast<std::int16_t>(bottom);
    w.right = static_cast<std::int16_t>(right);
    if (w.open_count < std::numeric_limits<std::int16_t>::max()) ++w.open_count;

    if (writable && write_at(file, end - 1, record))
        write_at(file, 0, end_position_bytes(static_cast<std::int32_t>(new_end)));
    platform::close_file(file);
}

// Restores the top record pushed by this run and makes the previous window active.
void pop_window(Console& console, const std::string& temp_dir) {
    if (console.window.open_count > 0) pop_top_record(console, temp_dir + stack_file_name);
    console_flush(console);
}

}  // namespace console
