// Placeholder bodies until the subsystem lands.
#include "printfile/interpreter.h"

namespace printfile {
LineKind classify_line(const std::string&) { return LineKind::text; }
std::string send_first_field(const std::string&) { return {}; }
bool parse_jus_line(const std::string&, std::int16_t&, std::string&) { return false; }
void parse_text_line(const std::string&, std::int16_t&, std::string&, std::int16_t&) {}
void interpret_print_file(const config::SessionContext&, const config::RunOptions&,
                          hta::HtaDocument&, hta::TextStack&, console::Console&) {}
}  // namespace printfile
