// The document body: text lines at their columns with fill leaders, the "=="
// rule, line feeds and page separators, and the text stack they use.
#include "config/text_rules.h"
#include "hta/document.h"

namespace hta {
namespace {

// The page separator line.
constexpr const char* page_separator = "<DIV CLASS='salt'>&nbsp;</DIV>\r\n";

// The length marker that stands in front of a wider length for a long string.
constexpr std::uint16_t long_marker = 0xFFFF;

// The largest length that the short 2-byte form holds.
constexpr std::size_t short_length_limit = 32767;

// Appends an unsigned value as count little-endian bytes.
void append_little_endian(std::string& buffer, unsigned long long value, int count) {
    for (int i = 0; i < count; ++i) buffer += static_cast<char>((value >> (8 * i)) & 0xFF);
}

// Reads count little-endian bytes from position at.
unsigned long long read_little_endian(const std::string& buffer, std::size_t at, int count) {
    unsigned long long value = 0;
    for (int i = count - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(buffer[at + static_cast<std::size_t>(i)]);
    return value;
}

// Replaces the control bytes 0-31, 127 and 255 by blanks.
void clean_text(std::string& text) {
    for (char& c : text) {
        unsigned char b = static_cast<unsigned char>(c);
        if (b < 32 || b == 127 || b == 255) c = ' ';
    }
}

// Appends the pending fill to text so that it ends at the fill column, and clears the request.
void apply_fill(HtaDocument& document, std::string& text) {
    long long gap = static_cast<long long>(document.fill_column) -
                    static_cast<long long>(text.size()) - document.column;
    long long length = static_cast<long long>(document.fill_pattern.size());
    long long copies = gap >= 0 ? gap / length : -((-gap + length - 1) / length);
    long long pad = gap - length * copies;
    text.append(static_cast<std::size_t>(pad), ' ');
    if (length == 1) {
        if (copies > 0) text.append(static_cast<std::size_t>(copies), document.fill_pattern[0]);
    } else {
        if (copies > 0) text.reserve(text.size() + static_cast<std::size_t>(copies * length));
        for (long long i = 0; i < copies; ++i) text += document.fill_pattern;
    }
    document.fill_pattern.clear();
    document.fill_column = 0;
}

}  // namespace

// Pushes a string: its bytes, then its length as 2 little-endian bytes; a
// string over 32,767 bytes gets an 8-byte length followed by the marker 0xFFFF,
// which no short length can be.
void text_stack_push(TextStack& stack, const std::string& text) {
    stack.buffer += text;
    if (text.size() <= short_length_limit) {
        append_little_endian(stack.buffer, text.size(), 2);
    } else {
        append_little_endian(stack.buffer, text.size(), 8);
        append_little_endian(stack.buffer, long_marker, 2);
    }
}

// Pops the last pushed string into text, reusing its storage; an empty or
// damaged stack gives an empty string and is emptied.
void text_stack_pop_into(TextStack& stack, std::string& text) {
    std::string& b = stack.buffer;
    bool sound = b.size() >= 2;
    std::size_t end = sound ? b.size() - 2 : 0;
    unsigned long long length = sound ? read_little_endian(b, end, 2) : 0;
    if (sound && length == long_marker) {
        sound = end >= 8;
        end = sound ? end - 8 : 0;
        length = sound ? read_little_endian(b, end, 8) : 0;
    } else if (length > short_length_limit) {
        sound = false;  // a negative short length
    }
    if (!sound || length > end) {
        b.clear();
        text.clear();
        return;
    }
    text.assign(b, end - length, length);
    b.resize(end - length);
}

// Pops the last pushed string.
std::string text_stack_pop(TextStack& stack) {
    std::string text;
    text_stack_pop_into(stack, text);
    return text;
}

// Writes one text line: positioned at its target column (never back), with
// the pending fill, the "==" rule, converted to UTF-8 and escaped, then its line
// ends. The text comes back cleaned of control bytes.
void write_text_line(HtaDocument& document, TextStack& stack, std::int16_t column,
                     std::string& text, std::int16_t feed_count) {
    clean_text(text);
    text_stack_push(stack, text);
    if (column > document.column + 1) {
        document_write_repeated(document, " ", column - document.column - 1);
        document.column = static_cast<std::int16_t>(column - 1);
    }
    if (!document.fill_pattern.empty()) apply_fill(document, text);
    if (text.find("==") != std::string::npos)
        for (char& c : text)
            if (c == '=') c = '-';
    document_write_text(document, text);
    if (feed_count != 0) {
        document_write_repeated(document, "\r\n", feed_count);
        document.lines_in_page = config::add_int16(document.lines_in_page, feed_count);
        document.column = 0;
    } else {
        document.column = config::add_int16(document.column, static_cast<long long>(text.size()));
    }
    text_stack_pop_into(stack, text);
}

// Starts a page: a separator when the page had line ends, then counts it.
void start_page(HtaDocument& document) {
    if (document.lines_in_page > 0) document_write(document, page_separator);
    document.page_count = config::add_int16(document.page_count, 1);
    document.lines_in_page = 0;
    document.column = 0;
}

// Stores a fill request for the next text line, replacing an earlier one.
void request_fill(HtaDocument& document, std::int16_t fill_column, const std::string& pattern) {
    document.fill_column = fill_column;
    document.fill_pattern = pattern;
}

}  // namespace hta
