#!/usr/bin/env python3
"""The document in a real browser: zalprint's output printed by headless
Chromium to PDF, then read back with poppler's pdfinfo, pdftotext and pdffonts.

For the example suite and for a generated report of a known number of pages
(each at most 55 lines, so that it fits a Letter page) it checks that

- the PDF has exactly as many pages as the print file started: the hidden
  separators break the pages and nothing else does;
- each PDF page holds the lines of its page of the document, in order, with
  their accents, box rules and euro signs, and nothing more: the separators
  print no text;
- the report is set in DejaVu Sans Mono, the stand-in for "lucida console"
  given to the renderer by a fontconfig alias, so its columns line up.

    browser_test.py --program build/native/zalprint --example examples/suite
    browser_test.py --program ... --example ... --png docs/example-page1.png

With --png it only renders page 1 of the example to that PNG file.
"""

import argparse
import html
import os
import re
import shutil
import subprocess
import sys
import tempfile
from typing import Dict, List, Tuple

SEPARATOR = "<DIV CLASS='salt'>&nbsp;</DIV>\r\n"
BODY_START = "<BODY><PRE>\r\n"
FOOTER = "</PRE></BODY>\r\n\r\n</HTML>\r\n"
TIMEOUT = 180

FONTS_CONF = """<?xml version="1.0"?>
<!DOCTYPE fontconfig SYSTEM "fonts.dtd">
<fontconfig>
  <include ignore_missing="yes">/etc/fonts/fonts.conf</include>
  <alias binding="same">
    <family>lucida console</family>
    <prefer><family>DejaVu Sans Mono</family></prefer>
  </alias>
</fontconfig>
"""


def tool(name: str) -> str:
    path = shutil.which(name)
    if not path:
        sys.exit(f"browser test: {name} is missing (bash scripts/bootstrap.sh installs it)")
    return path


# ---- the program -------------------------------------------------------------


def run_zalprint(program: str, suite: str, work: str) -> str:
    """Runs zalprint on a copy of a suite folder (terminal folder T01) and
    returns the document it made. COMSPEC is /bin/true: nothing is handed on."""
    folder = os.path.join(work, os.path.basename(os.path.normpath(suite)))
    shutil.copytree(suite, folder)
    env = dict(os.environ, ZALTMP=folder, TERM=os.path.join(folder, "T01"),
               ZALEXE=folder + "/", COMSPEC="/bin/true")
    subprocess.run([program], env=env, cwd=folder, stdin=subprocess.DEVNULL, check=True,
                   timeout=TIMEOUT)
    docs = [f for f in os.listdir(folder) if f.endswith(".hta")]
    if len(docs) != 1:
        sys.exit(f"browser test: want one document in {folder}, found {docs}")
    return os.path.join(folder, docs[0])


def started_pages(suite: str) -> int:
    """The pages the suite's print file starts: its PAGE lines while output
    is on (SEND lines switch it off only for mail delivery without printing)."""
    terminal = open(os.path.join(suite, "T01", "ZALPRINT.INI"), "rb").read()

    def flag(key: bytes) -> bool:
        m = re.search(rb"(?im)^\s*" + key + rb"\s*=\s*(-?\d+)", terminal)
        return bool(m and int(m.group(1)))

    by_mail, print_also = flag(b"PerCorreu"), flag(b"PrtTambe")
    data = open(os.path.join(suite, "zalprint.tmp"), "rb").read().split(b"\x1a")[0]
    on, pages = True, 0
    for line in re.split(rb"\r\n?", data):
        if line.lstrip(b" ")[:4].upper() == b"SEND":
            on = print_also or not by_mail or line[4:].split(b",")[0].strip(b" ") == b""
        elif on and line.startswith(b"PAGE"):
            pages += 1
    return pages


# ---- the generated report ------------------------------------------------------


def write_generated_suite(folder: str, pages: int) -> None:
    """A report of the given number of pages of 55 lines each: pica, elite
    and condensed pitches, bold, underline, fill leaders, "==" rules, accents,
    box drawing and the euro sign."""
    os.makedirs(os.path.join(folder, "T01"))

    def write(name: str, lines: List[str]) -> None:
        with open(os.path.join(folder, name), "wb") as f:
            f.write("".join(line + "\r\n" for line in lines).encode("cp858"))

    write("Sessio.ini", ["[Menu]", "Titol=Prova de pàgines", "Operador=Núria Ferrés"])
    write("ZalPrint.ini", ["[Opcions]", "Mostrar=N"])
    write("T01/ZALPRINT.INI", ["[Entrada]", "PerCorreu=0"])
    src = ["DEVICE P"]
    for p in range(1, pages + 1):
        src += [f"PAGE {p}", "*N", "*B", f"1,Pàgina {p} de {pages} · Plaça d'Alòs,1", "*B"]
        src += ["*E" if p % 2 else "*Q", "*U", "1,Codi  Descripció                    Import,1", "*U"]
        src += ["1,┌" + "─" * 40 + "┐,1"]
        for n in range(1, 48):
            src += ["JUS N 40 \\.\\", f"1,│ {p:02d}-{n:02d} Article número {n},0",
                    f"42,{n * 3},0", f"48,{n % 7 + 1},{n:02d} €,1"]
        src += ["1,└" + "─" * 40 + "┘,1", "1,======== Total de la pàgina,1",
                "*B", f"30,{p * 100},00 €,1", "*B", "1,Fi,2"]
    with open(os.path.join(folder, "zalprint.tmp"), "wb") as f:
        f.write("".join(line + "\r\n" for line in src).encode("cp858"))


# ---- the browser and poppler ------------------------------------------------


def render_pdf(document: str, pdf: str, work: str) -> None:
    """Prints the document with headless Chromium, off the network, to pdf."""
    page = os.path.splitext(document)[0] + ".html"  # Chromium renders .hta as a download
    shutil.copyfile(document, page)
    fonts = os.path.join(work, "fonts.conf")
    with open(fonts, "w") as f:
        f.write(FONTS_CONF)
    profile = tempfile.mkdtemp(prefix="profile-", dir=work)
    env = dict(os.environ, FONTCONFIG_FILE=fonts, HOME=profile, XDG_CONFIG_HOME=profile,
               XDG_CACHE_HOME=profile)
    argv = [tool("chromium"), "--headless", "--no-sandbox", "--disable-gpu",
            "--no-pdf-header-footer", "--print-to-pdf=" + pdf, "--user-data-dir=" + profile,
            "--disable-background-networking", "--disable-component-update", "--disable-sync",
            "--disable-quic", "--no-first-run", "file://" + page]
    done = subprocess.run(argv, env=env, stdin=subprocess.DEVNULL, capture_output=True,
                          timeout=TIMEOUT)
    if not os.path.exists(pdf):
        sys.exit(f"browser test: chromium made no PDF (exit {done.returncode}):\n"
                 + done.stderr.decode("utf-8", "replace")[-3000:])


def pdf_page_count(pdf: str) -> int:
    info = subprocess.run([tool("pdfinfo"), pdf], capture_output=True, text=True, check=True)
    return int(re.search(r"^Pages:\s+(\d+)", info.stdout, re.M).group(1))


def pdf_page_text(pdf: str, page: int) -> str:
    return subprocess.run([tool("pdftotext"), "-layout", "-enc", "UTF-8", "-f", str(page),
                           "-l", str(page), pdf, "-"],
                          capture_output=True, check=True).stdout.decode("utf-8")


def pdf_fonts(pdf: str) -> List[str]:
    out = subprocess.run([tool("pdffonts"), pdf], capture_output=True, text=True,
                         check=True).stdout
    return [line.split()[0] for line in out.splitlines()[2:] if line.strip()]


# ---- what the document says the pages hold ------------------------------------


def document_pages(document: str) -> List[List[str]]:
    """The text lines of each page of the document's body, as a reader sees them."""
    text = open(document, "rb").read().decode("utf-8")
    body = text[text.index(BODY_START) + len(BODY_START): text.rindex(FOOTER)]
    pages = []
    for page in body.split(SEPARATOR):
        plain = html.unescape(re.sub(r"<[^>]*>", "", page))
        pages.append(lines_of(plain))
    return pages


def lines_of(text: str) -> List[str]:
    """Non-empty lines with their runs of blanks made one (layout aside)."""
    return [" ".join(line.split()) for line in text.splitlines() if line.strip()]


def check_document(name: str, document: str, pdf: str, want_pages: int) -> List[str]:
    errors = []
    have = pdf_page_count(pdf)
    if have != want_pages:
        errors.append(f"{name}: the PDF has {have} pages, the print file started {want_pages}")
    expected = document_pages(document)
    if len(expected) != want_pages:
        errors.append(f"{name}: the document has {len(expected)} pages, want {want_pages}")
    for number in range(1, min(have, len(expected)) + 1):
        text = pdf_page_text(pdf, number)
        if "\u00a0" in text:
            errors.append(f"{name}: page {number} prints a separator's no-break space")
        got, want = lines_of(text), expected[number - 1]
        if got != want:
            for i, (g, w) in enumerate(zip(got + [""] * len(want), want + [""] * len(got))):
                if g != w:
                    errors.append(f"{name}: page {number} line {i + 1}: printed {g!r}, "
                                  f"document {w!r}")
                    break
        wanted = {c for line in want for c in line if ord(c) > 127}
        missing = sorted(wanted - set(text))
        if missing:
            errors.append(f"{name}: page {number} lacks the characters {''.join(missing)!r}")
    fonts = pdf_fonts(pdf)
    if not fonts or any("DejaVuSansMono" not in f for f in fonts):
        errors.append(f"{name}: the report is not set in DejaVu Sans Mono alone: {fonts}")
    return errors


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="the native zalprint")
    parser.add_argument("--example", required=True, help="the example suite folder")
    parser.add_argument("--work", help="folder for the runs (kept on failure)")
    parser.add_argument("--png", help="only render page 1 of the example to this PNG file")
    parser.add_argument("--pages", type=int, default=4, help="pages of the generated report")
    args = parser.parse_args()

    base = os.path.abspath(args.work or tempfile.gettempdir())
    os.makedirs(base, exist_ok=True)
    work = tempfile.mkdtemp(prefix="browser-", dir=base)
    program = os.path.abspath(args.program)
    example = os.path.abspath(args.example)

    example_doc = run_zalprint(program, example, work)
    example_pdf = os.path.join(work, "example.pdf")
    render_pdf(example_doc, example_pdf, work)
    if args.png:
        out = os.path.abspath(args.png)
        subprocess.run([tool("pdftoppm"), "-png", "-r", "96", "-f", "1", "-l", "1",
                        "-singlefile", example_pdf, os.path.splitext(out)[0]], check=True)
        shutil.rmtree(work, ignore_errors=True)
        print(out)
        return 0

    errors = check_document("example", example_doc, example_pdf, started_pages(example))
    generated = os.path.join(work, "generated")
    write_generated_suite(generated, args.pages)
    gen_doc = run_zalprint(program, generated, os.path.join(work, "run"))
    gen_pdf = os.path.join(work, "generated.pdf")
    render_pdf(gen_doc, gen_pdf, work)
    errors += check_document("generated", gen_doc, gen_pdf, args.pages)

    for e in errors:
        print(e)
    if errors:
        print(f"browser test failed; the documents and PDFs are in {work}")
        return 1
    print("browser test: the example and the generated report print page for page")
    shutil.rmtree(work, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
