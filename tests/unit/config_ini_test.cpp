// The INI reader over small files: comments, blanks around values, the quote
// pair rule, section header forms, key matching, the end of the section, and
// files that use other line ends, end early or are missing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/ini.h"
#include "config_test_support.h"

namespace {

using zaltest::TempFolder;

TEST(IniReader, FindsValuesByTheSuiteRules) {
    struct Case {
        const char* what;
        std::string file;
        const char* section;
        const char* key;
        std::string value;
    };
    const std::vector<Case> cases = {
        {"blank after = kept", "[Menu]\r\nTitol = Factures\r\n", "Menu", "Titol", " Factures"},
        {"blank before comment kept", "[Menu]\r\nTitol=Factures ; del mes\r\n", "Menu", "Titol",
         "Factures "},
        {"; always starts a comment", "[Terminal]\r\nDir=C:\\A;B\r\n", "Terminal", "Dir", "C:\\A"},
        {"quotes removed", "[Menu]\r\nTitol=\"Hola\"\r\n", "Menu", "Titol", "Hola"},
        {"blank before quote keeps both", "[Menu]\r\nTitol= \"Hola\"\r\n", "Menu", "Titol",
         " \"Hola\""},
        {"two quotes become empty", "[Menu]\r\nTitol=\"\"\r\n", "Menu", "Titol", ""},
        {"one quote unchanged", "[Menu]\r\nTitol=\"\r\n", "Menu", "Titol", "\""},
        {"one pair only", "[Menu]\r\nTitol=\"\"a\"\"\r\n", "Menu", "Titol", "\"a\""},
        {"= inside the value", "[Menu]\r\nTitol=a=b\r\n", "Menu", "Titol", "a=b"},
        {"header with blanks", "[ menu ]\r\nTitol=x\r\n", "Menu", "Titol", "x"},
        {"header upper case", "[MENU]\r\nTitol=x\r\n", "Menu", "Titol", "x"},
        {"header without ]", "[Menu\r\nTitol=x\r\n", "Menu", "Titol", "x"},
        {"text after ]", "[Menu] old\r\nTitol=x\r\n", "Menu", "Titol", "x"},
        {"indented lines", "   [Menu]\r\n   Titol  =x\r\n", "Menu", "Titol", "x"},
        {"key in other case", "[Menu]\r\nTITOL=x\r\n", "Menu", "Titol", "x"},
        {"OEM letter case", "[Menu]\r\nFA\x80=x\r\n", "Menu", "Fa\x87", "x"},
        {"asked names trimmed", "[Menu]\r\nTitol=x\r\n", " menu ", " titol ", "x"},
        {"tab before = is part of the key", "[Menu]\r\nTitol\t=x\r\n", "Menu", "Titol", ""},
        {"line without = skipped", "[Menu]\r\nTitol\r\nTitol=y\r\n", "Menu", "Titol", "y"},
        {"first key wins", "[Menu]\r\nTitol=a\r\nTitol=b\r\n", "Menu", "Titol", "a"},
        {"keys before any header ignored", "Titol=x\r\n[Menu]\r\n", "Menu", "Titol", ""},
        {"commented header", ";[Menu]\r\nTitol=x\r\n", "Menu", "Titol", ""},
        {"other section", "[Altres]\r\nTitol=x\r\n", "Menu", "Titol", ""},
        {"second section never searched",
         "[Menu]\r\nA=1\r\n[Altres]\r\nB=2\r\n[Menu]\r\nTitol=x\r\n", "Menu", "Titol", ""},
        {"same header ends the section too", "[Menu]\r\n[Menu]\r\nTitol=x\r\n", "Menu", "Titol",
         ""},
        {"CR line ends, no last end", "[Menu]\rTitol=x", "Menu", "Titol", "x"},
        {"LF-only file is one line", "[Menu]\nTitol=x\n", "Menu", "Titol", ""},
        {"Ctrl-Z ends the file", "[Menu]\r\n\x1ATitol=x\r\n", "Menu", "Titol", ""},
        {"Ctrl-Z ends the value", "[Menu]\r\nTitol=x\x1Ay\r\n", "Menu", "Titol", "x"},
        {"empty file", "", "Menu", "Titol", ""},
    };
    TempFolder folder;
    for (const Case& c : cases) {
        zaltest::write_bytes(folder.dir / "Test.ini", c.file);
        EXPECT_EQ(config::read_ini_value(folder.path() + "Test.ini", c.section, c.key), c.value)
            << c.what;
    }
}

TEST(IniReader, MissingFileAndNameInOtherLetterCase) {
    TempFolder folder;
    EXPECT_EQ(config::read_ini_value(folder.path() + "Missing.ini", "Menu", "Titol"), "");
    EXPECT_EQ(config::read_ini_value(folder.path() + "nodir\\Missing.ini", "Menu", "Titol"), "");
    zaltest::write_bytes(folder.dir / "ZalPrint.ini", "[Entrada]\r\nPerCorreu=1\r\n");
    // The file system ignores letter case; the POSIX backend does the same.
    EXPECT_EQ(config::read_ini_value(folder.path() + "ZALPRINT.INI", "Entrada", "PerCorreu"), "1");
}

}  // namespace
