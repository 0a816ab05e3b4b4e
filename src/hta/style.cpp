// Style commands: pitch changes as spans of the header's pitch classes, and
// bold, underline and italic switched on and off.
#include "config/text_rules.h"
#include "hta/document.h"

namespace hta {
namespace {

// Closes the span in force unless the pitch stays, then opens the span of the new pitch.
void write_pitch_span(HtaDocument& document, std::int16_t pitch_at_start, std::int16_t pitch,
                      const char* span) {
    if (pitch_at_start != pitch) document_write(document, "</SPAN>");
    document_write(document, span);
}

// Writes the closing or opening tag of a style element and inverts its toggle.
void toggle_element(HtaDocument& document, bool& open, const char* tag_open,
                    const char* tag_close) {
    document_write(document, open ? tag_close : tag_open);
    open = !open;
}

}  // namespace

// Turns a style command string into pitch spans and bold, underline, italic
// tags. Every pitch letter compares against the pitch at the start of the
// call; the last pitch letter decides the pitch afterwards.
void apply_style_commands(HtaDocument& document, const std::string& commands) {
    const std::int16_t pitch_at_start = document.pitch;
    std::int16_t new_pitch = 0;
    bool pitch_changed = false;
    for (char c : commands) {
        char letter = config::upper_oem(std::string(1, c))[0];
        switch (letter) {
            case '@':
            case 'N':
                write_pitch_span(document, pitch_at_start, 10, "<SPAN CLASS='pica'>");
                new_pitch = 10;
                pitch_changed = true;
                break;
            case 'E':
                write_pitch_span(document, pitch_at_start, 12, "<SPAN CLASS='elit'>");
                new_pitch = 12;
                pitch_changed = true;
                break;
            case 'Q':
                write_pitch_span(document, pitch_at_start, 17, "<SPAN CLASS='comp'>");
                new_pitch = 17;
                pitch_changed = true;
                break;
            case 'X':
                new_pitch = static_cast<std::int16_t>(pitch_at_start / 2);
                pitch_changed = true;
                break;
            case 'B':
                toggle_element(document, document.bold, "<B>", "</B>");
                break;
            case 'U':
                toggle_element(document, document.underline, "<U>", "</U>");
                break;
            case 'I':
                toggle_element(document, document.italic, "<I>", "</I>");
                break;
            default:
                break;
        }
    }
    if (pitch_changed) document.pitch = new_pitch;
}

}  // namespace hta
