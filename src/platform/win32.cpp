// Win32 backend: the real Windows calls behind platform.h. Names, values and
// command lines cross as OEM bytes and become UTF-16 here with the process's
// OEM code page. A name holding a NUL byte is refused rather than cut short,
// so that no call ever reaches a file other than the one named, and only
// disk files are opened. The console is the process's own; without one every
// console primitive does nothing.
#include <windows.h>

#include <vector>

#include "platform/platform.h"

namespace platform {
namespace {

// The largest run handed to one ReadFile or WriteFile call.
constexpr std::size_t io_chunk = 1u << 30;

// OEM bytes as UTF-16 with the process's OEM code page.
std::wstring to_wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    int length = static_cast<int>(text.size());
    int units = MultiByteToWideChar(CP_OEMCP, 0, text.data(), length, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring out(static_cast<std::size_t>(units), L'\0');
    MultiByteToWideChar(CP_OEMCP, 0, text.data(), length, out.data(), units);
    return out;
}

// UTF-16 as OEM bytes; a character the code page lacks becomes "?".
std::string to_oem(const wchar_t* text, std::size_t size) {
    if (size == 0) return std::string();
    int length = static_cast<int>(size);
    const DWORD flags = WC_NO_BEST_FIT_CHARS;
    int bytes = WideCharToMultiByte(CP_OEMCP, flags, text, length, nullptr, 0, "?", nullptr);
    if (bytes <= 0) return std::string(size, '?');
    std::string out(static_cast<std::size_t>(bytes), '\0');
    WideCharToMultiByte(CP_OEMCP, flags, text, length, out.data(), bytes, "?", nullptr);
    return out;
}

// A name for a call into Windows; false when it holds a NUL byte, which
// Windows would take as its end.
bool to_wide_name(const std::string& name, std::wstring& wide) {
    if (name.find('\0') != std::string::npos) return false;
    wide = to_wide(name);
    return true;
}

HANDLE handle_of(FileHandle file) { return reinterpret_cast<HANDLE>(file); }

// Opens a disk file with the given access and disposition, shared for
// reading and writing. A device (CON, a pipe, a port) is refused: reading
// the console or a pipe could wait for ever.
FileHandle open_with(const std::string& path, DWORD access, DWORD disposition) {
    std::wstring wide;
    if (path.empty() || !to_wide_name(path, wide)) return no_file;
    HANDLE h = CreateFileW(wide.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return no_file;
    if (GetFileType(h) != FILE_TYPE_DISK) {
        CloseHandle(h);
        return no_file;
    }
    return reinterpret_cast<FileHandle>(h);
}

}  // namespace

// ---- Files -----------------------------------------------------------------

FileHandle open_shared_read(const std::string& path) {
    return open_with(path, GENERIC_READ, OPEN_EXISTING);
}

FileHandle create_shared_write(const std::string& path) {
    return open_with(path, GENERIC_WRITE, CREATE_ALWAYS);
}

FileHandle open_read_write(const std::string& path) {
    return open_with(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
}

std::int64_t read_file(FileHandle file, void* buffer, std::size_t size) {
    if (file == no_file) return -1;
    DWORD got = 0;
    DWORD want = static_cast<DWORD>(size < io_chunk ? size : io_chunk);
    if (!ReadFile(handle_of(file), buffer, want, &got, nullptr)) return -1;
    return got;
}

bool write_file(FileHandle file, const void* data, std::size_t size) {
    if (file == no_file) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        DWORD part = static_cast<DWORD>(size < io_chunk ? size : io_chunk);
        DWORD written = 0;
        if (!WriteFile(handle_of(file), p, part, &written, nullptr) || written != part)
            return false;
        p += part;
        size -= part;
    }
    return true;
}

bool seek_file(FileHandle file, std::int64_t offset) {
    if (file == no_file || offset < 0) return false;
    LARGE_INTEGER to;
    to.QuadPart = offset;
    return SetFilePointerEx(handle_of(file), to, nullptr, FILE_BEGIN) != 0;
}

std::int64_t file_size(FileHandle file) {
    LARGE_INTEGER size;
    if (file == no_file || !GetFileSizeEx(handle_of(file), &size)) return -1;
    return size.QuadPart;
}

bool set_file_end(FileHandle file) { return file != no_file && SetEndOfFile(handle_of(file)) != 0; }

void close_file(FileHandle file) {
    if (file != no_file) CloseHandle(handle_of(file));
}

bool delete_file(const std::string& path) {
    std::wstring wide;
    return !path.empty() && to_wide_name(path, wide) && DeleteFileW(wide.c_str()) != 0;
}

// ---- Directories -----------------------------------------------------------

bool create_directory(const std::string& path) {
    std::wstring wide;
    return !path.empty() && to_wide_name(path, wide) && CreateDirectoryW(wide.c_str(), nullptr);
}

bool find_first_entry(const std::string& pattern, DirEntry& entry) {
    std::wstring wide;
    if (pattern.empty() || !to_wide_name(pattern, wide)) return false;
    if (wide.back() == L'\\' || wide.back() == L':') wide += L'*';
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(wide.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return false;
    bool found = false;
    do {
        std::wstring name = data.cFileName;
        if (name == L"." || name == L"..") continue;
        entry.name = to_oem(name.data(), name.size());
        entry.attributes = data.dwFileAttributes;
        found = true;
    } while (!found && FindNextFileW(find, &data));
    FindClose(find);
    return found;
}

std::uint32_t file_attributes(const std::string& path) {
    std::wstring wide;
    if (path.empty() || !to_wide_name(path, wide)) return invalid_attributes;
    return GetFileAttributesW(wide.c_str());
}

// ---- Environment and clocks ------------------------------------------------

std::string get_env(const std::string& name) {
    std::wstring wide;
    if (name.empty() || !to_wide_name(name, wide)) return std::string();
    std::vector<wchar_t> value(256);
    for (;;) {
        DWORD size = static_cast<DWORD>(value.size());
        DWORD n = GetEnvironmentVariableW(wide.c_str(), value.data(), size);
        if (n == 0) return std::string();
        if (n < size) return to_oem(value.data(), n);
        value.resize(n);  // n is the size needed, its terminating NUL included
    }
}

UtcDateTime utc_now() {
    SYSTEMTIME t;
    GetSystemTime(&t);
    return {t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond};
}

LocalTimeOfDay local_time_of_day() {
    SYSTEMTIME t;
    GetLocalTime(&t);
    return {t.wHour, t.wMinute, t.wSecond, t.wMilliseconds};
}

// ---- OEM code page -------------------------------------------------------

// Every conversion names CP_OEMCP, the process's OEM code page, so there is
// nothing to choose here.
void select_oem_code_page() {}

std::u16string oem_to_utf16(const std::string& text) {
    std::wstring wide = to_wide(text);
    return std::u16string(wide.begin(), wide.end());
}

std::string utf16_to_oem(const std::u16string& text) {
    std::wstring wide(text.begin(), text.end());
    return to_oem(wide.data(), wide.size());
}

// ---- Processes -------------------------------------------------------------

std::int32_t run_process(const std::string& command_line) {
    std::wstring wide;
    if (command_line.empty() || !to_wide_name(command_line, wide)) return 0;
    // CreateProcessW may write into the command line: it gets a copy of its own.
    std::vector<wchar_t> line(wide.begin(), wide.end());
    line.push_back(L'\0');
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, NORMAL_PRIORITY_CLASS,
                        nullptr, nullptr, &startup, &process))
        return 0;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 0;
    if (!GetExitCodeProcess(process.hProcess, &code)) code = 0;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<std::int32_t>(code);
}

// ---- Console ---------------------------------------------------------------

namespace {

// The process's console output, found once; present is false without one.
struct ConsoleOutput {
    HANDLE handle = INVALID_HANDLE_VALUE;
    bool present = false;
};

// The console screen buffer of the process: CONOUT$, else the standard
// output when that is a console.
const ConsoleOutput& console_output() {
    static const ConsoleOutput output = [] {
        ConsoleOutput found;
        CONSOLE_SCREEN_BUFFER_INFO info;
        HANDLE h =
            CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(h, &info)) {
            found.handle = h;
        } else {
            if (h != INVALID_HANDLE_VALUE) CloseHandle(h);
            h = GetStdHandle(STD_OUTPUT_HANDLE);
            if (h != nullptr && h != INVALID_HANDLE_VALUE && GetConsoleScreenBufferInfo(h, &info))
                found.handle = h;
        }
        found.present = found.handle != INVALID_HANDLE_VALUE;
        return found;
    }();
    return output;
}

// Reports Ctrl+C, Ctrl+Break and the console's close as handled.
BOOL WINAPI ignore_break(DWORD event) {
    return event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT || event == CTRL_CLOSE_EVENT;
}

// A cell coordinate as a console COORD; false when it cannot be one.
bool to_coord(int row, int column, COORD& at) {
    if (row < 0 || row > 0x7FFF || column < 0 || column > 0x7FFF) return false;
    at.X = static_cast<SHORT>(column);
    at.Y = static_cast<SHORT>(row);
    return true;
}

// The rectangle of count cells on one row, from (row, column); false when
// it lies outside every console buffer.
bool row_run(int row, int column, int count, SMALL_RECT& region) {
    COORD at;
    if (count <= 0 || !to_coord(row, column, at) || count > 0x8000 - column) return false;
    region.Left = at.X;
    region.Top = at.Y;
    region.Right = static_cast<SHORT>(column + count - 1);
    region.Bottom = at.Y;
    return true;
}

}  // namespace

bool console_attach() {
    const ConsoleOutput& out = console_output();
    if (!out.present) return false;
    DWORD mode = 0;
    if (!GetConsoleMode(out.handle, &mode)) mode = 0;
    SetConsoleMode(out.handle, mode | ENABLE_PROCESSED_OUTPUT | ENABLE_WRAP_AT_EOL_OUTPUT);
    HANDLE in = CreateFileW(L"CONIN$", GENERIC_READ | GENERIC_WRITE,
                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (in != INVALID_HANDLE_VALUE) {
        SetConsoleMode(in, 0);
        CloseHandle(in);
    }
    SetConsoleCtrlHandler(ignore_break, TRUE);
    return true;
}

ConsoleInfo console_info() {
    const ConsoleOutput& out = console_output();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!out.present || !GetConsoleScreenBufferInfo(out.handle, &info)) return {};
    ConsoleInfo result;
    result.buffer_rows = info.dwSize.Y;
    result.buffer_columns = info.dwSize.X;
    result.window_rows = info.srWindow.Bottom - info.srWindow.Top + 1;
    result.window_columns = info.srWindow.Right - info.srWindow.Left + 1;
    result.cursor_row = info.dwCursorPosition.Y;
    result.cursor_column = info.dwCursorPosition.X;
    return result;
}

void console_set_cursor(int row, int column) {
    const ConsoleOutput& out = console_output();
    COORD at;
    if (out.present && to_coord(row, column, at)) SetConsoleCursorPosition(out.handle, at);
}

void console_set_attribute(std::uint16_t attribute) {
    const ConsoleOutput& out = console_output();
    if (out.present) SetConsoleTextAttribute(out.handle, attribute);
}

void console_write_cells(int row, int column, const Cell* cells, int count) {
    const ConsoleOutput& out = console_output();
    SMALL_RECT region;
    if (!out.present || !row_run(row, column, count, region)) return;
    std::vector<CHAR_INFO> run(static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) {
        run[static_cast<std::size_t>(i)].Char.UnicodeChar = static_cast<WCHAR>(cells[i].ch);
        run[static_cast<std::size_t>(i)].Attributes = cells[i].attribute;
    }
    WriteConsoleOutputW(out.handle, run.data(), COORD{static_cast<SHORT>(count), 1}, COORD{0, 0},
                        &region);
}

void console_read_cells(int row, int column, Cell* cells, int count) {
    for (int i = 0; i < count; ++i) cells[i] = Cell{};
    const ConsoleOutput& out = console_output();
    SMALL_RECT region;
    if (!out.present || !row_run(row, column, count, region)) return;
    CHAR_INFO blank;
    blank.Char.UnicodeChar = L' ';
    blank.Attributes = 7;
    std::vector<CHAR_INFO> run(static_cast<std::size_t>(count), blank);
    if (!ReadConsoleOutputW(out.handle, run.data(), COORD{static_cast<SHORT>(count), 1},
                            COORD{0, 0}, &region))
        return;
    for (int i = 0; i < count; ++i) {
        cells[i].ch = static_cast<char16_t>(run[static_cast<std::size_t>(i)].Char.UnicodeChar);
        cells[i].attribute = run[static_cast<std::size_t>(i)].Attributes;
    }
}

void console_scroll_up(std::uint16_t attribute) {
    const ConsoleOutput& out = console_output();
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (!out.present || !GetConsoleScreenBufferInfo(out.handle, &info)) return;
    if (info.dwSize.Y < 2) {  // the only row is the last one: blank it
        std::vector<Cell> blanks(static_cast<std::size_t>(info.dwSize.X), Cell{u' ', attribute});
        console_write_cells(0, 0, blanks.data(), info.dwSize.X);
        return;
    }
    // Rows 2 to the last move to row 1 and the last row, which they leave, is
    // filled. (A destination above the buffer, row -1, is ignored by wine.)
    SMALL_RECT below_first = {0, 1, static_cast<SHORT>(info.dwSize.X - 1),
                              static_cast<SHORT>(info.dwSize.Y - 1)};
    CHAR_INFO fill;
    fill.Char.UnicodeChar = L' ';
    fill.Attributes = attribute;
    ScrollConsoleScreenBufferW(out.handle, &below_first, nullptr, COORD{0, 0}, &fill);
}

}  // namespace platform
