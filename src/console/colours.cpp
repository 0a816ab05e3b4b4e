// Colours chosen by attribute letters from the terminal's colour table, with
// a last-in first-out memory of earlier colour indexes.
#include "config/text_rules.h"
#include "console/console.h"

namespace console {

// True when every byte of text equals code, or text is empty.
bool is_all_one_char(const std::string& text, int code) {
    for (unsigned char byte : text)
        if (byte != code) return false;
    return true;
}

// Applies a colour chosen by attribute letters: "+" push, "-" pop, "U", "R", "N".
void set_colour(Console& console, const config::ColourTable& colours,
                const std::string& attributes) {
    const std::string letters = config::upper_oem(attributes);
    if (is_all_one_char(letters, ' ')) return;
    const auto has = [&letters](char c) { return letters.find(c) != std::string::npos; };
    ColourState& state = console.colours;
    if (has('+')) state.colour_stack += static_cast<char>(state.colour_index);
    std::int16_t index = 0;
    if (has('-')) {
        if (!state.colour_stack.empty()) {
            index = static_cast<unsigned char>(state.colour_stack.back());
            state.colour_stack.pop_back();
        }
    } else if (has('U')) {
        index = 4;
    } else {
        index = static_cast<std::int16_t>((has('R') ? 2 : 0) + (has('N') ? 1 : 0));
    }
    // Indexes only ever come from this function, so they name an entry; the
    // check keeps a stack byte of another origin from reading off the table.
    if (index >= 0 && index < static_cast<std::int16_t>(colours.size()))
        console_set_colour(console, colours[static_cast<std::size_t>(index)][0],
                           colours[static_cast<std::size_t>(index)][1]);
    state.colour_index = index;
}

}  // namespace console
