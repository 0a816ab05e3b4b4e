// POSIX backend: behaves as the suite expects of Windows, so that the native
// program and its tests mean something. The OEM code page is CP858; names and
// environment values are UTF-8 on this side. "\" in a path is "/"; a file
// whose exact name is missing is looked up case-insensitively in its
// directory; a file without the owner's write permission is read-only. POSIX
// has no hidden or system attributes: they are never reported as set. The
// console is an in-memory screen of 80 x 25 cells.
#include <dirent.h>
#include <fcntl.h>
#include <fnmatch.h>
#include <signal.h>
#include <spawn.h>
#include <strings.h>
#include <sys/stat.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <vector>

#include "platform/platform.h"

extern char** environ;

namespace platform {
namespace {

// The Unicode value of each CP858 byte 0x80-0xFF.
constexpr char16_t cp858_high[128] = {
    0x00C7, 0x00FC, 0x00E9, 0x00E2, 0x00E4, 0x00E0, 0x00E5, 0x00E7, 0x00EA, 0x00EB, 0x00E8, 0x00EF,
    0x00EE, 0x00EC, 0x00C4, 0x00C5, 0x00C9, 0x00E6, 0x00C6, 0x00F4, 0x00F6, 0x00F2, 0x00FB, 0x00F9,
    0x00FF, 0x00D6, 0x00DC, 0x00F8, 0x00A3, 0x00D8, 0x00D7, 0x0192, 0x00E1, 0x00ED, 0x00F3, 0x00FA,
    0x00F1, 0x00D1, 0x00AA, 0x00BA, 0x00BF, 0x00AE, 0x00AC, 0x00BD, 0x00BC, 0x00A1, 0x00AB, 0x00BB,
    0x2591, 0x2592, 0x2593, 0x2502, 0x2524, 0x00C1, 0x00C2, 0x00C0, 0x00A9, 0x2563, 0x2551, 0x2557,
    0x255D, 0x00A2, 0x00A5, 0x2510, 0x2514, 0x2534, 0x252C, 0x251C, 0x2500, 0x253C, 0x00E3, 0x00C3,
    0x255A, 0x2554, 0x2569, 0x2566, 0x2560, 0x2550, 0x256C, 0x00A4, 0x00F0, 0x00D0, 0x00CA, 0x00CB,
    0x00C8, 0x20AC, 0x00CD, 0x00CE, 0x00CF, 0x2518, 0x250C, 0x2588, 0x2584, 0x00A6, 0x00CC, 0x2580,
    0x00D3, 0x00DF, 0x00D4, 0x00D2, 0x00F5, 0x00D5, 0x00B5, 0x00FE, 0x00DE, 0x00DA, 0x00DB, 0x00D9,
    0x00FD, 0x00DD, 0x00AF, 0x00B4, 0x00AD, 0x00B1, 0x2017, 0x00BE, 0x00B6, 0x00A7, 0x00F7, 0x00B8,
    0x00B0, 0x00A8, 0x00B7, 0x00B9, 0x00B3, 0x00B2, 0x25A0, 0x00A0,
};

// The CP858 byte of a UTF-16 unit, "?" when the code page lacks it.
char oem_byte(char16_t unit) {
    if (unit < 0x80) return static_cast<char>(unit);
    for (int i = 0; i < 128; ++i)
        if (cp858_high[i] == unit) return static_cast<char>(0x80 + i);
    return '?';
}

// Appends the UTF-8 form of one UTF-16 unit (a BMP character).
void append_utf8(std::string& out, char32_t u) {
    if (u < 0x80) {
        out += static_cast<char>(u);
    } else if (u < 0x800) {
        out += static_cast<char>(0xC0 | (u >> 6));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else if (u < 0x10000) {
        out += static_cast<char>(0xE0 | (u >> 12));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (u >> 18));
        out += static_cast<char>(0x80 | ((u >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((u >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (u & 0x3F));
    }
}

// OEM bytes as UTF-8 for the POSIX side.
std::string oem_to_utf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (unsigned char b : text) append_utf8(out, b < 0x80 ? b : cp858_high[b - 0x80]);
    return out;
}

// UTF-8 from the POSIX side as OEM bytes; what CP858 lacks becomes "?".
std::string utf8_to_oem(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        int extra = b >= 0xF0 ? 3 : b >= 0xE0 ? 2 : b >= 0xC0 ? 1 : 0;
        char32_t u = extra == 0 ? b : b & (0x3F >> extra);
        std::size_t j = i + 1;
        for (int k = 0; k < extra && j < text.size(); ++k, ++j) u = (u << 6) | (text[j] & 0x3F);
        out += (b >= 0x80 && b < 0xC0) || u > 0xFFFF ? '?' : oem_byte(static_cast<char16_t>(u));
        i = j;
    }
    return out;
}

// A path of the suite (OEM bytes, "\" separators) as a POSIX path.
std::string native_path(const std::string& path) {
    // A NUL byte would cut the name short and name another file: such a
    // path names nothing, as on Windows.
    if (path.find('\0') != std::string::npos) return std::string();
    std::string out = oem_to_utf8(path);
    for (char& c : out)
        if (c == '\\') c = '/';
    return out;
}

// The path itself when it exists, else the entry of its directory whose
// name matches the last component without regard to ASCII letter case.
std::string resolve_case(const std::string& path) {
    struct stat st;
    if (path.empty() || lstat(path.c_str(), &st) == 0) return path;
    std::size_t slash = path.rfind('/');
    std::string dir = slash == std::string::npos ? "." : path.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    DIR* d = opendir(dir.c_str());
    if (!d) return path;
    std::string found = path;
    while (dirent* e = readdir(d)) {
        if (strcasecmp(e->d_name, name.c_str()) == 0) {
            found = (slash == std::string::npos ? "" : dir) + e->d_name;
            break;
        }
    }
    closedir(d);
    return found;
}

// Opens a regular file only: a named pipe would block the run forever and a
// device such as /dev/zero would read as one endless line, as Windows files
// never do. The open itself never waits (O_NONBLOCK), then blocks as usual.
FileHandle open_with(const std::string& path, int flags) {
    int fd = open(resolve_case(native_path(path)).c_str(), flags | O_CLOEXEC | O_NONBLOCK, 0666);
    if (fd < 0) return no_file;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return no_file;
    }
    fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    return fd;
}

std::uint32_t attributes_of(const struct stat& st) {
    std::uint32_t attributes = S_ISDIR(st.st_mode) ? attr_directory : attr_archive;
    if (!(st.st_mode & S_IWUSR)) attributes |= attr_read_only;
    return attributes;
}

}  // namespace

// ---- Files -----------------------------------------------------------------

FileHandle open_shared_read(const std::string& path) { return open_with(path, O_RDONLY); }

FileHandle create_shared_write(const std::string& path) {
    return open_with(path, O_WRONLY | O_CREAT | O_TRUNC);
}

FileHandle open_read_write(const std::string& path) { return open_with(path, O_RDWR | O_CREAT); }

std::int64_t read_file(FileHandle file, void* buffer, std::size_t size) {
    if (file == no_file) return -1;
    for (;;) {
        ssize_t n = read(static_cast<int>(file), buffer, size);
        if (n >= 0 || errno != EINTR) return n;
    }
}

bool write_file(FileHandle file, const void* data, std::size_t size) {
    if (file == no_file) return false;
    const char* p = static_cast<const char*>(data);
    while (size > 0) {
        ssize_t n = write(static_cast<int>(file), p, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        p += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

bool seek_file(FileHandle file, std::int64_t offset) {
    return file != no_file && offset >= 0 && lseek(static_cast<int>(file), offset, SEEK_SET) >= 0;
}

std::int64_t file_size(FileHandle file) {
    struct stat st;
    if (file == no_file || fstat(static_cast<int>(file), &st) != 0) return -1;
    return st.st_size;
}

bool set_file_end(FileHandle file) {
    if (file == no_file) return false;
    off_t here = lseek(static_cast<int>(file), 0, SEEK_CUR);
    return here >= 0 && ftruncate(static_cast<int>(file), here) == 0;
}

void close_file(FileHandle file) {
    if (file != no_file) close(static_cast<int>(file));
}

bool delete_file(const std::string& path) {
    return unlink(resolve_case(native_path(path)).c_str()) == 0;
}

// ---- Directories -----------------------------------------------------------

bool create_directory(const std::string& path) {
    return mkdir(native_path(path).c_str(), 0777) == 0;
}

bool find_first_entry(const std::string& pattern, DirEntry& entry) {
    std::string native = native_path(pattern);
    if (native.empty()) return false;
    std::size_t slash = native.rfind('/');
    std::string dir, name;
    if (!native.empty() && native.back() == ':') {
        dir = native;
        name = "*";
    } else {
        dir = slash == std::string::npos ? "." : native.substr(0, slash + 1);
        name = slash == std::string::npos ? native : native.substr(slash + 1);
        if (name.empty()) name = "*";
    }
    DIR* d = opendir(dir.c_str());
    if (!d) return false;
    bool found = false;
    while (dirent* e = readdir(d)) {
        std::string n = e->d_name;
        if (n == "." || n == ".." || fnmatch(name.c_str(), n.c_str(), FNM_CASEFOLD) != 0) continue;
        struct stat st;
        std::string full = dir + (dir.back() == '/' ? "" : "/") + n;
        entry.name = utf8_to_oem(n);
        entry.attributes = stat(full.c_str(), &st) == 0 ? attributes_of(st) : attr_archive;
        found = true;
        break;
    }
    closedir(d);
    return found;
}

std::uint32_t file_attributes(const std::string& path) {
    struct stat st;
    if (stat(resolve_case(native_path(path)).c_str(), &st) != 0) return invalid_attributes;
    return attributes_of(st);
}

// ---- Environment and clocks ------------------------------------------------

std::string get_env(const std::string& name) {
    const char* value = getenv(oem_to_utf8(name).c_str());
    return value ? utf8_to_oem(value) : std::string();
}

UtcDateTime utc_now() {
    time_t now = time(nullptr);
    struct tm t;
    gmtime_r(&now, &t);
    return {t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_sec};
}

LocalTimeOfDay local_time_of_day() {
    struct timeval tv;
    gettimeofday(&tv, nullptr);
    time_t seconds = tv.tv_sec;
    struct tm t;
    localtime_r(&seconds, &t);
    return {t.tm_hour, t.tm_min, t.tm_sec, static_cast<int>(tv.tv_usec / 1000)};
}

// ---- OEM code page -------------------------------------------------------

void select_oem_code_page() {}  // CP858 is the only code page of this backend.

std::u16string oem_to_utf16(const std::string& text) {
    std::u16string out(text.size(), u'\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        unsigned char b = static_cast<unsigned char>(text[i]);
        out[i] = b < 0x80 ? b : cp858_high[b - 0x80];
    }
    return out;
}

std::string utf16_to_oem(const std::u16string& text) {
    std::string out(text.size(), '\0');
    for (std::size_t i = 0; i < text.size(); ++i) out[i] = oem_byte(text[i]);
    return out;
}

// ---- Processes -------------------------------------------------------------

namespace {

// Splits a command line into words as Windows programs split their
// arguments: blanks and tabs separate words, double quotes group them, 2n
// backslashes before a quote give n and the quote groups, 2n+1 give n and a
// literal quote, other backslashes are literal.
std::vector<std::string> split_command_line(const std::string& line) {
    std::vector<std::string> words;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        if (i >= line.size()) break;
        std::string word;
        bool quoted = false;
        while (i < line.size() && (quoted || (line[i] != ' ' && line[i] != '\t'))) {
            std::size_t slashes = 0;
            while (i < line.size() && line[i] == '\\') ++slashes, ++i;
            if (i < line.size() && line[i] == '"') {
                word.append(slashes / 2, '\\');
                if (slashes % 2) {
                    word += '"';
                } else {
                    quoted = !quoted;
                }
                ++i;
            } else {
                word.append(slashes, '\\');
                if (slashes == 0) word += line[i++];
            }
        }
        words.push_back(word);
    }
    return words;
}

}  // namespace

std::int32_t run_process(const std::string& command_line) {
    if (command_line.find('\0') != std::string::npos) return 0;
    std::vector<std::string> words = split_command_line(command_line);
    if (words.empty()) return 0;
    words[0] = native_path(words[0]);
    for (std::size_t i = 1; i < words.size(); ++i) words[i] = oem_to_utf8(words[i]);
    std::vector<char*> argv;
    for (std::string& w : words) argv.push_back(w.data());
    argv.push_back(nullptr);
    pid_t pid;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return 0;
    int status = 0;
    while (waitpid(pid, &status, 0) < 0)
        if (errno != EINTR) return 0;
    // A program that could not be executed ends with 127 from the spawn child.
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 0;
}

// ---- Console ---------------------------------------------------------------

namespace {

// The in-memory console: the system's console on this platform.
struct MemoryConsole {
    int rows = 25, columns = 80;
    std::vector<Cell> cells = std::vector<Cell>(25 * 80);
    int cursor_row = 0, cursor_column = 0;
    std::uint16_t attribute = 7;
};

MemoryConsole& screen() {
    static MemoryConsole console;
    return console;
}

bool inside(const MemoryConsole& s, int row, int column) {
    return row >= 0 && row < s.rows && column >= 0 && column < s.columns;
}

}  // namespace

void memory_console_reset(int rows, int columns) {
    MemoryConsole& s = screen();
    s = MemoryConsole{};
    s.rows = rows;
    s.columns = columns;
    s.cells.assign(static_cast<std::size_t>(rows) * static_cast<std::size_t>(columns), Cell{});
}

bool console_attach() {
    // Ctrl+C and Ctrl+\ cannot interrupt a run half-way with the box shown.
    signal(SIGINT, SIG_IGN);
    signal(SIGQUIT, SIG_IGN);
    return screen().rows > 0 && screen().columns > 0;
}

ConsoleInfo console_info() {
    const MemoryConsole& s = screen();
    return {s.rows, s.columns, s.rows, s.columns, s.cursor_row, s.cursor_column};
}

void console_set_cursor(int row, int column) {
    MemoryConsole& s = screen();
    if (!inside(s, row, column)) return;
    s.cursor_row = row;
    s.cursor_column = column;
}

void console_set_attribute(std::uint16_t attribute) { screen().attribute = attribute; }

void console_write_cells(int row, int column, const Cell* cells, int count) {
    MemoryConsole& s = screen();
    for (int i = 0; i < count; ++i)
        if (inside(s, row, column + i))
            s.cells[static_cast<std::size_t>(row * s.columns + column + i)] = cells[i];
}

void console_read_cells(int row, int column, Cell* cells, int count) {
    MemoryConsole& s = screen();
    for (int i = 0; i < count; ++i)
        cells[i] = inside(s, row, column + i)
                       ? s.cells[static_cast<std::size_t>(row * s.columns + column + i)]
                       : Cell{};
}

void console_scroll_up(std::uint16_t attribute) {
    MemoryConsole& s = screen();
    if (s.rows <= 0) return;
    s.cells.erase(s.cells.begin(), s.cells.begin() + s.columns);
    s.cells.insert(s.cells.end(), static_cast<std::size_t>(s.columns), Cell{u' ', attribute});
}

}  // namespace platform
