// The operating system behind one narrow interface. Every name, value and
// command line crosses it as a byte string in the OEM code page; UTF-16 exists
// only inside the backends (win32.cpp, posix.cpp). Nothing here holds policy:
// the suite's rules live in the portable subsystems that call these primitives.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// ---- Files -----------------------------------------------------------------

// An open file; no_file when an open failed.
using FileHandle = std::intptr_t;
constexpr FileHandle no_file = -1;

// Opens an existing file for reading, shared for reading and writing.
FileHandle open_shared_read(const std::string& path);
// Creates a file or truncates it to length 0, for writing, shared for reading and writing.
FileHandle create_shared_write(const std::string& path);
// Opens a file for reading and writing, creating it when missing, shared for reading and writing.
FileHandle open_read_write(const std::string& path);
// Reads up to size bytes at the file position; the count read, 0 at the end, -1 on error.
std::int64_t read_file(FileHandle file, void* buffer, std::size_t size);
// Writes size bytes at the file position; false when not all of them were written.
bool write_file(FileHandle file, const void* data, std::size_t size);
// Moves the file position to a 0-based offset from the start.
bool seek_file(FileHandle file, std::int64_t offset);
// The file's length in bytes, -1 on error.
std::int64_t file_size(FileHandle file);
// Makes the file end at the current file position.
bool set_file_end(FileHandle file);
// Closes the file; no_file is ignored.
void close_file(FileHandle file);
// Deletes a file.
bool delete_file(const std::string& path);

// ---- Directories -----------------------------------------------------------

constexpr std::uint32_t attr_read_only = 0x01;
constexpr std::uint32_t attr_hidden = 0x02;
constexpr std::uint32_t attr_system = 0x04;
constexpr std::uint32_t attr_volume_label = 0x08;
constexpr std::uint32_t attr_directory = 0x10;
constexpr std::uint32_t attr_archive = 0x20;
constexpr std::uint32_t attr_normal = 0x80;
constexpr std::uint32_t invalid_attributes = 0xFFFFFFFFu;

// One directory entry found by find_first_entry.
struct DirEntry {
    std::string name;  // the entry's own name, no directory part
    std::uint32_t attributes = 0;
};

// Creates one directory; false when it could not be created (it may exist).
bool create_directory(const std::string& path);
// Finds the first entry other than "." and ".." that matches the pattern:
// "*" and "?" may stand in the last component; a pattern ending in "\" or ":"
// matches every entry of that directory.
bool find_first_entry(const std::string& pattern, DirEntry& entry);
// The attribute bits of a path, invalid_attributes when they cannot be read.
std::uint32_t file_attributes(const std::string& path);

// ---- Environment and clocks ------------------------------------------------

// The value of an environment variable; empty when it is unset.
std::string get_env(const std::string& name);

// A Greenwich (UTC) calendar date and time.
struct UtcDateTime {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
// The local time of day.
struct LocalTimeOfDay {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

// The system clock in Greenwich time.
UtcDateTime utc_now();
// The local time of day, with milliseconds.
LocalTimeOfDay local_time_of_day();

// ---- OEM code page -------------------------------------------------------

// Selects the system's OEM code page for every later conversion.
void select_oem_code_page();
// Converts OEM bytes to UTF-16, one unit per byte for a single-byte code page.
std::u16string oem_to_utf16(const std::string& text);
// Converts UTF-16 to OEM bytes; a character outside the code page becomes "?".
std::string utf16_to_oem(const std::u16string& text);

// ---- Processes -------------------------------------------------------------

// Starts a command line (its first word found by the usual program search),
// shown normally, and waits without limit; its exit code, 0 when it cannot start.
std::int32_t run_process(const std::string& command_line);

// ---- Console ---------------------------------------------------------------
// Coordinates here are 0-based cells of the screen buffer. When the process
// has no console every primitive does nothing and console_info reports 0 sizes.

// One console cell: a UTF-16 character and its attribute word.
struct Cell {
    char16_t ch = u' ';
    std::uint16_t attribute = 7;
};

// Sizes of the screen buffer and of its visible window, and the cursor.
struct ConsoleInfo {
    int buffer_rows = 0, buffer_columns = 0;
    int window_rows = 0, window_columns = 0;
    int cursor_row = 0, cursor_column = 0;
};

// Attaches to the process's console for the run: output modes on, input
// modes off, Ctrl+C, Ctrl+Break and close reported as handled. False when
// there is no console.
bool console_attach();
// Reads the sizes and the cursor; all 0 without a console.
ConsoleInfo console_info();
// Moves the cursor.
void console_set_cursor(int row, int column);
// Sets the attribute that the console uses for text written after the run.
void console_set_attribute(std::uint16_t attribute);
// Writes count cells on one row, starting at (row, column); the run must fit the row.
void console_write_cells(int row, int column, const Cell* cells, int count);
// Reads count cells of one row, starting at (row, column), into cells.
void console_read_cells(int row, int column, Cell* cells, int count);
// Scrolls the whole buffer up one row; the new last row is blanks in attribute.
void console_scroll_up(std::uint16_t attribute);

#ifndef _WIN32
// The in-memory console of the POSIX build: replaces it by a fresh one of
// rows x columns blank cells in attribute 7, cursor at (0, 0); 0 x 0 means
// the process has no console.
void memory_console_reset(int rows, int columns);
#endif

}  // namespace platform
