// A whole run on an arbitrary print file: the interpreter, the document
// writer and the status box on the in-memory console, judged by what must
// hold of every run: a complete document with an escaped body whose counters
// follow the print file without wrapping, the screen left as it was, no file
// left open and nothing written outside the run's own files.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "config/run.h"
#include "config/session.h"
#include "config/text_rules.h"
#include "console/console.h"
#include "hta/document.h"
#include "platform/platform.h"
#include "printfile/interpreter.h"
#include "scratch.h"
#include "screen.h"
#include "suite_text.h"

namespace fuzz {

// One run: option bits and the print file.
//   bit 0 by_mail, bit 1 print_also, bit 2 show_document (only when no hand-off can start),
//   bit 3 markup in the title, operator and keywords, bit 4 an odd colour table,
//   bits 5-6 the console: 25 x 80, 24 x 80, 25 x 47, none,
//   bit 7 long lines: a line that begins with "~" stands for the rest of it repeated to
//   more than 32,767 bytes (beyond the 16-bit lengths of the text stack and the counters).
struct RunCase {
    std::uint8_t options = 0;
    std::string print_file;
};

// The outcome of a run: rejected when its document would be too large to be worth
// writing, else the first rule it breaks (empty: none).
struct RunVerdict {
    bool rejected = false;
    std::string problem;
};

// What the print file makes of the counters and of the body, by the interpreter's rules.
struct RunModel {
    bool opened = false;
    long long page_count = 0, lines_in_page = 0, column = 0;
    long long fill_column = 0;
    std::string fill_pattern;
    long long body_chars = 0;  // characters of report text written to the body
    long long line_ends = 0;   // CR LF written by text lines
    long long separators = 0;  // page separators written
    long long body_bytes = 0;  // an upper bound of the body's size
};

// The body of a document may not grow beyond this in a fuzz run.
constexpr long long run_body_budget = 4 * 1024 * 1024;

// Splits an input: the first byte holds the option bits, the rest is the print file.
inline RunCase split_run_input(const std::uint8_t* data, std::size_t size) {
    RunCase c;
    if (size == 0) return c;
    c.options = data[0];
    c.print_file.assign(reinterpret_cast<const char*>(data + 1), size - 1);
    return c;
}

// The print file with every line that begins with "~" replaced by the rest of that line
// repeated until it is longer than long_line bytes.
inline std::string expand_long_lines(const std::string& print_file) {
    constexpr std::size_t long_line = 33000;
    std::string out;
    std::size_t i = 0;
    while (i < print_file.size()) {
        std::size_t end = print_file.find('\r', i);
        if (end == std::string::npos) end = print_file.size();
        const std::string line = print_file.substr(i, end - i);
        if (line.size() > 1 && line[0] == '~') {
            const std::string unit = line.substr(1);
            std::string repeated;
            while (repeated.size() <= long_line) repeated += unit;
            out += repeated;
        } else {
            out += line;
        }
        // The line end as it stands: CR, CR LF, or none at the end of the file.
        if (end < print_file.size()) {
            out += '\r';
            ++end;
            if (end < print_file.size() && print_file[end] == '\n') {
                out += '\n';
                ++end;
            }
        }
        i = end;
    }
    return out;
}

// A value kept within the 16-bit signed range.
inline long long saturate16(long long value) {
    return std::min<long long>(32767, std::max<long long>(-32768, value));
}

// A field of the print file as a 16-bit number.
inline long long number16(const std::string& text) {
    return config::to_int16(config::parse_number(text));
}

// Integer division rounding towards minus infinity.
inline long long floor_div(long long a, long long b) {
    long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Follows the print file line by line as the interpreter and the document writer do.
inline RunModel model_run(const std::string& print_file, bool by_mail, bool print_also) {
    RunModel m;
    bool output = true;
    long long last_column = 0;
    for (const std::string& line : split_suite_lines(print_file)) {
        const std::string unblanked = left_trimmed(line);
        if (unblanked.size() >= 4 && upper_suite(unblanked.substr(0, 4)) == "SEND") {
            std::size_t comma = line.find(',');
            std::string first =
                trimmed(comma == std::string::npos ? line.substr(4) : line.substr(4, comma - 4));
            output = print_also || !by_mail || first.empty();
            continue;
        }
        if (!output) continue;
        if (line.compare(0, 6, "DEVICE") == 0) {
            if (!m.opened) m.page_count = 0;
            m.opened = true;
            continue;
        }
        if (line.compare(0, 4, "PAGE") == 0) {
            if (m.opened && m.lines_in_page > 0) ++m.separators;
            m.page_count = saturate16(m.page_count + 1);
            m.lines_in_page = 0;
            m.column = 0;
            continue;
        }
        if (!line.empty() && line[0] == '*') {
            m.body_bytes += 30 * static_cast<long long>(line.size());
            continue;
        }
        if (line.compare(0, 3, "JUS") == 0) {
            const std::string rest = left_trimmed(line.substr(3));
            if (rest.empty() || rest[0] != 'N') continue;
            std::size_t blank = rest.find(' ');
            m.fill_column = number16(blank == std::string::npos ? rest : rest.substr(blank + 1));
            std::size_t s1 = rest.find('\\');
            std::size_t s2 = s1 == std::string::npos ? s1 : rest.find('\\', s1 + 1);
            if (s2 != std::string::npos) {
                m.fill_pattern = rest.substr(s1 + 1, s2 - s1 - 1);
            } else {
                std::string after = s1 == std::string::npos ? rest : rest.substr(s1 + 1);
                m.fill_pattern = after.empty() ? after : after.substr(0, after.size() - 1);
            }
            continue;
        }
        if (trimmed(line).empty()) continue;

        // A text line: column, text, feed count.
        std::size_t p = line.find(',');
        std::string rest = line;
        if (p != std::string::npos) {
            last_column = number16(line.substr(0, p));
            rest = line.substr(p + 1);
        }
        std::size_t q = rest.rfind(',');
        long long feed = number16(q == std::string::npos ? rest : rest.substr(q + 1));
        long long length = q != std::string::npos ? static_cast<long long>(q)
                           : rest.empty()         ? 0
                                                  : static_cast<long long>(rest.size()) - 1;
        long long written = 0;
        if (last_column > m.column + 1) {
            written += last_column - m.column - 1;
            m.column = last_column - 1;
        }
        if (!m.fill_pattern.empty()) {
            long long gap = m.fill_column - length - m.column;
            long long pattern = static_cast<long long>(m.fill_pattern.size());
            long long copies = floor_div(gap, pattern);
            length += gap - pattern * copies + (copies > 0 ? copies * pattern : 0);
            m.fill_pattern.clear();
            m.fill_column = 0;
        }
        written += length;
        if (feed != 0) {
            m.lines_in_page = saturate16(m.lines_in_page + feed);
            m.column = 0;
        } else {
            m.column = saturate16(m.column + length);
        }
        if (m.opened) {
            m.body_chars += written;
            m.line_ends += std::max<long long>(feed, 0);
            m.body_bytes += 6 * written + 2 * std::max<long long>(feed, 0) + 40;
        }
    }
    return m;
}

// A short view of the bytes around an offset, for reports.
inline std::string around(const std::string& bytes, std::size_t at) {
    std::size_t from = at < 30 ? 0 : at - 30;
    return "offset " + std::to_string(at) + " in " + printable(bytes.substr(from, 70));
}

// True when bytes hold text at offset at.
inline bool holds_at(const std::string& bytes, std::size_t at, const std::string& text) {
    return bytes.compare(at, text.size(), text) == 0;
}

// Reads the body: only the style tags, separators, the four entities, line ends and
// UTF-8 text may stand in it. Counts characters, line ends and separators.
inline std::string scan_body(const std::string& body, long long& chars, long long& line_ends,
                             long long& separators) {
    static const std::vector<std::string> tags = {"<SPAN CLASS='pica'>",
                                                  "<SPAN CLASS='elit'>",
                                                  "<SPAN CLASS='comp'>",
                                                  "</SPAN>",
                                                  "<B>",
                                                  "</B>",
                                                  "<U>",
                                                  "</U>",
                                                  "<I>",
                                                  "</I>"};
    static const std::vector<std::string> entities = {"&amp;", "&lt;", "&gt;", "&#39;"};
    static const std::string separator = "<DIV CLASS='salt'>&nbsp;</DIV>\r\n";
    chars = line_ends = separators = 0;
    for (std::size_t i = 0; i < body.size();) {
        unsigned char b = static_cast<unsigned char>(body[i]);
        if (b == '<') {
            if (holds_at(body, i, separator)) {
                ++separators;
                i += separator.size();
                continue;
            }
            auto tag = std::find_if(tags.begin(), tags.end(),
                                    [&](const std::string& t) { return holds_at(body, i, t); });
            if (tag == tags.end()) return "an unescaped \"<\" in the body at " + around(body, i);
            i += tag->size();
            continue;
        }
        ++chars;
        if (b == '&') {
            auto entity = std::find_if(entities.begin(), entities.end(),
                                       [&](const std::string& e) { return holds_at(body, i, e); });
            if (entity == entities.end())
                return "an unescaped \"&\" in the body at " + around(body, i);
            i += entity->size();
        } else if (b == '>' || b == '\'') {
            return "an unescaped \">\" or \"'\" in the body at " + around(body, i);
        } else if (b == '\r') {
            if (i + 1 >= body.size() || body[i + 1] != '\n')
                return "a CR without LF in the body at " + around(body, i);
            --chars;
            ++line_ends;
            i += 2;
        } else if (b < 0x80) {
            ++i;
        } else {
            std::size_t tail = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : 0;
            if (tail == 0 || i + tail >= body.size())
                return "a byte that begins no UTF-8 character at " + around(body, i);
            for (std::size_t k = 1; k <= tail; ++k)
                if ((static_cast<unsigned char>(body[i + k]) & 0xC0) != 0x80)
                    return "a broken UTF-8 character at " + around(body, i);
            i += tail + 1;
        }
    }
    return {};
}

// Checks a finished document: header, escaped header values, footer, and a body that
// agrees with the model.
inline std::string check_document(const std::string& doc, bool markup, const RunModel& m) {
    static const std::string first = "<HTML XMLNS:IE>\r\n";
    static const std::string body_start = "<BODY><PRE>\r\n";
    static const std::string footer = "</PRE></BODY>\r\n\r\n</HTML>\r\n";
    if (!holds_at(doc, 0, first)) return "the document does not begin with the header";
    std::size_t header_end = doc.find(body_start);
    if (header_end == std::string::npos) return "the document has no \"<BODY><PRE>\" line";
    header_end += body_start.size();
    if (doc.size() < header_end + footer.size() ||
        doc.compare(doc.size() - footer.size(), footer.size(), footer) != 0)
        return "the document does not end with the footer: " +
               around(doc, doc.size() < 40 ? 0 : doc.size() - 10);
    if (doc.find("</PRE></BODY>") != doc.size() - footer.size())
        return "\"</PRE></BODY>\" stands in the document before its footer";

    const std::string header = doc.substr(0, header_end);
    const std::vector<std::string> lines =
        markup ? std::vector<std::string>{"  <TITLE> &lt;SCRIPT&gt;alert(&#39;t&#39;)&lt;/SCRIPT&gt;"
                                          "&amp; </TITLE>\r\n",
                                          "  <META NAME='author' CONTENT='O&#39;Brien &lt;b&gt;'>\r\n",
                                          "  <META NAME='keywords' CONTENT='&lt;IMG SRC=x "
                                          "onerror=alert(1)&gt;'>\r\n"}
               : std::vector<std::string>{"  <TITLE>  </TITLE>\r\n",
                                          "  <META NAME='author' CONTENT='Jos\xC3\xA9'>\r\n"};
    for (const std::string& line : lines)
        if (header.find(line) == std::string::npos)
            return "the header lacks the line " + printable(line);
    if (!markup && header.find("NAME='keywords'") != std::string::npos)
        return "the header has a keywords line without keywords";

    long long chars = 0, line_ends = 0, separators = 0;
    const std::string body = doc.substr(header_end, doc.size() - footer.size() - header_end);
    std::string problem = scan_body(body, chars, line_ends, separators);
    if (!problem.empty()) return problem;
    if (chars != m.body_chars || line_ends != m.line_ends || separators != m.separators)
        return "the body holds " + std::to_string(chars) + " characters, " +
               std::to_string(line_ends) + " line ends and " + std::to_string(separators) +
               " separators where the print file gives " + std::to_string(m.body_chars) + ", " +
               std::to_string(m.line_ends) + " and " + std::to_string(m.separators);
    return {};
}

// Runs the interpreter on one print file in dir and checks the run.
inline RunVerdict run_and_judge(const std::filesystem::path& dir, const RunCase& c,
                                bool may_hand_off) {
    RunVerdict verdict;
    const bool by_mail = c.options & 1, print_also = c.options & 2;
    const bool markup = c.options & 8;
    const std::string print_file =
        (c.options & 128) ? expand_long_lines(c.print_file) : c.print_file;
    RunModel model = model_run(print_file, by_mail, print_also);
    if (model.body_bytes > run_body_budget) {
        verdict.rejected = true;
        return verdict;
    }

    empty_dir(dir);
    std::filesystem::create_directory(dir / "out");
    write_bytes(dir / "zalprint.tmp", print_file);

    config::SessionContext session;
    session.temp_dir = dir.string() + "\\";
    session.terminal_dir = session.temp_dir;
    session.title = markup ? " <SCRIPT>alert('t')</SCRIPT>& " : "  ";
    session.operator_name = markup ? "O'Brien <b>" : "Jos\x82";
    session.colours = config::parse_colour_text(config::default_colour_text);
    if (c.options & 16) session.colours = {{{99, -1}, {-1, 99}, {0, 7}, {15, 15}, {16, -32768}}};
    config::RunOptions options;
    options.show_document = may_hand_off && (c.options & 4);
    options.output_dir = session.temp_dir + "out\\";
    options.keywords = markup ? "<IMG SRC=x onerror=alert(1)>" : "";
    options.by_mail = by_mail;
    options.print_also = print_also;

    static const int sizes[4][2] = {{25, 80}, {24, 80}, {25, 47}, {0, 0}};
    const int rows = sizes[(c.options >> 5) & 3][0], columns = sizes[(c.options >> 5) & 3][1];
    const bool full_screen = rows == 25 && columns == 80;
    platform::memory_console_reset(rows, columns);
    paint_screen(rows, columns);
    if (rows > 9) platform::console_set_cursor(9, 0);
    const std::vector<platform::Cell> screen_before = screen_cells(rows, columns);

    console::Console con;
    console::console_open(con);
    hta::HtaDocument document;
    hta::TextStack stack;
    const std::string probe = (dir / "zalprint.tmp").string();
    platform::FileHandle handle_before = platform::open_shared_read(probe);
    platform::close_file(handle_before);
    printfile::interpret_print_file(session, options, document, stack, con);
    console::console_flush(con);
    platform::FileHandle handle_after = platform::open_shared_read(probe);
    platform::close_file(handle_after);

    std::string& problem = verdict.problem;
    auto counters = [](long long pages, long long lines, long long column) {
        return "page_count " + std::to_string(pages) + ", lines_in_page " + std::to_string(lines) +
               ", column " + std::to_string(column);
    };
    if (handle_after != handle_before || document.file != platform::no_file) {
        problem = "the run left a file open";
    } else if (document.opened != model.opened) {
        problem = model.opened ? "a DEVICE line was handled but the document is not opened"
                               : "the document is opened without a DEVICE line";
    } else if (document.page_count != model.page_count ||
               document.lines_in_page != model.lines_in_page || document.column != model.column) {
        problem = "the run ends with " +
                  counters(document.page_count, document.lines_in_page, document.column) +
                  " where the print file gives " +
                  counters(model.page_count, model.lines_in_page, model.column);
    } else if (document.fill_pattern != model.fill_pattern ||
               (!model.fill_pattern.empty() && document.fill_column != model.fill_column)) {
        problem = "the pending fill is " + printable(document.fill_pattern) +
                  " where the print file leaves " + printable(model.fill_pattern);
    }
    if (!problem.empty()) return verdict;

    const std::set<std::string> temp_entries = entry_names(dir);
    const std::set<std::string> out_entries = entry_names(dir / "out");
    if (temp_entries != std::set<std::string>{"out", "zalprint.tmp"}) {
        problem = "the temporary directory holds other files after the run";
        for (const std::string& name : temp_entries) problem += " " + printable(name);
        return verdict;
    }
    if (!model.opened) {
        if (!out_entries.empty()) problem = "a document was created without a DEVICE line";
        return verdict;
    }
    const std::string name = document.path.substr(document.path.find_last_of("\\/:") + 1);
    bool name_ok = name.size() == 12 && name.compare(8, 4, ".hta") == 0 &&
                   std::all_of(name.begin(), name.begin() + 8, [](char ch) {
                       return (ch >= '0' && ch <= '9') || (ch >= 'A' && ch <= 'Z');
                   });
    if (out_entries != std::set<std::string>{name} || !name_ok) {
        problem = "the output directory does not hold just the document " + printable(name);
        return verdict;
    }
    problem = check_document(read_bytes(dir / "out" / name), markup, model);
    if (!problem.empty()) return verdict;

    if (full_screen) {
        // The progress text may run past the box's right edge (row 24, columns 49-50): it
        // grows to the right and is not cut, and the restore covers the box only.
        std::string cell =
            screen_difference(screen_before, screen_cells(rows, columns), columns, 23, 48, 49);
        if (!cell.empty()) problem = "the screen is not restored at " + cell;
        platform::ConsoleInfo info = platform::console_info();
        if (problem.empty() && (info.cursor_row != 9 || info.cursor_column != 0))
            problem = "the cursor is not back at row 10, column 1";
    }
    return verdict;
}

// Runs the interpreter on one print file in dir (empty before and after) and checks the
// run; a hand-off is attempted only when may_hand_off says that none can start.
inline RunVerdict check_run_case(const std::filesystem::path& dir, const RunCase& c,
                                 bool may_hand_off) {
    RunVerdict verdict = run_and_judge(dir, c, may_hand_off);
    empty_dir(dir);
    return verdict;
}

}  // namespace fuzz
