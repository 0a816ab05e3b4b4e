// Placeholder bodies until the subsystem lands.
#include "hta/charset.h"
#include "hta/document.h"

namespace hta {
char16_t cp858_to_unicode(unsigned char byte) { return byte; }
std::string convert_charset(const std::string& text) { return text; }
void append_converted(std::string& out, const std::string& text) { out += text; }
std::string escape_markup(const std::string& utf8) { return utf8; }
void append_converted_escaped(std::string& out, const std::string& text) { out += text; }
std::string number_to_text(double) { return {}; }
double print_font_size(double, int) { return 0; }
std::string header_text(const HtaDocument&, const config::SessionContext&, const config::RunOptions&,
                        const platform::UtcDateTime&) { return {}; }
void open_document(HtaDocument&, const config::SessionContext&, const config::RunOptions&,
                   const std::string&) {}
void close_document(HtaDocument&, const config::RunOptions&) {}
std::string handoff_command_line(const std::string& comspec, const std::string&) { return comspec; }
void document_write(HtaDocument&, const std::string&) {}
void document_flush(HtaDocument&) {}
void document_close_file(HtaDocument&) {}
void write_text_line(HtaDocument&, TextStack&, std::int16_t, std::string&, std::int16_t) {}
void start_page(HtaDocument&) {}
void request_fill(HtaDocument&, std::int16_t, const std::string&) {}
void text_stack_push(TextStack&, const std::string&) {}
std::string text_stack_pop(TextStack&) { return {}; }
void apply_style_commands(HtaDocument&, const std::string&) {}
}  // namespace hta
