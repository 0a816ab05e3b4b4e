// Unique file names: the clock-seeded generator and the name it forms.
#include <cmath>
#include <cstring>

#include "config/text_rules.h"
#include "fsutil/files.h"

namespace fsutil {

namespace {

// The directory part of a name: trimmed, with a backslash unless it already
// ends in a separator or is empty.
std::string name_directory(const std::string& dir) {
    std::string out = config::trim(dir);
    if (!out.empty() && out.back() != ':' && out.back() != '\\' && out.back() != '/') out += '\\';
    return out;
}

// The prefix part: trimmed, at most 3 characters.
std::string name_prefix(const std::string& prefix) { return config::trim(prefix).substr(0, 3); }

// The extension part: trimmed, without one leading dot, at most 3 characters.
std::string name_extension(const std::string& ext) {
    std::string out = config::trim(ext);
    if (!out.empty() && out[0] == '.') out.erase(0, 1);
    return out.substr(0, 3);
}

}  // namespace

// The bit pattern of the single nearest to 100 x the seconds since midnight.
std::uint32_t seed_from_time(int hour, int minute, int second, int millisecond) {
    // 100 x seconds since midnight is milliseconds / 10; its nearest single is the seed.
    long long milliseconds = hour * 3600000LL + minute * 60000LL + second * 1000LL + millisecond;
    float hundredths = static_cast<float>(static_cast<double>(milliseconds) / 10.0);
    std::uint32_t bits = 0;
    std::memcpy(&bits, &hundredths, sizeof bits);
    return bits;
}

// x = x * 134775813 + 1 mod 2^32; r = (x div 2) / 2^31.
double next_random(std::uint32_t& state) {
    state = state * 134775813u + 1u;
    return static_cast<double>(state >> 1) / 2147483648.0;
}

// 0-9 or A-Z for a draw r in [0, 1), all 36 equally likely.
char name_char_for(double r) {
    int c = 48 + static_cast<int>(std::floor(36 * r));
    if (c >= 58) c += 7;
    return static_cast<char>(c);
}

// One name character from the next draw.
char random_name_char(std::uint32_t& state) { return name_char_for(next_random(state)); }

namespace {

// Attempts with one unchanged seed after which the generator simply goes on
// drawing: a clock that never moves must not hold the run for ever.
constexpr int frozen_clock_attempts = 1000;

// The name of one attempt, drawn from the generator state.
std::string candidate_from_state(const std::string& dir, const std::string& prefix,
                                 const std::string& ext, std::uint32_t& state) {
    std::string head = name_prefix(prefix);
    std::string extension = name_extension(ext);
    std::string name = name_directory(dir) + head;
    for (std::size_t i = head.size(); i < 8; ++i) name += random_name_char(state);
    if (!extension.empty()) name += "." + extension;
    return name;
}

}  // namespace

// The name one attempt forms from a seed.
std::string unique_name_candidate(const std::string& dir, const std::string& prefix,
                                  const std::string& ext, std::uint32_t seed) {
    return candidate_from_state(dir, prefix, ext, seed);
}

// A name that no ordinary file holds, each attempt seeded from clock().
std::string make_unique_name_with_clock(const std::string& dir, const std::string& prefix,
                                        const std::string& ext,
                                        platform::LocalTimeOfDay (*clock)()) {
    // Every attempt seeds from the clock, so attempts while it shows one time
    // give one name: go on until it moves.
    std::uint32_t state = 0, last_seed = 0;
    int repeats = 0;
    for (bool first = true;; first = false) {
        platform::LocalTimeOfDay t = clock();
        std::uint32_t seed = seed_from_time(t.hour, t.minute, t.second, t.millisecond);
        if (first || seed != last_seed) {
            repeats = 0;
            last_seed = state = seed;
        } else if (repeats < frozen_clock_attempts) {
            ++repeats;
            state = seed;
        }  // else the clock stands still: the state goes on from the last draws
        std::string name = candidate_from_state(dir, prefix, ext, state);
        if (!path_exists(name)) return name;
    }
}

// A name that no ordinary file holds, each attempt seeded from the local time of day.
std::string make_unique_name(const std::string& dir, const std::string& prefix,
                             const std::string& ext) {
    return make_unique_name_with_clock(dir, prefix, ext, platform::local_time_of_day);
}

}  // namespace fsutil
