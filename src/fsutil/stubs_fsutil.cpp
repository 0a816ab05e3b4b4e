// Placeholder bodies until the subsystem lands.
#include "fsutil/files.h"
#include "fsutil/line_reader.h"

namespace fsutil {
bool open_line_reader(LineReader&, const std::string&) { return false; }
bool read_line(LineReader&, std::string&) { return false; }
void close_line_reader(LineReader&) {}
std::string make_unique_name(const std::string& dir, const std::string&, const std::string&) { return dir; }
void make_directory_path(const std::string&) {}
bool path_exists(const std::string&) { return false; }
std::uint32_t seed_from_time(int, int, int, int) { return 0; }
double next_random(std::uint32_t&) { return 0; }
char random_name_char(std::uint32_t&) { return '0'; }
}  // namespace fsutil
