// The interpreter loop over small print files in a temporary suite folder:
// the SEND switch, the document's naming and creation, and which lines
// refresh the status box.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "printfile/interpreter.h"

namespace {

namespace fs = std::filesystem;

// A temporary suite folder that serves as ZALTMP and output directory.
struct SuiteFolder {
    fs::path dir;
    config::SessionContext session;
    config::RunOptions options;

    SuiteFolder() {
        const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
        dir = fs::temp_directory_path() / (std::string("zalprint-printfile-") + test->name() + "-" +
                                           std::to_string(std::random_device{}()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        session.temp_dir = dir.string() + "\\";
        options.output_dir = session.temp_dir;
        options.show_document = false;  // nothing is handed off from a unit test
    }
    ~SuiteFolder() {
        std::error_code ignored;
        fs::remove_all(dir, ignored);
    }

    void write_print_file(const std::string& bytes) const {
        std::ofstream(dir / "zalprint.tmp", std::ios::binary) << bytes;
    }
};

// The document and the console after one run over the print file.
struct RunRecords {
    hta::HtaDocument document;
    hta::TextStack stack;
    console::Console console;
};

// Runs the interpreter. Natively the console is 24 rows high, so the status
// box opens no window: its caption and progress text land at row 1 from
// column 2 and stay there after the box is closed.
void interpret(const SuiteFolder& suite, RunRecords& run) {
#ifndef _WIN32
    platform::memory_console_reset(24, 80);
#endif
    console::console_open(run.console);
    printfile::interpret_print_file(suite.session, suite.options, run.document, run.stack,
                                    run.console);
}

#ifndef _WIN32
// The 11 cells that the caption and the progress text share.
std::string status_text() {
    platform::Cell cells[11];
    platform::console_read_cells(0, 1, cells, 11);
    std::u16string units;
    for (const platform::Cell& cell : cells) units += cell.ch;
    return platform::utf16_to_oem(units);
}
#endif

TEST(PrintfileInterpreter, SendSwitchFollowsTheMailOptions) {
    // A: page 1; B, the second PAGE and C lie in a section with a destination;
    // D follows the SEND line that ends it.
    const std::string print_file =
        "DEVICE P\r\nPAGE 1\r\n1,A,1\r\nSEND ARXIU\r\n1,B,1\r\nPAGE 2\r\n1,C,1\r\n"
        "Send,ignored\r\n1,D,1\r\n";
    struct Case {
        std::int16_t by_mail, print_also;
        std::int16_t pages, lines;
    };
    const std::vector<Case> cases = {
        {0, 0, 2, 2},   // no mail: SEND lines have no effect
        {1, 1, 2, 2},   // mail and printing as well: no effect either
        {1, 0, 1, 2},   // mail only: B, PAGE 2 and C are skipped
        {-1, 0, 1, 2},  // any non-zero value means mail
    };
    for (const Case& c : cases) {
        SuiteFolder suite;
        suite.options.by_mail = c.by_mail;
        suite.options.print_also = c.print_also;
        suite.write_print_file(print_file);
        RunRecords run;
        interpret(suite, run);
        EXPECT_EQ(run.document.page_count, c.pages) << c.by_mail << "/" << c.print_also;
        EXPECT_EQ(run.document.lines_in_page, c.lines) << c.by_mail << "/" << c.print_also;
    }
}

TEST(PrintfileInterpreter, DocumentIsNamedInTheOutputDirectoryAndCreatedByDevice) {
    SuiteFolder suite;
    suite.write_print_file("DEVICE P\r\nPAGE\r\n5,TOTAL,1\r\n");
    RunRecords run;
    interpret(suite, run);
    const std::string& path = run.document.path;
    ASSERT_EQ(path.size(), suite.session.temp_dir.size() + 12) << path;
    EXPECT_EQ(path.substr(0, suite.session.temp_dir.size()), suite.session.temp_dir);
    EXPECT_EQ(path.substr(path.size() - 4), ".hta");
    std::string name = path.substr(suite.session.temp_dir.size(), 8);
    EXPECT_EQ(name.find_first_not_of("0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ"), std::string::npos);

    std::ifstream in(suite.dir / (name + ".hta"), std::ios::binary);
    std::string body((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(body.find("<BODY><PRE>\r\n    TOTAL\r\n</PRE></BODY>\r\n\r\n</HTML>\r\n"),
              std::string::npos);
    EXPECT_EQ(run.document.file, platform::no_file);  // closed again
}

TEST(PrintfileInterpreter, DeviceInsideASkippedSectionOpensNoDocument) {
    SuiteFolder suite;
    suite.options.by_mail = 1;
    suite.write_print_file("SEND A\r\nDEVICE P\r\nPAGE\r\n1,A,1\r\nSEND\r\n");
    RunRecords run;
    interpret(suite, run);
    EXPECT_FALSE(run.document.opened);
    EXPECT_EQ(run.document.page_count, 0);
    int entries = 0;
    for (const fs::directory_entry& e : fs::directory_iterator(suite.dir))
        entries += e.path().extension() == ".hta";
    EXPECT_EQ(entries, 0);
}

TEST(PrintfileInterpreter, LfOnlyPrintFileIsOneDeviceLine) {
    SuiteFolder suite;
    suite.write_print_file("DEVICE P\nPAGE\n1,A,1\n");
    RunRecords run;
    interpret(suite, run);
    EXPECT_TRUE(run.document.opened);
    EXPECT_EQ(run.document.page_count, 0);
    EXPECT_EQ(run.document.lines_in_page, 0);
}

#ifndef _WIN32
TEST(PrintfileInterpreter, ProgressFollowsEveryHandledLineAndOnlyThose) {
    const std::string caption = "  PAG / LIN";
    struct Case {
        const char* name;
        const char* print_file;  // nullptr: there is none
        std::int16_t by_mail;
        std::string shown;
    };
    const std::vector<Case> cases = {
        {"missing print file", nullptr, 0, caption},
        {"empty print file", "", 0, caption},
        {"SEND lines only", "SEND A\r\nSEND\r\nsend,x\r\n", 1, caption},
        {"skipped section only", "SEND A\r\nDEVICE P\r\nPAGE\r\n1,A,1\r\n", 1, caption},
        {"a line of blanks", "   \r\n", 0, "    0 /   0"},
        {"text before any DEVICE", "PAGE\r\n1,A,3\r\n", 0, "    1 /   3"},
        {"last update after the skipped section", "PAGE\r\n1,A,1\r\nSEND A\r\n1,B,1\r\n", 1,
         "    1 /   1"},
        {"second DEVICE ignored, still an update",
         "DEVICE P\r\nPAGE\r\n1,A,2\r\nPAGE\r\n1,B,1\r\nDEVICE P\r\n", 0, "    2 /   1"},
    };
    for (const Case& c : cases) {
        SuiteFolder suite;
        suite.options.by_mail = c.by_mail;
        if (c.print_file) suite.write_print_file(c.print_file);
        RunRecords run;
        interpret(suite, run);
        EXPECT_EQ(status_text(), c.shown) << c.name;
    }
}
#endif

}  // namespace
