// The run options from ZalPrint.ini (temporary directory) and ZALPRINT.INI
// (terminal directory), and the creation of the output directory.
#include "config/ini.h"
#include "config/run.h"
#include "config/text_rules.h"
#include "fsutil/files.h"

namespace config {

// Fills the run options from ZalPrint.ini and ZALPRINT.INI and creates the output directory.
void read_run_options(const SessionContext& session, RunOptions& options) {
    const std::string options_file = session.temp_dir + "ZalPrint.ini";
    options.show_document = upper_oem(read_ini_value(options_file, "Opcions", "Mostrar")) != "N";
    options.output_dir = read_ini_value(options_file, "Opcions", "Directori");
    options.keywords = read_ini_value(options_file, "Opcions", "Keywords");

    // A directory of blanks names no directory: with a backslash appended and
    // its blanks trimmed it would put the document in the root of the drive.
    if (trim(options.output_dir).empty()) {
        options.output_dir = session.temp_dir;
    } else {
        fsutil::make_directory_path(options.output_dir);
    }
    if (!options.output_dir.empty()) {
        char last = options.output_dir.back();
        if (last != ':' && last != '\\' && last != '/') options.output_dir += '\\';
    }

    const std::string terminal_file = session.terminal_dir + "ZALPRINT.INI";
    options.by_mail = to_int16(parse_number(read_ini_value(terminal_file, "Entrada", "PerCorreu")));
    options.print_also =
        to_int16(parse_number(read_ini_value(terminal_file, "Entrada", "PrtTambe")));
}

}  // namespace config
