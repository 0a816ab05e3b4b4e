// Closing the document: the footer, the hand-off command line, and when the
// finished document is handed to RERADA.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "hta/document.h"
#include "hta_test_support.h"

namespace {

const std::string footer = "</PRE></BODY>\r\n\r\n</HTML>\r\n";

TEST(HtaHandoff, CommandLine) {
    struct Case {
        std::string comspec, path, command_line;
    };
    const std::string long_dir = "C:\\" + std::string(300, 'D') + "\\";
    const Case cases[] = {
        {"C:\\WINDOWS\\system32\\cmd.exe", "C:\\TMP\\AB12CD34.hta",
         "C:\\WINDOWS\\system32\\cmd.exe /C RERADA C:\\TMP\\AB12CD34.hta"},
        {"C:\\WINDOWS\\system32\\cmd.exe", "C:\\Els meus informes\\AB12CD34.hta",
         "C:\\WINDOWS\\system32\\cmd.exe /C RERADA \"C:\\Els meus informes\\AB12CD34.hta\""},
        {"", "AB12CD34.hta", " /C RERADA AB12CD34.hta"},
        {"cmd.exe", long_dir + "AB12CD34.hta", "cmd.exe /C RERADA " + long_dir + "AB12CD34.hta"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(hta::handoff_command_line(c.comspec, c.path), c.command_line);
}

using HtaClose = htatest::DocumentFixture;

TEST_F(HtaClose, WritesExactlyTheFooterAndEveryLineEndsWithCrLf) {
    open();
    hta::start_page(document);
    hta::apply_style_commands(document, "EBUI");
    std::string text = "TOTAL";
    hta::write_text_line(document, stack, 5, text, 0);
    hta::close_document(document, options);
    EXPECT_EQ(document.file, platform::no_file);
    std::string bytes = file_bytes();
    ASSERT_GE(bytes.size(), footer.size());
    EXPECT_EQ(bytes.substr(bytes.size() - footer.size() - 9), "    TOTAL" + footer);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        bool bare_lf = bytes[i] == '\n' && (i == 0 || bytes[i - 1] != '\r');
        bool bare_cr = bytes[i] == '\r' && (i + 1 == bytes.size() || bytes[i + 1] != '\n');
        EXPECT_FALSE(bare_lf || bare_cr) << "at byte " << i;
    }
}

#ifndef _WIN32
// With COMSPEC pointing at a script that logs its arguments and copies the
// document it is given, as RERADA would open it.
struct HtaHandoffRun : htatest::DocumentFixture {
    std::string saved_comspec;
    bool had_comspec = false;
    htatest::fs::path log, copy;

    HtaHandoffRun() {
        if (const char* c = std::getenv("COMSPEC")) had_comspec = true, saved_comspec = c;
        log = folder.dir / "log.txt";
        copy = folder.dir / "copy.hta";
        htatest::fs::path script = folder.dir / "comspec.sh";
        std::string body = "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done >> '" +
                           log.string() + "'\ncat \"$(printf '%s' \"$3\" | tr '\\\\' /)\" > '" +
                           copy.string() + "' 2>/dev/null\n";
        std::ofstream(script, std::ios::binary) << body;
        htatest::fs::permissions(script, htatest::fs::perms::owner_all);
        setenv("COMSPEC", script.c_str(), 1);
    }
    ~HtaHandoffRun() override {
        if (had_comspec) {
            setenv("COMSPEC", saved_comspec.c_str(), 1);
        } else {
            unsetenv("COMSPEC");
        }
    }
};

TEST_F(HtaHandoffRun, OnlyWhenShownAndAPageWasStarted) {
    struct Case {
        bool show;
        int pages;
        bool handed_off;
    };
    const Case cases[] = {{true, 1, true}, {true, 3, true}, {true, 0, false}, {false, 1, false}};
    for (const Case& c : cases) {
        htatest::fs::remove(log);
        hta::HtaDocument fresh;
        fresh.path = document.path;
        document = fresh;
        options.show_document = c.show;
        open();
        for (int i = 0; i < c.pages; ++i) hta::start_page(document);
        hta::close_document(document, options);
        std::string expected =
            c.handed_off ? "[/C]\n[RERADA]\n[" + document.path + "]\n" : std::string();
        EXPECT_EQ(htatest::read_bytes(log), expected) << c.show << " " << c.pages;
    }
}

TEST_F(HtaHandoffRun, GetsTheWholeClosedDocumentAtAPathWithBlanks) {
    htatest::fs::create_directories(folder.dir / "Els meus informes");
    document.path = folder.suite_path("Els meus informes\\AB12CD34.hta");
    options.show_document = true;
    open();
    hta::start_page(document);
    hta::close_document(document, options);
    EXPECT_EQ(htatest::read_bytes(log), "[/C]\n[RERADA]\n[" + document.path + "]\n");
    std::string final_bytes =
        htatest::read_bytes(folder.dir / "Els meus informes" / "AB12CD34.hta");
    EXPECT_EQ(htatest::read_bytes(copy), final_bytes);
    EXPECT_EQ(final_bytes.substr(final_bytes.size() - footer.size()), footer);
}

TEST_F(HtaHandoffRun, RunsEvenWithoutADocumentFile) {
    document.path = folder.suite_path("missing\\AB12CD34.hta");
    options.show_document = true;
    hta::start_page(document);  // a PAGE line but no DEVICE line
    hta::close_document(document, options);
    EXPECT_EQ(htatest::read_bytes(log), "[/C]\n[RERADA]\n[" + document.path + "]\n");
}
#endif

}  // namespace
