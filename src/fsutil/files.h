// File-system helpers: unique file names, directory paths, and the existence
// test for ordinary files.
#pragma once

#include <cstdint>
#include <string>

namespace fsutil {

// The full path of a file that does not exist yet: dir, prefix (at most 3
// characters), random characters up to 8, and "." with the extension's first 3.
std::string make_unique_name(const std::string& dir, const std::string& prefix,
                             const std::string& ext);
// Creates every missing directory along path; failures are ignored.
void make_directory_path(const std::string& path);
// True when an ordinary file (not read-only, hidden, system or a directory) is at path.
bool path_exists(const std::string& path);

// The name generator's state seeded from a local time of day.
std::uint32_t seed_from_time(int hour, int minute, int second, int millisecond);
// One draw of the generator, in [0, 1).
double next_random(std::uint32_t& state);
// One random name character, 0-9 or A-Z.
char random_name_char(std::uint32_t& state);

}  // namespace fsutil
