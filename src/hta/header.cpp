// The document's header and footer, the number-to-text rule of the header,
// and the hand-off of the finished document to RERADA.
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>

#include "config/run.h"
#include "hta/charset.h"
#include "hta/document.h"

namespace hta {
namespace {

// The fixed header text between the computed lines, one "\n" per line end.
// Lines 1 to 12.
constexpr const char header_1_12[] = R"x(<HTML XMLNS:IE>

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
)x";
// Lines 18 to 28.
constexpr const char header_18_28[] = R"x(  <STYLE TYPE='text/css'>
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
)x";
// Lines 30 to 68.
constexpr const char header_30_68[] = R"x(      white-space:           pre;
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
)x";
// Lines 70 to 74.
constexpr const char header_70_74[] = R"x(    }
    PRE {
      line-height:           12pt;
    }
    .pica {
)x";
// Lines 76 to 77.
constexpr const char header_76_77[] = R"x(    }
    .elit {
)x";
// Lines 79 to 80.
constexpr const char header_79_80[] = R"x(    }
    .comp {
)x";
// Lines 82 to 87.
constexpr const char header_82_87[] = R"x(    }
    .salt {
      page-break-after:      always;
      visibility:            hidden;
    }
  </STYLE>
)x";
// Lines 89 to 119.
constexpr const char header_89_119[] = R"x(  <SCRIPT>
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
)x";

// Appends a block of fixed lines with every "\n" written as CR LF.
void append_block(std::string& out, const char* block) {
    for (const char* p = block; *p; ++p) {
        if (*p == '\n') {
            out += "\r\n";
        } else {
            out += *p;
        }
    }
}

// Appends one line: its parts in order, then CR LF.
void append_line(std::string& out, std::initializer_list<std::string> parts) {
    for (const std::string& part : parts) out += part;
    out += "\r\n";
}

// OEM text as it stands in a header value: UTF-8 with the markup characters escaped.
std::string header_value(const std::string& oem_text) {
    std::string out;
    append_converted_escaped(out, oem_text);
    return out;
}

// A number of at least two digits, zero-padded.
std::string two_digits(int value) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d", value);
    return text;
}

// The description content: " YYYY/MM/DD hh:mm:ss GMT".
std::string date_text(const platform::UtcDateTime& now) {
    char year[16];
    std::snprintf(year, sizeof year, "%04d", now.year);
    return std::string(" ") + year + "/" + two_digits(now.month) + "/" + two_digits(now.day) + " " +
           two_digits(now.hour) + ":" + two_digits(now.minute) + ":" + two_digits(now.second) +
           " GMT";
}

}  // namespace

// A number as the header writes it: a blank or "-", then at most 15 significant
// digits, rounded on the 16th digit alone (a 5 there goes to the even
// neighbour), without trailing fraction zeros and without a zero before the
// point. A value that is not finite cannot occur in the header and gives " 0".
std::string number_to_text(double value) {
    if (!std::isfinite(value) || value == 0) return " 0";
    std::string sign = value < 0 ? "-" : " ";
    // The exact decimal expansion: a double has at most 767 significant digits.
    char exact[820];
    std::to_chars_result r = std::to_chars(exact, exact + sizeof exact, std::fabs(value),
                                           std::chars_format::scientific, 800);
    std::string text(exact, r.ptr);
    std::size_t e = text.find('e');
    int exponent = std::atoi(text.c_str() + e + 1);
    std::string digits = text.substr(0, 1) + text.substr(2, e - 2);
    digits.resize(16, '0');
    int sixteenth = digits[15] - '0';
    digits.resize(15);
    bool up = sixteenth > 5 || (sixteenth == 5 && (digits[14] - '0') % 2 == 1);
    if (up) {
        int i = 14;
        while (i >= 0 && digits[static_cast<std::size_t>(i)] == '9')
            digits[static_cast<std::size_t>(i--)] = '0';
        if (i >= 0) {
            ++digits[static_cast<std::size_t>(i)];
        } else {
            digits.insert(digits.begin(), '1');
            digits.pop_back();
            ++exponent;
        }
    }
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    // The first digit stands for 10^exponent.
    std::string number;
    if (exponent < 0) {
        number = "." + std::string(static_cast<std::size_t>(-exponent - 1), '0') + digits;
    } else {
        std::size_t whole = static_cast<std::size_t>(exponent) + 1;
        if (digits.size() <= whole) {
            number = digits + std::string(whole - digits.size(), '0');
        } else {
            number = digits.substr(0, whole) + "." + digits.substr(whole);
        }
    }
    return sign + number;
}

// The print font size for a pitch of N characters in 8 inches: (8 - margin) / N * 114.
double print_font_size(double margin, int characters) { return (8 - margin) / characters * 114; }

// The whole header for the document's current state, every line ended by CR LF.
std::string header_text(const HtaDocument& document, const config::SessionContext& session,
                        const config::RunOptions& options, const platform::UtcDateTime& now) {
    std::string out;
    out.reserve(8192);
    append_block(out, header_1_12);
    append_line(out, {"  <META NAME='generator' CONTENT='", generator_text, "'>"});
    append_line(out, {"  <META NAME='copyright' CONTENT='", copyright_text, "'>"});
    append_line(out,
                {"  <META NAME='author' CONTENT='", header_value(session.operator_name), "'>"});
    append_line(out, {"  <META NAME='description' CONTENT='", date_text(now), "'>"});
    if (!options.keywords.empty())
        append_line(out,
                    {"  <META NAME='keywords' CONTENT='", header_value(options.keywords), "'>"});
    append_block(out, header_18_28);
    append_line(out, {"      font-size:            ", number_to_text(document.pitch), "pt;"});
    append_block(out, header_30_68);
    append_line(out, {"      margin-left:          ", number_to_text(document.margin), "in;"});
    append_block(out, header_70_74);
    append_line(out, {"      font-size:             ",
                      number_to_text(print_font_size(document.margin, 80)), "pt;"});
    append_block(out, header_76_77);
    append_line(out, {"      font-size:             ",
                      number_to_text(print_font_size(document.margin, 96)), "pt;"});
    append_block(out, header_79_80);
    append_line(out, {"      font-size:             ",
                      number_to_text(print_font_size(document.margin, 136)), "pt;"});
    append_block(out, header_82_87);
    append_line(out, {"  <TITLE>", header_value(session.title), "</TITLE>"});
    append_block(out, header_89_119);
    return out;
}

// Creates the document at its path and writes the header. Only the first call
// of a run does anything: a later DEVICE line would truncate the report
// written so far.
void open_document(HtaDocument& document, const config::SessionContext& session,
                   const config::RunOptions& options, const std::string& /*device_letter*/) {
    if (document.opened) return;
    document.opened = true;
    document.margin = 0.5;
    document.pitch = 10;
    document.page_count = 0;
    document.file = platform::create_shared_write(document.path);
    document_write(document, header_text(document, session, options, platform::utc_now()));
}

// The hand-off command line: COMSPEC + " /C RERADA " + the path, in double
// quotes when it holds a blank so that it reaches RERADA as one argument.
std::string handoff_command_line(const std::string& comspec, const std::string& path) {
    bool quote = path.find(' ') != std::string::npos;
    return comspec + " /C RERADA " + (quote ? "\"" + path + "\"" : path);
}

// Writes the footer, closes the file and, when the document is to be shown and
// a page was started, hands it to RERADA and waits until that ends.
void close_document(HtaDocument& document, const config::RunOptions& options) {
    document_write(document, "</PRE></BODY>\r\n\r\n</HTML>\r\n");
    document_close_file(document);
    if (options.show_document && document.page_count > 0)
        config::run_and_wait(handoff_command_line(platform::get_env("COMSPEC"), document.path));
}

}  // namespace hta
