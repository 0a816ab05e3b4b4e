// The kinds of print-file lines and the fields of SEND, JUS and text lines.
#include <cstddef>
#include <cstdint>
#include <string>

#include "config/text_rules.h"
#include "printfile/interpreter.h"

namespace printfile {
namespace {

// True when the line begins with the exact bytes of word.
bool starts_with(const std::string& line, const char* word) {
    return line.compare(0, std::char_traits<char>::length(word), word) == 0;
}

// True when the line is empty or holds only blanks (spaces, never tabs).
bool is_blank_line(const std::string& line) {
    return line.find_first_not_of(' ') == std::string::npos;
}

// A print-file number as a 16-bit value, saturated at the range's ends.
std::int16_t field_number(const std::string& text) {
    return config::to_int16(config::parse_number(text));
}

}  // namespace

LineKind classify_line(const std::string& line) {
    // SEND: any letter case, after leading blanks.
    std::size_t first = line.find_first_not_of(' ');
    // (upper_oem makes an "S" only of "s" and "S": test that byte before the word.)
    if (first != std::string::npos && line.size() - first >= 4 &&
        (line[first] == 'S' || line[first] == 's') &&
        config::upper_oem(line.substr(first, 4)) == "SEND")
        return LineKind::send;
    if (starts_with(line, "DEVICE")) return LineKind::device;
    if (starts_with(line, "PAGE")) return LineKind::page;
    if (starts_with(line, "*")) return LineKind::style;
    if (starts_with(line, "JUS")) return LineKind::jus;
    if (is_blank_line(line)) return LineKind::blank;
    return LineKind::text;
}

std::string send_first_field(const std::string& line) {
    // The field starts at position 5 of the line as read, even when the word
    // SEND itself stands further right behind leading blanks.
    if (line.size() <= 4) return {};
    std::string field = line.substr(4);
    std::size_t comma = field.find(',');
    if (comma != std::string::npos) field.erase(comma);
    return config::trim(field);
}

std::string device_letter(const std::string& line) {
    return line.size() > 6 ? line.substr(6, 1) : std::string();
}

std::string style_command(const std::string& line) {
    return config::upper_oem(config::trim(line.substr(line.empty() ? 0 : 1)));
}

bool parse_jus_line(const std::string& line, std::int16_t& fill_column, std::string& pattern) {
    std::string rest = config::trim_left(line.size() > 3 ? line.substr(3) : std::string());
    if (rest.empty() || rest[0] != 'N') return false;

    // The fill column is the number behind the first blank; without a blank
    // the whole rest is read, and its leading "N" gives 0.
    std::size_t blank = rest.find(' ');
    fill_column = field_number(blank == std::string::npos ? rest : rest.substr(blank + 1));

    // The pattern stands between the first two backslashes; with fewer, it is
    // the text behind the first one (or all of rest) without rest's last byte.
    std::size_t s1 = rest.find('\\');
    std::size_t s2 = s1 == std::string::npos ? std::string::npos : rest.find('\\', s1 + 1);
    if (s2 != std::string::npos) {
        pattern = rest.substr(s1 + 1, s2 - s1 - 1);
    } else {
        std::size_t from = s1 == std::string::npos ? 0 : s1 + 1;
        std::size_t to = rest.size() - 1;  // rest is not empty here
        pattern = from < to ? rest.substr(from, to - from) : std::string();
    }
    return true;
}

void parse_text_line(const std::string& line, std::int16_t& last_column, std::string& text,
                     std::int16_t& feed_count) {
    // The column ends at the first comma, the feed count begins after the
    // last: the text between may itself hold commas.
    std::size_t p = line.find(',');
    std::size_t start = 0;  // rest: the line behind the first comma, or all of it
    if (p != std::string::npos) {
        last_column = field_number(line.substr(0, p));
        start = p + 1;
    }
    std::size_t q = line.rfind(',');
    if (q != std::string::npos && q >= start) {
        feed_count = field_number(line.substr(q + 1));
        text.assign(line, start, q - start);
    } else {
        feed_count = field_number(line.substr(start));
        std::size_t length = line.size() - start;
        text.assign(line, start, length == 0 ? 0 : length - 1);
    }
}

}  // namespace printfile
