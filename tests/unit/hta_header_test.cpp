// The document header: its lines byte for byte, the computed values, the
// number-to-text rule, and how the document reaches its file.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hta/document.h"
#include "hta_test_support.h"
#include "platform/platform.h"

namespace {

// The full header with keywords, one "\n" per line end.
const char* const golden_header = R"golden(
<HTML XMLNS:IE>

<HEAD>
  <HTA:APPLICATION
    APPLICATIONNAME='ZalWin' BORDER='none' BORDERSTYLE='none'
    CAPTION='no' CONTEXTMENU='no' ICON='printer.ico' ID='ZW'
    INNERBORDER='no' MAXIMIZEBUTTON='no' MINIMIZEBUTTON='no'
    NAVIGABLE='no' SCROLL='hidden' SCROLLFLAT='no'
    SELECTION='no' SYSMENU='no' SHOWINTASKBAR='no'
    SINGLEINSTANCE='no' WINDOWSTATE='minimize' VERSION='1.0' />
  <META HTTP-EQUIV='content-type' CONTENT='text/html; charset=UTF-8'>
  <META NAME='resource-type' CONTENT='document'>
  <META NAME='generator' CONTENT='ZalWin 1.0 (zalprint)'>
  <META NAME='copyright' CONTENT='ZalWin'>
  <META NAME='author' CONTENT='Anna'>
  <META NAME='description' CONTENT=' 2024/03/07 09:05:01 GMT'>
  <META NAME='keywords' CONTENT='vendes mensuals'>
  <STYLE TYPE='text/css'>
    BODY, TABLE {
      font-family:           helvetica;
      font-size:             10pt;
      margin-top:            0.2in;
      margin-right:          0.2in;
      text-indent:           0in;
      text-align:            left;
    }
    PRE {
      font-family:           'lucida console',sans-serif;
      font-size:             10pt;
      white-space:           pre;
    }
    .pagestyle {
      width:  8.5in;
      height: 11in;
      margin: 0in;
      background: white;
      border: 0 solid white;
    }
  </STYLE>
  <STYLE TYPE='text/css' MEDIA='screen'>
    BODY, TABLE {
      color:                 #000000;
      background:            #ffffff;
      margin-left:           0in;
    }
    PRE {
      line-height:           10pt;
    }
    .pica {
      font-size:             12pt;
    }
    .elit {
      font-size:             10pt;
    }
    .comp {
      font-size:             7.2pt;
    }
    .salt {
      background:            #e0e0e0;
    }
  </STYLE>
  <STYLE TYPE='text/css' MEDIA='print'>
    @page {
      size:                    8.5in 11in;
    }
    BODY, TABLE {
      color:                 #000000;
      background:            #ffffff;
      margin-left:           .5in;
    }
    PRE {
      line-height:           12pt;
    }
    .pica {
      font-size:              10.6875pt;
    }
    .elit {
      font-size:              8.90625pt;
    }
    .comp {
      font-size:              6.28676470588235pt;
    }
    .salt {
      page-break-after:      always;
      visibility:            hidden;
    }
  </STYLE>
  <TITLE>  Factures </TITLE>
  <SCRIPT>
    var WSHShell;
    WSHShell = new ActiveXObject('WScript.Shell');
    var myFooter, myHeader, myMarBot, myMarLef, myMarRig, myMarTop;
    myFooter = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\footer');
    myHeader = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\header');
    myMarBot = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_bottom');
    myMarLef = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_left');
    myMarRig = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_right');
    myMarTop = WSHShell.RegRead('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_top');
    function ClearHeader() {
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\footer', '');
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\header', '');
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_bottom', '0');
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_left', '0');
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_right', '0');
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_top', '0');
    }
    function ResetHeader() {
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\footer', myFooter);
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\header', myHeader);
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_bottom', myMarBot);
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_left', myMarLef);
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_right', myMarRig);
      WSHShell.RegWrite('HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\PageSetup\\margin_top', myMarTop);
    }
  </SCRIPT>
  <SCRIPT>window.onload=function () { ClearHeader(); window.print(); ResetHeader(); window.close(); }</SCRIPT>
</HEAD>

<BODY><PRE>
)golden";

// The text with every "\n" written as CR LF.
std::string crlf(const std::string& text) {
    std::string out;
    for (char c : text) out += c == '\n' ? std::string("\r\n") : std::string(1, c);
    return out;
}

// The golden header as written: without its leading "\n", CR LF line ends.
std::string golden() { return crlf(std::string(golden_header).substr(1)); }

// The lines of a text split at CR LF (the last line end gives no empty line).
std::vector<std::string> split_lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    if (start < text.size()) lines.push_back(text.substr(start));
    return lines;
}

// The description line of a date.
std::string description_line(const platform::UtcDateTime& t) {
    char text[96];
    std::snprintf(text, sizeof text,
                  "  <META NAME='description' CONTENT=' %04d/%02d/%02d %02d:%02d:%02d GMT'>",
                  t.year, t.month, t.day, t.hour, t.minute, t.second);
    return text;
}

using HtaHeader = htatest::DocumentFixture;

TEST_F(HtaHeader, IsWrittenByteForByteWithOrWithoutKeywords) {
    document.margin = 0.5;
    document.pitch = 10;
    const platform::UtcDateTime date{2024, 3, 7, 9, 5, 1};
    options.keywords = "vendes mensuals";
    std::string with = hta::header_text(document, session, options, date);
    EXPECT_EQ(with, golden());
    EXPECT_EQ(split_lines(with).size(), 119u);

    options.keywords.clear();
    std::string without = hta::header_text(document, session, options, date);
    std::string expected = golden();
    std::size_t keywords_line = expected.find("  <META NAME='keywords'");
    expected.erase(keywords_line, expected.find("\r\n", keywords_line) + 2 - keywords_line);
    EXPECT_EQ(without, expected);
    EXPECT_EQ(split_lines(without).size(), 118u);
}

TEST_F(HtaHeader, OpenDocumentWritesItWithTheGreenwichTimeOfOpening) {
    options.keywords = "vendes mensuals";
    std::string before = description_line(platform::utc_now());
    open();
    std::string after = description_line(platform::utc_now());
    EXPECT_EQ(document.margin, 0.5);
    EXPECT_EQ(document.pitch, 10);
    hta::document_close_file(document);

    std::vector<std::string> got = split_lines(file_bytes());
    std::vector<std::string> want = split_lines(golden());
    ASSERT_EQ(got.size(), want.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        if (i == 15) {
            EXPECT_GE(got[i], before);  // same fixed format: text order is time order
            EXPECT_LE(got[i], after);
        } else {
            EXPECT_EQ(got[i], want[i]) << "line " << i + 1;
        }
    }
}

TEST_F(HtaHeader, SessionAndOptionValuesAreUtf8AndEscaped) {
    session.operator_name = "Jos\x82 <b>";
    options.keywords = "caf\x82&'x'";
    session.title =
        " Pa\xA4"
        "a\xD5> ";
    std::string header = hta::header_text(document, session, options, {});
    EXPECT_NE(header.find("\r\n  <META NAME='author' CONTENT='Jos\xC3\xA9 &lt;b&gt;'>\r\n"),
              std::string::npos);
    EXPECT_NE(header.find("\r\n  <META NAME='keywords' CONTENT='caf\xC3\xA9&amp;&#39;x&#39;'>\r\n"),
              std::string::npos);
    EXPECT_NE(header.find("\r\n  <TITLE> Pa\xC3\xB1"
                          "a\xE2\x82\xAC&gt; </TITLE>\r\n"),
              std::string::npos);

    session.operator_name.clear();
    header = hta::header_text(document, session, options, {});
    EXPECT_NE(header.find("\r\n  <META NAME='author' CONTENT=''>\r\n"), std::string::npos);
}

TEST(HtaNumberToText, FifteenDigitsRoundedOnTheSixteenth) {
    struct Case {
        double value;
        const char* text;
    };
    const Case cases[] = {
        {10, " 10"},
        {0.5, " .5"},
        {10.6875, " 10.6875"},
        {8.90625, " 8.90625"},
        {7.5 / 136 * 114, " 6.28676470588235"},
        {0, " 0"},
        {-0.0, " 0"},
        {-3, "-3"},
        {-0.25, "-.25"},
        {0.001, " .001"},
        {2.5e-7, " .00000025"},
        {1e15, " 1000000000000000"},
        {123456789012345678.0, " 123456789012346000"},
        // The 16th digit alone decides; a 5 there goes to the even neighbour.
        {1234567890123454.0, " 1234567890123450"},
        {1234567890123456.0, " 1234567890123460"},
        {1234567890123455.0, " 1234567890123460"},
        {1234567890123445.0, " 1234567890123440"},
        {-1234567890123455.0, "-1234567890123460"},
        {12345678901234452.0, " 12345678901234400"},
        {9999999999999996.0, " 10000000000000000"},
        {0.1, " .1"},
        {1.0 / 3, " .333333333333333"},
        {2.0 / 3, " .666666666666667"},
    };
    for (const Case& c : cases) EXPECT_EQ(hta::number_to_text(c.value), c.text) << c.value;
}

TEST(HtaNumberToText, PrintFontSizes) {
    EXPECT_EQ(hta::print_font_size(0.5, 80), 10.6875);
    EXPECT_EQ(hta::print_font_size(0.5, 96), 8.90625);
    EXPECT_EQ(hta::print_font_size(0.5, 136), 7.5 / 136 * 114);
}

TEST_F(HtaHeader, ASecondDeviceLineChangesNothing) {
    open();
    std::string text = "TOTAL";
    hta::start_page(document);
    hta::write_text_line(document, stack, 1, text, 1);
    hta::apply_style_commands(document, "E");
    std::string before = document.output;
    hta::open_document(document, session, options, "P");
    EXPECT_EQ(document.output, before);
    EXPECT_EQ(document.page_count, 1);
    EXPECT_EQ(document.pitch, 12);
    hta::document_close_file(document);
    EXPECT_EQ(file_bytes(), before);
}

TEST_F(HtaHeader, ReachesTheFileInLargeBlocks) {
    open();
    std::string line(100, 'a');
    std::string expected = document.output;
    for (int i = 0; i < 20; ++i) {
        std::string text = line;
        hta::write_text_line(document, stack, 1, text, 1);
        expected += line + "\r\n";
    }
    EXPECT_EQ(file_bytes(), "") << "small writes stay in the buffer";
    while (expected.size() < hta::flush_block + 5000) {
        std::string text = line;
        hta::write_text_line(document, stack, 1, text, 1);
        expected += line + "\r\n";
    }
    std::string on_disk = file_bytes();
    EXPECT_GE(on_disk.size(), hta::flush_block);
    EXPECT_EQ(on_disk + document.output, expected);
    hta::document_close_file(document);
    EXPECT_EQ(file_bytes(), expected);
}

TEST_F(HtaHeader, WithoutAFileNothingIsWrittenAndTheCountersStillMove) {
    document.path = folder.suite_path("missing\\AB12CD34.hta");
    open();
    EXPECT_EQ(document.file, platform::no_file);
    std::string text = "AB";
    hta::start_page(document);
    hta::write_text_line(document, stack, 5, text, 2);
    hta::start_page(document);
    hta::apply_style_commands(document, "QB");
    EXPECT_EQ(document.output, "");
    EXPECT_EQ(document.page_count, 2);
    EXPECT_EQ(document.lines_in_page, 0);
    EXPECT_EQ(document.pitch, 17);
    EXPECT_TRUE(document.bold);
    hta::close_document(document, options);
    EXPECT_FALSE(htatest::fs::exists(folder.dir / "missing"));
}

}  // namespace
