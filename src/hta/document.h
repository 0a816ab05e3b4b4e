// The one HTA document of a run: its state, header and footer, body lines,
// page separators, fill leaders and style tags.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "config/run.h"
#include "config/session.h"
#include "platform/platform.h"

namespace hta {

struct HtaDocument {
    std::string path;                               // set before the first line is read
    platform::FileHandle file = platform::no_file;  // while the document is written
    bool opened = false;                            // a DEVICE line has opened it this run
    std::string output;                             // bytes not yet written to file
    double margin = 0;                              // print margin, inches
    std::int16_t pitch = 0;                         // characters per inch
    std::int16_t page_count = 0;
    std::int16_t lines_in_page = 0;
    std::int16_t column = 0;  // characters on the current output line
    bool bold = false, underline = false, italic = false;
    std::int16_t fill_column = 0;
    std::string fill_pattern;  // empty: no fill pending
};

// Last-in first-out stack of byte strings in one buffer.
struct TextStack {
    std::string buffer;
};

// ---- Header, footer, hand-off -----------------------------------------------

// The generator and rights-holder texts of the header's META lines.
constexpr const char* generator_text = "ZalWin 1.0 (zalprint)";
constexpr const char* copyright_text = "ZalWin";

// A number as the header writes it: " 10", " .5", "-3", at most 15 significant digits.
std::string number_to_text(double value);
// The print font size for a pitch of N characters in 8 inches: (8 - margin) / N * 114.
double print_font_size(double margin, int characters);
// The whole header for the document's current state, every line ended by CR LF.
std::string header_text(const HtaDocument& document, const config::SessionContext& session,
                        const config::RunOptions& options, const platform::UtcDateTime& now);
// Creates the document at its path and writes the header; a second call in one run does nothing.
void open_document(HtaDocument& document, const config::SessionContext& session,
                   const config::RunOptions& options, const std::string& device_letter);
// Writes the footer, closes the file, and hands the document to RERADA when it is to be shown.
void close_document(HtaDocument& document, const config::RunOptions& options);
// The hand-off command line: COMSPEC + " /C RERADA " + path, quoted when it holds a blank.
std::string handoff_command_line(const std::string& comspec, const std::string& path);
// Buffered document bytes are written to the file once they reach this size.
constexpr std::size_t flush_block = 64 * 1024;

// Appends bytes to the document; they reach the file in large blocks. Skipped
// while the document has no file.
void document_write(HtaDocument& document, const std::string& bytes);
// Appends count copies of unit (none when count is 0 or less).
void document_write_repeated(HtaDocument& document, const std::string& unit, long long count);
// Appends OEM report text converted to UTF-8 with the markup characters escaped.
void document_write_text(HtaDocument& document, const std::string& oem_text);
// Writes out what is buffered.
void document_flush(HtaDocument& document);
// Flushes and closes the file if it is open.
void document_close_file(HtaDocument& document);

// ---- Body ---------------------------------------------------------------------

// Writes one text line at a target column with the pending fill and feed count.
void write_text_line(HtaDocument& document, TextStack& stack, std::int16_t column,
                     std::string& text, std::int16_t feed_count);
// Starts a page: a separator when the page had line ends, then counts it.
void start_page(HtaDocument& document);
// Stores a fill request for the next text line.
void request_fill(HtaDocument& document, std::int16_t fill_column, const std::string& pattern);
// Pushes a string onto the stack.
void text_stack_push(TextStack& stack, const std::string& text);
// Pops the last pushed string.
std::string text_stack_pop(TextStack& stack);
// Pops the last pushed string into text, reusing its storage.
void text_stack_pop_into(TextStack& stack, std::string& text);

// Turns a style command string into pitch spans and bold, underline, italic tags.
void apply_style_commands(HtaDocument& document, const std::string& commands);

}  // namespace hta
