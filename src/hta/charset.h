// Character set of the document: report text is held in CP858 and written
// as UTF-8, with the markup characters escaped.
#pragma once

#include <string>

namespace hta {

// The Unicode value of a CP858 byte.
char16_t cp858_to_unicode(unsigned char byte);
// Converts CP858 text to UTF-8.
std::string convert_charset(const std::string& text);
// Appends the UTF-8 form of CP858 text to out.
void append_converted(std::string& out, const std::string& text);
// Escapes "&", "<", ">" and "'" so that text cannot leave its element or attribute.
std::string escape_markup(const std::string& utf8);
// convert_charset followed by escape_markup, appended to out.
void append_converted_escaped(std::string& out, const std::string& text);

}  // namespace hta
