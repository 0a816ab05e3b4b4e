// The main sequence of a run, its completion with the mail hand-off, and the
// one way the system starts another program.
#include "config/run.h"
#include "config/session.h"
#include "console/console.h"
#include "hta/document.h"
#include "platform/platform.h"
#include "printfile/interpreter.h"

namespace config {

// The mail program's command line: exe_dir + "ZIRIDU", quoted when it holds a blank.
std::string mail_command_line(const std::string& exe_dir) {
    std::string program = exe_dir + "ZIRIDU";
    // Unquoted, a blank would end the program's name on the command line.
    if (program.find(' ') != std::string::npos) return "\"" + program + "\"";
    return program;
}

// Starts a command line, shown normally, waits for it and gives its exit code.
std::int32_t run_and_wait(const std::string& command_line) {
    return platform::run_process(command_line);  // passed whole, however long
}

// Closes the document if it is still open and, with mail delivery on, runs ZIRIDU.
void complete_run(const SessionContext& session, const RunOptions& options,
                  hta::HtaDocument& document) {
    hta::document_close_file(document);
    if (options.by_mail != 0) run_and_wait(mail_command_line(session.exe_dir));
}

// The whole run in order: console, session, options, print file, completion.
int run_main() {
    console::Console console;
    console::console_open(console);
    SessionContext session;
    load_session_context(session);
    RunOptions options;
    read_run_options(session, options);
    hta::HtaDocument document;
    hta::TextStack stack;
    printfile::interpret_print_file(session, options, document, stack, console);
    complete_run(session, options, document);
    console::console_flush(console);
    return 0;
}

}  // namespace config
