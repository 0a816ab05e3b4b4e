// The run options from fixture option files, the mail command line, and the
// completion of a run that starts a recorder program named ZIRIDU.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/run.h"
#include "config_test_support.h"
#include "hta/document.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using zaltest::TempFolder;

// Replaces every "{T}" by the folder's path (which ends in a backslash).
std::string with_folder(std::string text, const std::string& folder) {
    for (std::size_t at; (at = text.find("{T}")) != std::string::npos;) text.replace(at, 3, folder);
    return text;
}

TEST(RunOptions, ReadFromBothOptionFiles) {
    struct Case {
        const char* what;
        std::string zal_print;  // ZalPrint.ini in the temporary directory
        std::string terminal;   // ZALPRINT.INI in the terminal directory
        bool show;
        std::string output_dir;  // "{T}" is the temporary directory
        std::string keywords;
        std::int16_t by_mail, print_also;
    };
    const std::vector<Case> cases = {
        {"defaults", "", "", true, "{T}", "", 0, 0},
        {"Mostrar=N", "[Opcions]\r\nMostrar=N\r\n", "", false, "{T}", "", 0, 0},
        {"Mostrar=n", "[Opcions]\r\nMostrar=n\r\n", "", false, "{T}", "", 0, 0},
        {"Mostrar=No", "[Opcions]\r\nMostrar=No\r\n", "", true, "{T}", "", 0, 0},
        {"Mostrar= N", "[Opcions]\r\nMostrar= N\r\n", "", true, "{T}", "", 0, 0},
        {"Mostrar=N ;x", "[Opcions]\r\nMostrar=N ;x\r\n", "", true, "{T}", "", 0, 0},
        {"Keywords", "[Opcions]\r\nKeywords=a, b\r\n", "", true, "{T}", "a, b", 0, 0},
        {"Directori gets a backslash", "[Opcions]\r\nDirectori={T}OUT\\DOCS\r\n", "", true,
         "{T}OUT\\DOCS\\", "", 0, 0},
        {"Directori ending in /", "[Opcions]\r\nDirectori={T}SLASH/\r\n", "", true, "{T}SLASH/", "",
         0, 0},
        {"Directori drive only", "[Opcions]\r\nDirectori=D:\r\n", "", true, "D:", "", 0, 0},
        {"Directori of blanks", "[Opcions]\r\nDirectori=   \r\n", "", true, "{T}", "", 0, 0},
        {"PerCorreu=S", "", "[Entrada]\r\nPerCorreu=S\r\n", true, "{T}", "", 0, 0},
        {"PerCorreu=1", "", "[Entrada]\r\nPerCorreu=1\r\nPrtTambe=1\r\n", true, "{T}", "", 1, 1},
        {"PerCorreu=-1", "", "[Entrada]\r\nPerCorreu=-1\r\n", true, "{T}", "", -1, 0},
        {"PerCorreu saturates, never wraps to 0", "", "[Entrada]\r\nPerCorreu=65536\r\n", true,
         "{T}", "", 32767, 0},
    };
    for (const Case& c : cases) {
        TempFolder temp, terminal;
        config::SessionContext session;
        session.temp_dir = temp.path();
        session.terminal_dir = terminal.path();
        zaltest::write_bytes(temp.dir / "ZalPrint.ini", with_folder(c.zal_print, temp.path()));
        zaltest::write_bytes(terminal.dir / "ZALPRINT.INI", c.terminal);
        config::RunOptions options;
        config::read_run_options(session, options);
        SCOPED_TRACE(c.what);
        EXPECT_EQ(options.show_document, c.show);
        EXPECT_EQ(options.output_dir, with_folder(c.output_dir, temp.path()));
        EXPECT_EQ(options.keywords, c.keywords);
        EXPECT_EQ(options.by_mail, c.by_mail);
        EXPECT_EQ(options.print_also, c.print_also);
    }
}

TEST(RunOptions, CreatesTheConfiguredDirectoryAlongItsPath) {
    TempFolder temp;
    config::SessionContext session;
    session.temp_dir = session.terminal_dir = temp.path();
    // One file serves as ZalPrint.ini and ZALPRINT.INI when the directories coincide.
    zaltest::write_bytes(temp.dir / "ZalPrint.ini", "[Opcions]\r\nDirectori=" + temp.path() +
                                                        "OUT\\DOCS\\\r\n"
                                                        "[Entrada]\r\nPerCorreu=1\r\n");
    config::RunOptions options;
    config::read_run_options(session, options);
    EXPECT_TRUE(fs::is_directory(temp.dir / "OUT" / "DOCS"));
    EXPECT_EQ(options.output_dir, temp.path() + "OUT\\DOCS\\");
    EXPECT_EQ(options.by_mail, 1);
}

TEST(Completion, MailCommandLine) {
    struct Case {
        const char* exe_dir;
        const char* line;
    };
    const std::vector<Case> cases = {
        {"C:\\APP\\", "C:\\APP\\ZIRIDU"},
        {"C:\\APP", "C:\\APPZIRIDU"},  // no separator is inserted
        {"", "ZIRIDU"},
        {"C:\\Els meus\\", "\"C:\\Els meus\\ZIRIDU\""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(config::mail_command_line(c.exe_dir), c.line) << c.exe_dir;
}

TEST(Completion, ClosesTheDocumentLeftOpen) {
    TempFolder temp;
    hta::HtaDocument document;
    document.file = platform::create_shared_write(temp.path() + "left.hta");
    ASSERT_NE(document.file, platform::no_file);
    document.output = "</HTML>";
    config::complete_run(config::SessionContext{}, config::RunOptions{}, document);
    EXPECT_EQ(document.file, platform::no_file);
    EXPECT_EQ(zaltest::read_bytes(temp.dir / "left.hta"), "</HTML>");
}

#ifndef _WIN32
// A programs folder whose path is longer than 256 characters and holds a
// blank, with a ZIRIDU that logs how it was started.
struct RecorderFolder {
    TempFolder root;
    fs::path programs = root.dir / "Els meus" / std::string(120, 'p') / std::string(120, 'q');
    RecorderFolder() {
        fs::create_directories(programs);
        zaltest::write_bytes(programs / "ZIRIDU",
                             "#!/bin/sh\necho \"$0|$#\" >> \"$(dirname \"$0\")/calls.log\"\n");
        fs::permissions(programs / "ZIRIDU", fs::perms::owner_all);
    }
    std::string exe_dir() const { return zaltest::suite_path(programs) + "\\"; }
    std::string log() const { return zaltest::read_bytes(programs / "calls.log"); }
};

TEST(Completion, RunsZiriduWithTheWholeQuotedCommandLineWhenMailIsOn) {
    struct Case {
        std::int16_t by_mail;
        bool started;
    };
    for (const Case& c : std::vector<Case>{{1, true}, {-1, true}, {0, false}}) {
        RecorderFolder recorder;
        ASSERT_GT(recorder.exe_dir().size(), 256u);
        config::SessionContext session;
        session.exe_dir = recorder.exe_dir();
        config::RunOptions options;
        options.by_mail = c.by_mail;
        hta::HtaDocument document;
        config::complete_run(session, options, document);
        EXPECT_EQ(recorder.log(), c.started ? (recorder.programs / "ZIRIDU").string() + "|0\n" : "")
            << c.by_mail;
    }
}

TEST(Completion, RunAndWaitReturnsTheExitCodeOrZero) {
    TempFolder temp;
    zaltest::write_bytes(temp.dir / "exit7", "#!/bin/sh\nexit 7\n");
    fs::permissions(temp.dir / "exit7", fs::perms::owner_all);
    EXPECT_EQ(config::run_and_wait(temp.path() + "exit7"), 7);
    EXPECT_EQ(config::run_and_wait(temp.path() + "no-such-program"), 0);
}
#endif

}  // namespace
