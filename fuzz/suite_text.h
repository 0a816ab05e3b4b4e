// The suite's text-file rules, written out once more for the fuzz checks so
// that they judge the program by the rules and not by its own code: lines
// end at CR or CR LF (a LF alone is an ordinary byte), Ctrl-Z ends the file,
// blanks are spaces only, and seven OEM letters have capitals besides a-z.
#pragma once

#include <string>
#include <vector>

namespace fuzz {

// The lines of a suite text file, without their line ends.
inline std::vector<std::string> split_suite_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    bool pending = false;  // bytes of an unfinished line were seen
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char b = bytes[i];
        if (b == '\x1A') break;
        if (b == '\r') {
            lines.push_back(line);
            line.clear();
            pending = false;
            if (i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
            continue;
        }
        line += b;
        pending = true;
    }
    if (pending) lines.push_back(line);
    return lines;
}

// Removes blanks from the start.
inline std::string left_trimmed(const std::string& text) {
    std::size_t first = text.find_first_not_of(' ');
    return first == std::string::npos ? std::string() : text.substr(first);
}

// Removes blanks from the end.
inline std::string right_trimmed(const std::string& text) {
    std::size_t last = text.find_last_not_of(' ');
    return last == std::string::npos ? std::string() : text.substr(0, last + 1);
}

// Removes blanks from both ends.
inline std::string trimmed(const std::string& text) { return right_trimmed(left_trimmed(text)); }

// Upper-cases a-z and the OEM letters a-umlaut, o-umlaut, u-umlaut, e-acute, n-tilde, a-ring,
// c-cedilla.
inline std::string upper_suite(std::string text) {
    for (char& c : text) {
        switch (static_cast<unsigned char>(c)) {
            case 0x84:
                c = '\x8E';
                break;
            case 0x94:
                c = '\x99';
                break;
            case 0x81:
                c = '\x9A';
                break;
            case 0x82:
                c = '\x90';
                break;
            case 0xA4:
                c = '\xA5';
                break;
            case 0x86:
                c = '\x8F';
                break;
            case 0x87:
                c = '\x80';
                break;
            default:
                if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return text;
}

}  // namespace fuzz
