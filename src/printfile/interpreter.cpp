// The interpreter loop: reads zalprint.tmp, applies the SEND switch and hands
// every other line to the document writer, keeping the status box up to date.
#include "printfile/interpreter.h"

#include <cstdint>
#include <string>

#include "console/status_box.h"
#include "fsutil/files.h"
#include "fsutil/line_reader.h"

namespace printfile {
namespace {

// The output stays on unless mail delivery without printing is configured
// and the SEND line names a destination.
bool send_enables_output(const config::RunOptions& options, const std::string& line) {
    return options.print_also != 0 || options.by_mail == 0 || send_first_field(line).empty();
}

// Hands one line of a kind other than SEND to the document writer.
void handle_line(LineKind kind, const std::string& line, const config::SessionContext& session,
                 const config::RunOptions& options, hta::HtaDocument& document,
                 hta::TextStack& stack, std::int16_t& last_column) {
    switch (kind) {
        case LineKind::device:
            hta::open_document(document, session, options, device_letter(line));
            break;
        case LineKind::page:
            hta::start_page(document);
            break;
        case LineKind::style:
            hta::apply_style_commands(document, style_command(line));
            break;
        case LineKind::jus: {
            std::int16_t fill_column = 0;
            std::string pattern;
            if (parse_jus_line(line, fill_column, pattern))
                hta::request_fill(document, fill_column, pattern);
            break;
        }
        case LineKind::text: {
            std::string text;
            std::int16_t feed_count = 0;
            parse_text_line(line, last_column, text, feed_count);
            hta::write_text_line(document, stack, last_column, text, feed_count);
            break;
        }
        case LineKind::blank:
        case LineKind::send:
            break;
    }
}

}  // namespace

void interpret_print_file(const config::SessionContext& session, const config::RunOptions& options,
                          hta::HtaDocument& document, hta::TextStack& stack,
                          console::Console& console) {
    // The name is drawn now; the DEVICE line creates the file.
    document.path = fsutil::make_unique_name(options.output_dir, "", "hta");
    console::open_status_box(console, session);

    // A print file that cannot be opened reads as an empty one.
    fsutil::LineReader reader;
    fsutil::open_line_reader(reader, session.temp_dir + "zalprint.tmp");
    bool output_enabled = true;
    std::int16_t last_column = 0;
    std::string line;
    while (fsutil::read_line(reader, line)) {
        LineKind kind = classify_line(line);
        if (kind == LineKind::send) {
            output_enabled = send_enables_output(options, line);
            continue;
        }
        if (!output_enabled) continue;
        handle_line(kind, line, session, options, document, stack, last_column);
        console::show_progress(console, document.page_count, document.lines_in_page);
    }
    fsutil::close_line_reader(reader);

    console::close_status_box(console, session);
    hta::close_document(document, options);
    hta::document_close_file(document);
}

}  // namespace printfile
