// The session context: directories, report title, operator and colours, read
// once at start-up from the environment, Sessio.ini and VeskTerm.ini.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace config {

// Console colours of the terminal: entries 0-4, element 0 the foreground and
// element 1 the background colour number.
using ColourTable = std::array<std::array<std::int16_t, 2>, 5>;

// The colour text used when VeskTerm.ini gives none.
constexpr const char* default_colour_text = "15000700000700070007";

struct SessionContext {
    std::string temp_dir;      // ZALTMP, normalised; terminal_dir when empty
    std::string exe_dir;       // ZALEXE exactly as given
    std::string terminal_dir;  // Sessio.ini [Terminal] Dir, else TERM; normalised
    std::string title;         // " " + [Menu] Titol + " "
    std::string operator_name; // [Menu] Operador
    ColourTable colours{};
};

// Appends a backslash unless the directory is empty or ends in ":" or "\".
std::string normalise_directory(const std::string& dir);
// Fills the colour table from a colour text of 20 digits, two per number.
ColourTable parse_colour_text(const std::string& text);
// Selects the OEM code page and fills the session context.
void load_session_context(SessionContext& session);

}  // namespace config
