// The main sequence of a run, its options and its completion, and the one
// way the system starts another program.
#pragma once

#include <cstdint>
#include <string>

#include "config/session.h"

namespace hta {
struct HtaDocument;
}

namespace config {

struct RunOptions {
    bool show_document = true;  // ZalPrint.ini [Opcions] Mostrar is not "N"
    std::string output_dir;     // [Opcions] Directori, else temp_dir
    std::string keywords;       // [Opcions] Keywords
    std::int16_t by_mail = 0;   // ZALPRINT.INI [Entrada] PerCorreu
    std::int16_t print_also = 0;// ZALPRINT.INI [Entrada] PrtTambe
};

// Fills the run options from the two option files and creates the output directory.
void read_run_options(const SessionContext& session, RunOptions& options);
// Closes what the run left open and, with mail delivery on, runs ZIRIDU.
void complete_run(const SessionContext& session, const RunOptions& options,
                  hta::HtaDocument& document);
// The mail program's command line: exe_dir + "ZIRIDU", quoted when it holds a blank.
std::string mail_command_line(const std::string& exe_dir);
// Starts a command line, shown normally, and waits for it; its exit code, 0
// when it cannot be started.
std::int32_t run_and_wait(const std::string& command_line);
// The whole run, in order; returns the process exit code, always 0.
int run_main();

}  // namespace config
