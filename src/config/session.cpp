// Start-up: the session context from the environment, Sessio.ini and VeskTerm.ini.
#include "config/session.h"

#include "config/ini.h"
#include "config/text_rules.h"
#include "platform/platform.h"

namespace config {

// Appends a backslash unless the directory is empty or ends in ":" or "\".
std::string normalise_directory(const std::string& dir) {
    if (dir.empty() || dir.back() == ':' || dir.back() == '\\') return dir;
    return dir + "\\";
}

// Five colour pairs from a text of two digits per number; missing pairs are 0.
ColourTable parse_colour_text(const std::string& text) {
    ColourTable table{};
    for (std::size_t e = 0; e < table.size(); ++e) {
        for (std::size_t k = 0; k < 2; ++k) {
            std::size_t at = 4 * e + 2 * k;
            table[e][k] = at < text.size() ? to_int16(parse_number(text.substr(at, 2))) : 0;
        }
    }
    return table;
}

// Selects the OEM code page and fills the session context from the environment and the INI files.
void load_session_context(SessionContext& session) {
    platform::select_oem_code_page();
    session.exe_dir = platform::get_env("ZALEXE");
    session.temp_dir = normalise_directory(platform::get_env("ZALTMP"));

    const std::string session_file = session.temp_dir + "Sessio.ini";
    session.title = " " + read_ini_value(session_file, "Menu", "Titol") + " ";
    session.operator_name = read_ini_value(session_file, "Menu", "Operador");
    session.terminal_dir = read_ini_value(session_file, "Terminal", "Dir");
    if (session.terminal_dir.empty()) session.terminal_dir = platform::get_env("TERM");
    session.terminal_dir = normalise_directory(session.terminal_dir);
    if (session.temp_dir.empty()) session.temp_dir = session.terminal_dir;

    const std::string settings_file = session.temp_dir + "VeskTerm.ini";
    std::int16_t selection =
        to_int16(parse_number(read_ini_value(settings_file, "Pantalla", "Seleccio")));
    std::string colour_text =
        read_ini_value(settings_file, "Pantalla", "Col" + std::to_string(selection));
    if (colour_text.empty()) colour_text = default_colour_text;
    session.colours = parse_colour_text(colour_text);
}

}  // namespace config
