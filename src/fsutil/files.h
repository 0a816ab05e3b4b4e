// File-system helpers: unique file names, directory paths, and the existence
// test for ordinary files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace fsutil {

// The full path of a file that does not exist yet: dir, prefix (at most 3
// characters), random characters up to 8, and "." with the extension's first 3.
std::string make_unique_name(const std::string& dir, const std::string& prefix,
                             const std::string& ext);
// make_unique_name with the clock that seeds each attempt given explicitly.
std::string make_unique_name_with_clock(const std::string& dir, const std::string& prefix,
                                        const std::string& ext,
                                        platform::LocalTimeOfDay (*clock)());
// The name that one attempt of make_unique_name forms from a seed.
std::string unique_name_candidate(const std::string& dir, const std::string& prefix,
                                  const std::string& ext, std::uint32_t seed);
// Creates every missing directory along path; failures are ignored.
void make_directory_path(const std::string& path);
// The directories that make_directory_path tries to create, in order.
std::vector<std::string> directory_path_attempts(const std::string& path);
// True when an ordinary file (not read-only, hidden, system or a directory) is at path.
bool path_exists(const std::string& path);
// True when attribute bits describe an ordinary file in the sense of path_exists.
bool is_ordinary_file(std::uint32_t attributes);

// The name generator's state seeded from a local time of day.
std::uint32_t seed_from_time(int hour, int minute, int second, int millisecond);
// One draw of the generator, in [0, 1).
double next_random(std::uint32_t& state);
// One random name character, 0-9 or A-Z.
char random_name_char(std::uint32_t& state);
// The name character for a draw r in [0, 1).
char name_char_for(double r);

}  // namespace fsutil
