// The print-file interpreter: reads zalprint.tmp line by line and drives the
// document writer and the status box.
#pragma once

#include <cstdint>
#include <string>

#include "config/run.h"
#include "config/session.h"
#include "console/console.h"
#include "hta/document.h"

namespace printfile {

enum class LineKind { send, device, page, style, jus, blank, text };

// The kind of a line while output is on (SEND is recognised first in any case).
LineKind classify_line(const std::string& line);
// The first field of a SEND line, trimmed.
std::string send_first_field(const std::string& line);
// The device letter of a DEVICE line: its seventh byte, empty when it has none.
std::string device_letter(const std::string& line);
// The command of a style line: what follows the "*", trimmed and upper-cased.
std::string style_command(const std::string& line);
// The fields of a JUS line; false when it requests no fill.
bool parse_jus_line(const std::string& line, std::int16_t& fill_column, std::string& pattern);
// The fields of a text line; last_column keeps its value when the line has no comma.
void parse_text_line(const std::string& line, std::int16_t& last_column, std::string& text,
                     std::int16_t& feed_count);
// Names the document, shows the status box, handles every line of the print
// file, removes the box and closes the document.
void interpret_print_file(const config::SessionContext& session, const config::RunOptions& options,
                          hta::HtaDocument& document, hta::TextStack& stack,
                          console::Console& console);

}  // namespace printfile
