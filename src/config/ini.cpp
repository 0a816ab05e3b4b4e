// The one INI reader of the system: first matching key of the first matching
// section, comments cut at every ";", names compared after upper_oem.
#include "config/ini.h"

#include "config/text_rules.h"
#include "fsutil/line_reader.h"

namespace config {

namespace {

// The name of a section header line that starts with "[": up to the first
// "]" or the end of the line, trimmed and upper-cased.
std::string section_name(const std::string& line) {
    std::size_t close = line.find(']', 1);
    std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    return upper_oem(trim(name));
}

}  // namespace

std::string read_ini_value(const std::string& file, const std::string& section,
                           const std::string& key) {
    fsutil::LineReader reader;
    if (!fsutil::open_line_reader(reader, file)) return {};
    const std::string wanted_section = upper_oem(trim(section));
    const std::string wanted_key = upper_oem(trim(key));
    bool inside = false;
    std::string value;
    std::string line;
    while (fsutil::read_line(reader, line)) {
        std::size_t comment = line.find(';');
        if (comment != std::string::npos) line.erase(comment);
        line = trim_left(line);
        if (line.empty()) continue;
        if (!inside) {
            inside = line[0] == '[' && section_name(line) == wanted_section;
            continue;
        }
        if (line[0] == '[') break;  // the section ends at the next header of any name
        std::size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        if (upper_oem(trim_right(line.substr(0, equals))) == wanted_key) {
            value = line.substr(equals + 1);
            break;
        }
    }
    fsutil::close_line_reader(reader);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        value = value.substr(1, value.size() - 2);
    return value;
}

}  // namespace config
