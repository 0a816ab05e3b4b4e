// The session context from the environment and fixture Sessio.ini and
// VeskTerm.ini files: directory normalisation and fallback, the title, the
// colour key chosen by Seleccio and the colour table read from its text.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/session.h"
#include "config_test_support.h"

namespace {

using zaltest::TempFolder;

// The suite's environment variables, cleared before and after each test.
struct SuiteEnvironment {
    SuiteEnvironment() { clear(); }
    ~SuiteEnvironment() { clear(); }
    static void clear() {
        for (const char* name : {"ZALTMP", "ZALEXE", "TERM"}) zaltest::unset_env(name);
    }
};

config::ColourTable table(std::vector<std::int16_t> v) {
    config::ColourTable t{};
    for (std::size_t i = 0; i < v.size(); ++i) t[i / 2][i % 2] = v[i];
    return t;
}

TEST(Session, NormaliseDirectory) {
    struct Case {
        const char* dir;
        const char* normal;
    };
    const std::vector<Case> cases = {
        {"", ""},
        {"C:", "C:"},
        {"C:\\TMP", "C:\\TMP\\"},
        {"C:\\TMP\\", "C:\\TMP\\"},
        {"C:\\TMP/", "C:\\TMP/\\"},
    };
    for (const Case& c : cases) EXPECT_EQ(config::normalise_directory(c.dir), c.normal) << c.dir;
}

TEST(Session, ColourTextGivesTwoDigitsPerNumber) {
    struct Case {
        const char* text;
        config::ColourTable colours;
    };
    const std::vector<Case> cases = {
        {config::default_colour_text, table({15, 0, 7, 0, 0, 7, 0, 7, 0, 7})},
        {"1507", table({15, 7})},
        {"150", table({15, 0})},
        {"1507 9x1", table({15, 7, 9, 0})},
        {"0102030405060708091011", table({1, 2, 3, 4, 5, 6, 7, 8, 9, 10})},
        {"-1", table({-1})},
        {"", table({})},
    };
    for (const Case& c : cases) EXPECT_EQ(config::parse_colour_text(c.text), c.colours) << c.text;
}

TEST(Session, LoadsDirectoriesTitleAndOperator) {
    SuiteEnvironment environment;
    TempFolder folder;
    const std::string tmp = zaltest::suite_path(folder.dir);  // no trailing backslash
    zaltest::set_env("ZALTMP", tmp);
    zaltest::set_env("ZALEXE", "C:\\APP");
    zaltest::set_env("TERM", "D:\\IGNORED");
    zaltest::write_bytes(folder.dir / "Sessio.ini",
                         "[Menu]\r\nTitol=Factures\r\nOperador=Anna\r\n"
                         "[Terminal]\r\nDir=D:\\T01\r\n");
    config::SessionContext session;
    config::load_session_context(session);
    EXPECT_EQ(session.temp_dir, tmp + "\\");
    EXPECT_EQ(session.exe_dir, "C:\\APP");  // used exactly as given
    EXPECT_EQ(session.terminal_dir, "D:\\T01\\");
    EXPECT_EQ(session.title, " Factures ");
    EXPECT_EQ(session.operator_name, "Anna");
    EXPECT_EQ(session.colours, config::parse_colour_text(config::default_colour_text));
}

TEST(Session, MissingKeysAndTemporaryDirectoryFallBack) {
    SuiteEnvironment environment;
    TempFolder current, terminal;
    zaltest::CurrentDirectory here(current.dir);
    // ZALTMP unset: Sessio.ini is read from the current directory and gives
    // no title and no terminal directory, so TERM names it and the temporary
    // directory follows it, VeskTerm.ini included.
    zaltest::write_bytes(current.dir / "Sessio.ini", "[Menu]\r\nOperador=Pere\r\n");
    zaltest::write_bytes(terminal.dir / "VeskTerm.ini",
                         "[Pantalla]\r\nCol0=1112131415161718191A\r\n");
    zaltest::set_env("TERM", zaltest::suite_path(terminal.dir));
    config::SessionContext session;
    config::load_session_context(session);
    EXPECT_EQ(session.title, "  ");
    EXPECT_EQ(session.operator_name, "Pere");
    EXPECT_EQ(session.exe_dir, "");
    EXPECT_EQ(session.terminal_dir, terminal.path());
    EXPECT_EQ(session.temp_dir, terminal.path());
    EXPECT_EQ(session.colours, table({11, 12, 13, 14, 15, 16, 17, 18, 19, 1}));
}

TEST(Session, SeleccioChoosesTheColourKey) {
    struct Case {
        const char* what;
        std::string vesk_term;
        config::ColourTable colours;
    };
    const std::string keys =
        "Col0=0100000000\r\nCol2=0200000000\r\nCol-1=0300000000\r\n"
        "Col32767=0400000000\r\n";
    const std::vector<Case> cases = {
        {"2", "[Pantalla]\r\nSeleccio=2\r\n" + keys, table({2})},
        {"none", "[Pantalla]\r\n" + keys, table({1})},
        {"abc", "[Pantalla]\r\nSeleccio=abc\r\n" + keys, table({1})},
        {"-1", "[Pantalla]\r\nSeleccio=-1\r\n" + keys, table({3})},
        {"2.5 rounds to 2", "[Pantalla]\r\nSeleccio=2.5\r\n" + keys, table({2})},
        {"99999 saturates", "[Pantalla]\r\nSeleccio=99999\r\n" + keys, table({4})},
        {"key missing", "[Pantalla]\r\nSeleccio=5\r\n" + keys,
         config::parse_colour_text(config::default_colour_text)},
        {"short text", "[Pantalla]\r\nCol0=1507\r\n", table({15, 7})},
        {"no file", "", config::parse_colour_text(config::default_colour_text)},
    };
    SuiteEnvironment environment;
    for (const Case& c : cases) {
        TempFolder folder;
        zaltest::set_env("ZALTMP", folder.path());
        if (!c.vesk_term.empty()) zaltest::write_bytes(folder.dir / "VeskTerm.ini", c.vesk_term);
        config::SessionContext session;
        config::load_session_context(session);
        EXPECT_EQ(session.colours, c.colours) << c.what;
    }
}

}  // namespace
