#!/usr/bin/env python3
"""Writes a suite folder for benchmarking zalprint: a realistic print file
(zalprint.tmp) of a given number of pages and the INI files the program reads.

The print file is a ledger of issued invoices as the suite's applications
write them: about 60 lines a page, a page header with bold and pitch changes,
column-placed fields, JUS fill leaders, "==" rules, accented CP858 text and
euro amounts, CR LF line ends. The same seed and page count always give the
same bytes.

The INI files switch the document display off (Mostrar=N) and mail delivery
off (PerCorreu=0), so that a run starts no other program. The documents go to
the folder's "out" subfolder.

Usage: gen_printfile.py --pages N --out DIR [--seed S] [--suite-path TEXT]
  --suite-path is DIR as the program sees it (default: DIR itself; under wine
  pass the Windows form, e.g. Z:\\work\\data\\p200).
Prints one line of JSON: pages, lines, bytes, print-file path.
"""

import argparse
import json
import os
import random

COMPANIES = [
    "Ferreteria Martí i Fills, S.L.",
    "Distribucions Peñalver, S.A.",
    "Cooperativa Agrícola de Lleida",
    "Müller Ibèrica, S.L.",
    "Fàbrica de Gèneres Puig",
    "Còpies i Impressió Ràpida",
    "Françoise Dupont",
    "Hostal Can Solà",
    "Jaume Ribó & Cia.",
    "Construccions Ferrer Garcia",
    "Llibreria L'Àncora",
    "Transports Güell i Associats",
    "Forn de Pa Sant Jordi",
    "Óptica Núñez",
    "Vins i Caves Ollé",
    "Electrodomèstics Vidal",
    "Pastisseria La Lionesa",
    "Assessoria Fiscal Bonet",
    "Tallers Mecànics Roig",
    "Supermercat El Camí",
]
CONCEPTS = [
    "Material d'oficina",
    "Serveis de manteniment",
    "Reparació maquinària",
    "Lloguer de local",
    "Transport i lliurament",
    "Honoraris consultoria",
    "Subministrament elèctric",
    "Neteja d'instal·lacions",
    "Quota anual associació",
    "Formació del personal",
]
MONTHS = ["gener", "febrer", "març", "abril", "maig", "juny", "juliol", "agost",
          "setembre", "octubre", "novembre", "desembre"]


def euros(cents):
    """An amount as the suite prints it: 12.345,67 €."""
    units, rest = divmod(abs(cents), 100)
    digits = f"{units:,}".replace(",", ".")
    return ("-" if cents < 0 else "") + f"{digits},{rest:02d} €"


def page_lines(rng, page, state):
    """The print-file lines of one page (without line ends)."""
    out = ["PAGE %d" % page, "*E", "*B",
           "1,EMPRESA EXEMPLE DEL VALLÈS, S.L.,0",
           "62,Pàgina %5d,1" % page,
           "*B",
           "1,LLISTAT DE FACTURES EMESES - %s %d,2" % (MONTHS[state["month"]].upper(), 2023),
           "1,Data        Número     Client                           Import,1",
           "1," + "=" * 74 + ",1",
           "*N"]
    page_total = 0
    while len(out) < 56:
        day = rng.randint(1, 28)
        number = state["number"]
        state["number"] += 1
        client = rng.choice(COMPANIES)
        cents = rng.randint(-5000, 2500000) if rng.random() < 0.05 else rng.randint(1500, 950000)
        page_total += cents
        date = "%02d/%02d/2023" % (day, state["month"] + 1)
        amount = euros(cents).rjust(16)
        kind = rng.random()
        if kind < 0.85:
            # A row the application formats itself, in one text line.
            out.append("1,%s  A-%06d   %-30.30s %s,1" % (date, number, client, amount))
        elif kind < 0.91:
            # Fields placed by column, the client filled with dots to the amount.
            out.append("1,%s,0" % date)
            out.append("13,A-%06d,0" % number)
            out.append("JUS N 55 \\.\\")
            out.append("24,%s,0" % client[:28])
            out.append("58,%s,1" % amount)
        elif kind < 0.97:
            # A row with its concept on a second line in condensed pitch.
            out.append("1,%s  A-%06d   %-30.30s %s,1" % (date, number, client, amount))
            out.append("*Q")
            out.append("24,%s,1" % rng.choice(CONCEPTS))
            out.append("*N")
        else:
            # A blank separator line and a bold partial total.
            out.append(" ")
            out.append("*B")
            out.append("JUS N 57 \\. \\")
            out.append("24,Subtotal,0")
            out.append("58,%s,1" % euros(page_total).rjust(16))
            out.append("*B")
    out.append("1," + "-" * 74 + ",1")
    out.append("JUS N 57 \\.\\")
    out.append("24,Suma i segueix,0")
    out.append("58,%s,1" % euros(page_total).rjust(16))
    out.append("1,Operador: Montserrat Vilà   Terminal: T01   Còpia per a l'arxiu,1")
    if rng.random() < 0.1:
        state["month"] = (state["month"] + 1) % 12
    return out


def print_file_lines(pages, seed):
    """The whole print file for a page count."""
    rng = random.Random(seed)
    state = {"number": 1000 + rng.randint(0, 5000), "month": 0}
    lines = ["DEVICE P"]
    for page in range(1, pages + 1):
        lines.extend(page_lines(rng, page, state))
    return lines


def write_cp858(path, lines):
    """Writes lines with CR LF ends in CP858; the byte count written."""
    data = "".join(line + "\r\n" for line in lines).encode("cp858")
    with open(path, "wb") as f:
        f.write(data)
    return len(data)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--pages", type=int, required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--seed", type=int, default=858)
    parser.add_argument("--suite-path", default=None)
    args = parser.parse_args()

    os.makedirs(os.path.join(args.out, "out"), exist_ok=True)
    suite = args.suite_path or os.path.abspath(args.out)
    separator = "\\" if ":" in suite else "/"

    write_cp858(os.path.join(args.out, "Sessio.ini"), [
        "[Menu]", "Titol=Llistat de factures emeses", "Operador=Montserrat Vilà",
        "[Terminal]", "Dir=" + suite])
    write_cp858(os.path.join(args.out, "VeskTerm.ini"), [
        "[Pantalla]", "Seleccio=1", "Col1=15000700000700070007"])
    # One file holds both option sections: temp and terminal folders are one.
    write_cp858(os.path.join(args.out, "ZalPrint.ini"), [
        "[Opcions]", "Mostrar=N", "Directori=" + suite + separator + "out",
        "Keywords=factures emeses 2023",
        "[Entrada]", "PerCorreu=0", "PrtTambe=0"])

    lines = print_file_lines(args.pages, args.seed) if args.pages > 0 else []
    path = os.path.join(args.out, "zalprint.tmp")
    size = write_cp858(path, lines)
    print(json.dumps({"pages": args.pages, "lines": len(lines), "bytes": size, "path": path}))


if __name__ == "__main__":
    main()
