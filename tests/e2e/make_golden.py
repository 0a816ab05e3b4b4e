#!/usr/bin/env python3
"""Writes the expected documents of the end-to-end cases into golden/.

The expected bytes come from a small, separate model of how zalprint turns a
print request into its document (the line kinds, the SEND switch, the field
rules, text placement with fill leaders, the "==" rule, pitch spans and
style toggles, page separators, CP858 to UTF-8 with markup escaped, header
and footer). It shares no code with the program, so the end-to-end test
compares two independent readings of the same rules. The golden files are
reviewed and committed; the test itself never runs this script.

    python3 tests/e2e/make_golden.py
"""

import math
import os
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
SUITE = os.path.join(HERE, "..", "..", "examples", "suite")

# Placeholders of the lines that change from run to run: the test masks them.
GENERATOR = b"ZalWin 1.0 (zalprint)"
COPYRIGHT = b"ZalWin"
DATE_TIME = b"2024/03/15 09:30:00"

HEADER = [
    '<HTML XMLNS:IE>',
    '',
    '<HEAD>',
    '  <HTA:APPLICATION',
    "    APPLICATIONNAME='ZalWin' BORDER='none' BORDERSTYLE='none'",
    "    CAPTION='no' CONTEXTMENU='no' ICON='printer.ico' ID='ZW'",
    "    INNERBORDER='no' MAXIMIZEBUTTON='no' MINIMIZEBUTTON='no'",
    "    NAVIGABLE='no' SCROLL='hidden' SCROLLFLAT='no'",
    "    SELECTION='no' SYSMENU='no' SHOWINTASKBAR='no'",
    "    SINGLEINSTANCE='no' WINDOWSTATE='minimize' VERSION='1.0' />",
    "  <META HTTP-EQUIV='content-type' CONTENT='text/html; charset=UTF-8'>",
    "  <META NAME='resource-type' CONTENT='document'>",
    '<13>',
    '<14>',
    '<15>',
    '<16>',
    '<17>',
    "  <STYLE TYPE='text/css'>",
    '    BODY, TABLE {',
    '      font-family:           helvetica;',
    '      font-size:             10pt;',
    '      margin-top:            0.2in;',
    '      margin-right:          0.2in;',
    '      text-indent:           0in;',
    '      text-align:            left;',
    '    }',
    '    PRE {',
    "      font-family:           'lucida console',sans-serif;",
    '<29>',
    '      white-space:           pre;',
    '    }',
    '    .pagestyle {',
    '      width:  8.5in;',
    '      height: 11in;',
    '      margin: 0in;',
    '      background: white;',
    '      border: 0 solid white;',
    '    }',
    '  </STYLE>',
    "  <STYLE TYPE='text/css' MEDIA='screen'>",
    '    BODY, TABLE {',
    '      color:                 #000000;',
    '      background:            #ffffff;',
    '      margin-left:           0in;',
    '    }',
    '    PRE {',
    '      line-height:           10pt;',
    '    }',
    '    .pica {',
    '      font-size:             12pt;',
    '    }',
    '    .elit {',
    '      font-size:             10pt;',
    '    }',
    '    .comp {',
    '      font-size:             7.2pt;',
    '    }',
    '    .salt {',
    '      background:            #e0e0e0;',
    '    }',
    '  </STYLE>',
    "  <STYLE TYPE='text/css' MEDIA='print'>",
    '    @page {',
    '      size:                    8.5in 11in;',
    '    }',
    '    BODY, TABLE {',
    '      color:                 #000000;',
    '      background:            #ffffff;',
    '<69>',
    '    }',
    '    PRE {',
    '      line-height:           12pt;',
    '    }',
    '    .pica {',
    '<75>',
    '    }',
    '    .elit {',
    '<78>',
    '    }',
    '    .comp {',
    '<81>',
    '    }',
    '    .salt {',
    '      page-break-after:      always;',
    '      visibility:            hidden;',
    '    }',
    '  </STYLE>',
    '<88>',
    '  <SCRIPT>',
    '    var WSHShell;',
    "    WSHShell = new ActiveXObject('WScript.Shell');",
    '    var myFooter, myHeader, myMarBot, myMarLef, myMarRig, myMarTop;',
    "    myFooter = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\footer');",
    "    myHeader = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\header');",
    "    myMarBot = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_bottom');",
    "    myMarLef = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_left');",
    "    myMarRig = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_right');",
    "    myMarTop = WSHShell.RegRead('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_top');",
    '    function ClearHeader() {',
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\footer', '');",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\header', '');",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_bottom', '0');",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_left', '0');",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_right', '0');",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_top', '0');",
    '    }',
    '    function ResetHeader() {',
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\footer', myFooter);",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\header', myHeader);",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_bottom', myMarBot);",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_left', myMarLef);",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_right', myMarRig);",
    "      WSHShell.RegWrite('HKEY_CURRENT_USER\\\\Software\\\\Microsoft\\\\Internet Explorer\\\\PageSetup\\\\margin_top', myMarTop);",
    '    }',
    '  </SCRIPT>',
    '  <SCRIPT>window.onload=function () { ClearHeader(); window.print(); ResetHeader(); window.close(); }</SCRIPT>',
    '</HEAD>',
    '',
    '<BODY><PRE>',
]


def upper_oem(text):
    table = {0x84: 0x8E, 0x94: 0x99, 0x81: 0x9A, 0x82: 0x90, 0xA4: 0xA5, 0x86: 0x8F, 0x87: 0x80}
    return bytes(b - 32 if 0x61 <= b <= 0x7A else table.get(b, b) for b in text)


def trim(text):
    return text.strip(b" ")


def parse_number(text):
    """Decimal numbers only: the print request and the option files hold no others."""
    i = 0
    while i < len(text) and text[i] in b" \t\r\n":
        i += 1
    j = i
    if j < len(text) and text[j] in b"+-":
        j += 1
    digits = b""
    while j < len(text) and (text[j : j + 1].isdigit() or (text[j] == 0x2E and b"." not in digits)):
        digits += text[j : j + 1]
        j += 1
    if not any(c in b"0123456789" for c in digits):
        return 0.0
    value = float(digits if digits != b"." else b"0")
    return -value if text[i : i + 1] == b"-" else value


def int16(value):
    return max(-32768, min(32767, int(round(value))))  # round() halves to even


def utf8_escaped(oem):
    text = oem.decode("cp858").encode("utf-8")
    for raw, entity in ((b"&", b"&amp;"), (b"<", b"&lt;"), (b">", b"&gt;"), (b"'", b"&#39;")):
        text = text.replace(raw, entity)
    return text


def number_text(value):
    text = f"{value:.15g}"
    assert "e" not in text
    if "." in text:
        text = text.rstrip("0").rstrip(".")
    sign = "-" if value < 0 else " "
    text = text.lstrip("-")
    if text.startswith("0."):
        text = text[1:]
    return (sign + text).encode()


def read_ini(path, section, key):
    try:
        data = open(path, "rb").read()
    except OSError:
        return b""
    data = data.split(b"\x1a")[0]
    inside = False
    for line in data.replace(b"\r\n", b"\r").split(b"\r"):
        line = line.split(b";")[0].lstrip(b" ")
        if not line:
            continue
        if not inside:
            if line[:1] == b"[" and upper_oem(trim(line[1:].split(b"]")[0])) == upper_oem(section):
                inside = True
            continue
        if line[:1] == b"[":
            return b""
        if b"=" in line:
            name, value = line.split(b"=", 1)
            if upper_oem(name.rstrip(b" ")) == upper_oem(key):
                if len(value) >= 2 and value[:1] == b'"' and value[-1:] == b'"':
                    value = value[1:-1]
                return value
    return b""


class Document:
    def __init__(self, title, operator, keywords):
        self.title, self.operator, self.keywords = title, operator, keywords
        self.out = b""
        self.opened = False
        self.pitch = 0
        self.page_count = self.lines_in_page = self.column = 0
        self.bold = self.underline = self.italic = False
        self.fill_column, self.fill_pattern = 0, b""

    def open(self):
        if self.opened:
            return
        self.opened = True
        self.pitch, self.page_count = 10, 0
        margin = 0.5
        computed = {
            13: b"  <META NAME='generator' CONTENT='" + GENERATOR + b"'>",
            14: b"  <META NAME='copyright' CONTENT='" + COPYRIGHT + b"'>",
            15: b"  <META NAME='author' CONTENT='" + utf8_escaped(self.operator) + b"'>",
            16: b"  <META NAME='description' CONTENT=' " + DATE_TIME + b" GMT'>",
            17: b"  <META NAME='keywords' CONTENT='" + utf8_escaped(self.keywords) + b"'>",
            29: b"      font-size:            " + number_text(self.pitch) + b"pt;",
            69: b"      margin-left:          " + number_text(margin) + b"in;",
            75: b"      font-size:             " + number_text((8 - margin) / 80 * 114) + b"pt;",
            78: b"      font-size:             " + number_text((8 - margin) / 96 * 114) + b"pt;",
            81: b"      font-size:             " + number_text((8 - margin) / 136 * 114) + b"pt;",
            88: b"  <TITLE>" + utf8_escaped(self.title) + b"</TITLE>",
        }
        for number, line in enumerate(HEADER, 1):
            if number == 17 and not self.keywords:
                continue
            self.out += computed.get(number, line.encode()) + b"\r\n"

    def write(self, data):
        if self.opened:
            self.out += data

    def text_line(self, column, text, feed):
        text = bytes(32 if b < 32 or b in (127, 255) else b for b in text)
        if column > self.column + 1:
            self.write(b" " * (column - self.column - 1))
            self.column = column - 1
        if self.fill_pattern:
            gap = self.fill_column - len(text) - self.column
            n = math.floor(gap / len(self.fill_pattern))
            pad = gap - len(self.fill_pattern) * n
            text += b" " * pad + self.fill_pattern * max(n, 0)
            self.fill_column, self.fill_pattern = 0, b""
        if b"==" in text:
            text = text.replace(b"=", b"-")
        self.write(utf8_escaped(text))
        if feed != 0:
            self.write(b"\r\n" * max(feed, 0))
            self.lines_in_page += feed
            self.column = 0
        else:
            self.column += len(text)

    def start_page(self):
        if self.lines_in_page > 0:
            self.write(b"<DIV CLASS='salt'>&nbsp;</DIV>\r\n")
        self.page_count += 1
        self.lines_in_page = self.column = 0

    def style(self, commands):
        start, new, changed = self.pitch, 0, False
        spans = {ord("@"): (10, b"pica"), ord("N"): (10, b"pica"), ord("E"): (12, b"elit"),
                 ord("Q"): (17, b"comp")}
        for letter in upper_oem(commands):
            if letter in spans:
                pitch, name = spans[letter]
                if start != pitch:
                    self.write(b"</SPAN>")
                self.write(b"<SPAN CLASS='" + name + b"'>")
                new, changed = pitch, True
            elif letter == ord("X"):
                new, changed = start // 2, True
            elif letter in b"BUI":
                attr = {ord("B"): "bold", ord("U"): "underline", ord("I"): "italic"}[letter]
                tag = bytes([letter])
                self.write((b"</" if getattr(self, attr) else b"<") + tag + b">")
                setattr(self, attr, not getattr(self, attr))
        if changed:
            self.pitch = new

    def close(self):
        self.write(b"</PRE></BODY>\r\n\r\n</HTML>\r\n")


def interpret(print_file, document, by_mail, print_also):
    data = print_file.split(b"\x1a")[0]
    lines = data.replace(b"\r\n", b"\r").split(b"\r")
    if lines and lines[-1] == b"":
        lines.pop()
    enabled, last_column = True, 0
    for line in lines:
        if upper_oem(line.lstrip(b" ")[:4]) == b"SEND":
            field = trim(line[4:].split(b",")[0])
            enabled = print_also != 0 or by_mail == 0 or field == b""
            continue
        if not enabled:
            continue
        if line[:6] == b"DEVICE":
            document.open()
        elif line[:4] == b"PAGE":
            document.start_page()
        elif line[:1] == b"*":
            document.style(upper_oem(trim(line[1:])))
        elif line[:3] == b"JUS":
            rest = line[3:].lstrip(b" ")
            if rest[:1] == b"N":
                blank = rest.find(b" ")
                column = int16(parse_number(rest if blank < 0 else rest[blank + 1 :]))
                parts = rest.split(b"\\")
                if len(parts) >= 3:
                    pattern = parts[1]
                else:
                    after = rest[rest.find(b"\\") + 1 :] if b"\\" in rest else rest
                    pattern = after[: len(after) - 1] if after else b""
                document.fill_column, document.fill_pattern = column, pattern
        elif trim(line) == b"":
            pass
        else:
            p = line.find(b",")
            rest = line
            if p >= 0:
                last_column = int16(parse_number(line[:p]))
                rest = line[p + 1 :]
            q = rest.rfind(b",")
            if q >= 0:
                feed, text = int16(parse_number(rest[q + 1 :])), rest[:q]
            else:
                feed, text = int16(parse_number(rest)), rest[:-1]
            document.text_line(last_column, text, feed)
    document.close()


def golden(by_mail):
    session = os.path.join(SUITE, "Sessio.ini")
    options = os.path.join(SUITE, "ZalPrint.ini")
    document = Document(b" " + read_ini(session, b"Menu", b"Titol") + b" ",
                        read_ini(session, b"Menu", b"Operador"),
                        read_ini(options, b"Opcions", b"Keywords"))
    terminal = os.path.join(SUITE, "T01", "ZALPRINT.INI")
    print_also = int16(parse_number(read_ini(terminal, b"Entrada", b"PrtTambe")))
    with open(os.path.join(SUITE, "zalprint.tmp"), "rb") as f:
        interpret(f.read(), document, by_mail, print_also)
    return document.out


def main():
    for name, by_mail in (("example.hta", 0), ("example-mail.hta", 1)):
        with open(os.path.join(HERE, "golden", name), "wb") as f:
            f.write(golden(by_mail))
    return 0


if __name__ == "__main__":
    sys.exit(main())
