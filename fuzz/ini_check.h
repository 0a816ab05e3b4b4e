// The INI reader on arbitrary file bytes and arbitrary section and key
// arguments, judged against the INI rules of the suite.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

#include "config/ini.h"
#include "platform/platform.h"
#include "scratch.h"
#include "suite_text.h"

namespace fuzz {

// One reading: the file's bytes and the section and key asked for.
struct IniCase {
    std::string section, key, file;
};

// Splits an input: a length byte (mod 32) and the section, a length byte and the key, then the
// file.
inline IniCase split_ini_input(const std::uint8_t* data, std::size_t size) {
    IniCase c;
    std::size_t at = 0;
    for (std::string* part : {&c.section, &c.key}) {
        if (at >= size) return c;
        std::size_t length = data[at++] % 32;
        if (length > size - at) length = size - at;
        part->assign(reinterpret_cast<const char*>(data + at), length);
        at += length;
    }
    c.file.assign(reinterpret_cast<const char*>(data + at), size - at);
    return c;
}

// The value that the INI rules give for key in section of a file of these bytes.
inline std::string expected_ini_value(const std::string& file, const std::string& section,
                                      const std::string& key) {
    const std::string wanted_section = upper_suite(trimmed(section));
    const std::string wanted_key = upper_suite(trimmed(key));
    bool inside = false;
    std::string value;
    for (const std::string& raw : split_suite_lines(file)) {
        const std::string line = left_trimmed(raw.substr(0, raw.find(';')));
        if (line.empty()) continue;
        if (!inside) {
            if (line[0] != '[') continue;
            std::size_t close = line.find(']');
            std::string name =
                close == std::string::npos ? line.substr(1) : line.substr(1, close - 1);
            inside = upper_suite(trimmed(name)) == wanted_section;
            continue;
        }
        if (line[0] == '[') break;
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        if (upper_suite(right_trimmed(line.substr(0, equals))) != wanted_key) continue;
        value = line.substr(equals + 1);
        break;
    }
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

// Writes the file into dir, reads the value and returns the first rule it breaks (empty: none).
inline std::string check_ini_case(const std::filesystem::path& dir, const IniCase& c) {
    const std::filesystem::path file = dir / "Fuzz.ini";
    write_bytes(file, c.file);
    const std::string path = file.string();

    // The lowest free handle before and after the reading: equal unless a file stayed open.
    platform::FileHandle before = platform::open_shared_read(path);
    platform::close_file(before);
    const std::string value = config::read_ini_value(path, c.section, c.key);
    platform::FileHandle after = platform::open_shared_read(path);
    platform::close_file(after);

    if (after != before) return "read_ini_value left a file open";
    if (value.find_first_of(std::string("\r\x1A;", 3)) != std::string::npos)
        return "the value " + printable(value) + " holds a CR, a Ctrl-Z or a \";\"";
    const std::string expected = expected_ini_value(c.file, c.section, c.key);
    if (value != expected)
        return "[" + printable(c.section) + "] " + printable(c.key) + " reads " + printable(value) +
               " where the INI rules give " + printable(expected);
    return {};
}

}  // namespace fuzz
