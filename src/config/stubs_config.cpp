// Placeholder bodies until the subsystem lands.
#include "config/ini.h"
#include "config/run.h"
#include "config/session.h"
#include "config/text_rules.h"
#include "hta/document.h"

namespace config {
std::string trim_left(const std::string& text) { return text; }
std::string trim_right(const std::string& text) { return text; }
std::string trim(const std::string& text) { return text; }
std::string upper_oem(const std::string& text) { return text; }
double parse_number(const std::string&) { return 0; }
std::int16_t to_int16(double) { return 0; }
std::int16_t add_int16(std::int16_t a, long long) { return a; }
std::string read_ini_value(const std::string&, const std::string&, const std::string&) { return {}; }
std::string normalise_directory(const std::string& dir) { return dir; }
ColourTable parse_colour_text(const std::string&) { return {}; }
void load_session_context(SessionContext&) {}
void read_run_options(const SessionContext&, RunOptions&) {}
void complete_run(const SessionContext&, const RunOptions&, hta::HtaDocument&) {}
std::string mail_command_line(const std::string& exe_dir) { return exe_dir; }
std::int32_t run_and_wait(const std::string&) { return 0; }
int run_main() { return 0; }
}  // namespace config
