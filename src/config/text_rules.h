// The system's shared text rules: blank trimming, the one upper-casing rule
// and the one number-reading rule, plus the 16-bit arithmetic of counters.
#pragma once

#include <cstdint>
#include <string>

namespace config {

// Removes blanks (spaces only, never tabs) from the start.
std::string trim_left(const std::string& text);
// Removes blanks from the end.
std::string trim_right(const std::string& text);
// Removes blanks from both ends.
std::string trim(const std::string& text);

// Upper-cases a-z and the seven OEM letters with capitals; length unchanged.
std::string upper_oem(const std::string& text);

// The number at the start of the text (decimal with fraction and exponent,
// or &H, &O/&Q, &B radix integers); 0 when there is none.
double parse_number(const std::string& text);

// Rounds to the nearest integer, a half to the even neighbour, and saturates
// at the 16-bit signed range instead of wrapping.
std::int16_t to_int16(double value);
// a + b saturated at the 16-bit signed range.
std::int16_t add_int16(std::int16_t a, long long b);

}  // namespace config
