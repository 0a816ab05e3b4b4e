#!/usr/bin/env python3
"""Writes examples/suite: the files of one print request of the suite, as the
invoicing application leaves them for zalprint, in CP858 bytes with CR LF
line ends. Run it again after a change to this script; the output is the
same byte for byte on every run.

    examples/suite/Sessio.ini      session of the user who asked for the print
    examples/suite/VeskTerm.ini    screen colours of the terminal
    examples/suite/ZalPrint.ini    print options of the installation
    examples/suite/T01/ZALPRINT.INI   delivery options of terminal T01
    examples/suite/zalprint.tmp    the print file: a three-page invoice
"""

import os
import sys

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "examples", "suite")
PAGE_LIMIT = 55  # line ends per page of the report

EURO = "\u20ac"  # CP858 byte 0xD5


def write(name, lines):
    """Writes lines as CP858 text with CR LF line ends."""
    path = os.path.join(ROOT, name)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, "wb") as f:
        f.write("".join(line + "\r\n" for line in lines).encode("cp858"))


def money(cents):
    """An amount the Catalan way, 1.234,56, without the currency sign."""
    units, rest = divmod(cents, 100)
    grouped = f"{units:,}".replace(",", ".")
    return f"{grouped},{rest:02d}"


def amount(cents, width=14):
    """An amount right-aligned in the amount column, with the euro sign."""
    return f"{money(cents)} {EURO}".rjust(width)


class Report:
    """The print file being built, with the line ends of the current page."""

    def __init__(self):
        self.lines = []
        self.page_lines = 0
        self.pages = []

    def raw(self, line):
        self.lines.append(line)

    def text(self, column, text, feed=0):
        assert "\r" not in text and "\n" not in text
        assert column + len(text) - 1 <= 136, text  # the widest line, condensed
        self.lines.append(f"{column},{text},{feed}")
        self.page_lines += max(feed, 0)

    def fill(self, column, pattern):
        self.lines.append(f"JUS N {column} \\{pattern}\\")

    def style(self, letters):
        self.lines.append("*" + letters)

    def page(self, number):
        if self.pages or self.page_lines:
            self.pages.append(self.page_lines)
        self.lines.append(f"PAGE {number}")
        self.page_lines = 0

    def finish(self):
        self.pages.append(self.page_lines)
        for number, count in enumerate(self.pages, 1):
            assert count <= PAGE_LIMIT, f"page {number} has {count} lines"


COMPANY = "FERRETERIA I SUBMINISTRAMENTS D'ALÒS, S.L."
INVOICE = "2024/0153"

# Code, description, quantity, unit price in cents.
ITEMS = [
    ("CRG-0612", "Cargol DIN 912 M6x12 inox A2", 400, 9),
    ("CRG-0620", "Cargol DIN 912 M6x20 inox A2", 400, 11),
    ("CRG-0830", "Cargol DIN 933 M8x30 zincat", 250, 14),
    ("CRG-1040", "Cargol DIN 933 M10x40 zincat", 200, 23),
    ("FEM-0600", "Femella DIN 934 M6 inox A2", 800, 4),
    ("FEM-0800", "Femella DIN 934 M8 zincada", 500, 5),
    ("FEM-1000", "Femella autoblocant DIN 985 M10", 300, 12),
    ("VOL-0600", "Volandera DIN 125 M6 inox A2", 800, 3),
    ("VOL-0800", "Volandera DIN 125 M8 zincada", 500, 3),
    ("TAC-0850", "Tac de niló universal 8x50", 600, 7),
    ("TAC-1060", "Tac de niló universal 10x60", 400, 10),
    ("ANC-1095", "Ancoratge químic M10x95 amb cartutx", 40, 385),
    ("BRO-0600", "Broca de paret Ø6 mm (estoig de 5)", 12, 645),
    ("BRO-0800", "Broca de paret Ø8 mm (estoig de 5)", 12, 720),
    ("BRO-1000", "Broca metall HSS Ø10 mm", 10, 495),
    ("DIS-1150", "Disc de tall inox 115x1,0 mm", 50, 128),
    ("DIS-2300", "Disc de tall inox 230x1,9 mm", 25, 295),
    ("CIN-0050", "Cinta americana gris 50 mm x 25 m", 24, 389),
    ("SIL-0300", "Silicona neutra transparent 300 ml", 36, 412),
    ("ESC-0200", "Escaire reforçat galvanitzat 200x200", 30, 276),
    ("BIS-0100", "Frontissa de llibret 100 mm acer", 40, 189),
    ("PAN-1000", "Pany de seguretat de 3 punts", 4, 6850),
    ("CAD-0060", "Cadenat de llautó 60 mm amb 3 claus", 10, 1290),
    ("GUA-0009", "Guants de nitril talla 9 (parell)", 60, 245),
    ("ULL-0001", "Ulleres de protecció antientelament", 20, 675),
    ("CAS-0001", "Casc d'obra blanc amb arnès regulable", 10, 1150),
    ("MAS-0002", "Mascareta FFP2 (capsa de 20)", 6, 1890),
    ("TRI-0250", "Trepant percutor 18 V amb 2 bateries", 2, 18900),
    ("NIV-0600", "Nivell d'alumini 60 cm amb 3 bombolles", 4, 2375),
    ("MET-0005", "Flexòmetre 5 m x 25 mm", 12, 840),
    ("ALI-0150", "Alicates universals 180 mm", 6, 1460),
    ("TOR-0006", "Joc de tornavisos (6 peces)", 4, 2290),
    ("SER-0300", "Serra de marqueteria amb 5 fulles", 3, 1720),
    ("PIN-0015", "Pintura antioxidant gris 750 ml", 8, 1475),
    ("PIN-0040", "Pinzell pla 40 mm de cerra natural", 15, 315),
    ("ROD-0022", "Corró d'esmalt 22 cm amb mànec", 6, 560),
    ("CAB-0250", "Cable H07V-K 2,5 mm² (rotlle de 100 m)", 2, 6840),
    ("REG-0016", "Regleta de connexió 16 mm² (10 u.)", 10, 265),
    ("BRI-0300", "Brida de niló 300x4,8 negra (100 u.)", 5, 590),
    ("TUB-0025", "Tub corrugat Ø25 mm (rotlle de 50 m)", 3, 2150),
    ("CAI-0100", "Caixa d'empalmar estanca 100x100", 20, 325),
    ("INT-0010", "Interruptor magnetotèrmic 2P 16 A", 6, 1180),
]
ITEMS_ON_PAGE_1 = 30
VAT_PERCENT = 21


def table_header(report):
    """The column titles of the items table, underlined, and the rule under them."""
    report.style("U")
    report.text(1, "Codi")
    report.text(11, "Descripció")
    report.text(60, "Quant.")
    report.text(70, "Preu unit.")
    report.text(91, "Import")
    report.style("U")
    report.text(1, "", 1)
    report.text(1, "\u2500" * 96, 1)


def item_line(report, code, description, quantity, price):
    """One item: its description with a dotted leader up to the quantity."""
    report.text(1, code)
    report.fill(58, ".")
    report.text(11, description)
    report.text(60, f"{quantity:>6}")
    report.text(70, f"{money(price):>10}")
    report.text(83, amount(quantity * price), 1)


def total_line(report, label, cents, pattern=".", fill_to=80):
    """A line of the totals block: its label with a leader up to the amount."""
    report.fill(fill_to, pattern)
    report.text(50, label)
    report.text(83, amount(cents), 1)


def letterhead(report, page, pages):
    """The company, the invoice's data in a framed block and the client."""
    report.style("N")
    report.style("B")
    report.text(1, COMPANY, 1)
    report.style("B")
    report.text(1, "Plaça de l'Església, 7 · 25003 Lleida", 1)
    report.text(1, "NIF B25123456 · Tel. 973 26 14 52 · comandes@ferreteriadalos.cat", 2)
    report.style("E")
    width = 46
    report.text(1, "\u250c" + "\u2500" * width + "\u2510")
    report.style("B")
    report.text(55, "FACTURA", 1)
    report.style("B")
    box = [
        ("Client:", "Construccions Vidal & Fills, S.A."),
        ("", "Carrer Major, 112, 2n 1a"),
        ("", "25001 Lleida"),
        ("NIF:", "A25987654"),
    ]
    data = [("Número", INVOICE), ("Data", "15/03/2024"), ("Pàgina", f"{page} de {pages}"), None]
    for (label, value), right in zip(box, data):
        report.text(1, "\u2502 " + f"{label:<8}{value}".ljust(width - 2) + " \u2502")
        if right:
            report.fill(72, ".")
            report.text(55, right[0])
            report.text(74, right[1], 1)
        else:
            report.text(1, "", 1)
    report.text(1, "\u2514" + "\u2500" * width + "\u2518", 2)


def build():
    report = Report()
    pages = 2  # the copy for the archive is not numbered
    report.raw("DEVICE P")

    # Page 1: letterhead and the first items.
    report.page(1)
    letterhead(report, 1, pages)
    table_header(report)
    subtotal = 0
    for code, description, quantity, price in ITEMS[:ITEMS_ON_PAGE_1]:
        item_line(report, code, description, quantity, price)
        subtotal += quantity * price
    report.text(1, "\u2500" * 96, 1)
    total_line(report, "Suma i segueix", subtotal)

    # Page 2: the remaining items, the totals and the payment terms.
    report.page(2)
    letterhead(report, 2, pages)
    table_header(report)
    total_line(report, "Suma anterior", subtotal)
    for code, description, quantity, price in ITEMS[ITEMS_ON_PAGE_1:]:
        item_line(report, code, description, quantity, price)
        subtotal += quantity * price
    report.text(1, "\u2500" * 96, 2)
    vat = (subtotal * VAT_PERCENT + 50) // 100
    total_line(report, "Base imposable", subtotal)
    total_line(report, f"IVA {VAT_PERCENT} %", vat)
    report.text(83, "=" * 14, 1)
    report.style("B")
    total_line(report, "TOTAL FACTURA", subtotal + vat, ". ", 79)
    report.style("B")
    report.text(1, "", 1)
    report.text(1, "\u2554" + "\u2550" * 60 + "\u2557", 1)
    report.text(1, "\u2551 " + "Forma de pagament: transferència a 30 dies".ljust(58) + " \u2551", 1)
    report.text(1, "\u2551 " + "IBAN ES12 2100 0813 6101 2345 6789".ljust(58) + " \u2551", 1)
    report.text(1, "\u2551 " + "Venciment: 14/04/2024".ljust(58) + " \u2551", 1)
    report.text(1, "\u255a" + "\u2550" * 60 + "\u255d", 2)
    report.style("Q")
    report.text(1, "Total = base imposable + IVA. Els preus s'entenen per unitat, llevat que "
                   "la descripció indiqui un altre embalatge.", 1)
    report.text(1, "Inscrita al Registre Mercantil de Lleida, tom 812, foli 45, full L-15321. "
                   "Dades tractades segons el RGPD <UE 2016/679> & la LOPDGDD.",
                1)
    report.style("E")

    # Page 3: the copy for the archive, printed only when the invoice goes on paper.
    report.raw("SEND ARXIU")
    report.page(3)
    report.style("N")
    report.style("B")
    report.text(1, "CÒPIA PER A L'ARXIU", 0)
    report.style("B")
    report.text(50, f"Factura {INVOICE}", 2)
    report.fill(40, ".")
    report.text(1, "Expedida per")
    report.text(42, "Montserrat Solà i Puig", 1)
    report.fill(40, ".")
    report.text(1, "Comanda del client")
    report.text(42, "CV-2024-0311", 1)
    report.fill(40, ".")
    report.text(1, "Albarans")
    report.text(42, "A-0877, A-0879, A-0881", 1)
    report.fill(40, ".")
    report.text(1, "Import total")
    report.text(42, amount(subtotal + vat).strip(), 2)
    report.text(1, "Revisat: ____________________", 0)
    report.text(45, "Data: ___/___/______", 1)
    report.raw("SEND")
    report.style("N")
    report.finish()
    return report.lines


def main():
    write("Sessio.ini", [
        "; Sessió de treball: el menú de l'aplicació la reescriu a cada entrada",
        "[Menu]",
        "Titol=Factures de client - Ferreteria d'Alòs",
        "Operador=Montserrat Solà i Puig",
        "Empresa=01",
        "[Terminal]",
        "; Sense Dir la carpeta del terminal és la que dona TERM",
        "Dir=",
    ])
    write("VeskTerm.ini", [
        "[Pantalla]",
        "Seleccio=1",
        "; quatre xifres per entrada: primer plànol i fons",
        "Col0=15000700000700070007",
        "Col1=15011401000700141501",
    ])
    write("ZalPrint.ini", [
        "[Opcions]",
        "; Mostrar=N desa el document sense obrir-lo",
        "Mostrar=S",
        "Directori=",
        "Keywords=Factura 2024/0153, Construccions Vidal & Fills",
    ])
    write(os.path.join("T01", "ZALPRINT.INI"), [
        "[Entrada]",
        "; PerCorreu=1 envia els documents per correu amb ZIRIDU",
        "PerCorreu=0",
        "PrtTambe=0",
    ])
    write("zalprint.tmp", build())
    return 0


if __name__ == "__main__":
    sys.exit(main())
