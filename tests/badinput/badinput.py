#!/usr/bin/env python3
"""The bad-input table: the real program, run end to end on hostile inputs.

Every row builds a suite folder (temporary, terminal, programs and current
directories, INI files, print file, environment), runs zalprint in it under a
timeout and checks the promise of the utility: exit code 0, no crash and no
hang; a complete document (the header first, the exact footer last) in the
expected folder, or no document at all where none can be made; nothing else
created, changed or removed in the suite folder (the window-stack file
included); and, row by row, what the document must hold.

    badinput.py --program build/native/zalprint
    badinput.py --program build/windows/zalprint.exe --wine wine

Natively the program draws on its in-memory console; under wine it runs on
wine's console over a pseudo-terminal (script). There COMSPEC comes from the
prefix's registry, so each run goes through a small batch file that sets (or
clears) COMSPEC first.
"""

import argparse
import dataclasses
import hashlib
import os
import random
import re
import shlex
import shutil
import signal
import subprocess
import sys
import tempfile
from typing import Callable, Dict, List, Optional

HEADER_START = b"<HTML XMLNS:IE>\r\n\r\n<HEAD>\r\n"
BODY_START = b"<BODY><PRE>\r\n"
FOOTER = b"</PRE></BODY>\r\n\r\n</HTML>\r\n"
SEPARATOR = b"<DIV CLASS='salt'>&nbsp;</DIV>\r\n"
DOC_NAME = re.compile(r"^[0-9A-Z]{8}\.hta$")
DIR = "<directory>"  # a fixture entry that is a directory, not a file
FIFO = "<named pipe>"  # native only: a fixture entry that is a named pipe
ZERO = "<link to /dev/zero>"  # native only: a fixture entry that reads without end

# Where each role of the suite lives inside a row's folder, unless the row moves it.
ROLES = {"tmp": "tmp", "term": "term", "exe": "exe", "cwd": "cwd"}

BASE_FILES = {
    "tmp/Sessio.ini": b"[Menu]\r\nTitol=Prova\r\nOperador=Operari\r\n",
    "tmp/ZalPrint.ini": b"[Opcions]\r\nMostrar=N\r\n",
    "term/ZALPRINT.INI": b"[Entrada]\r\nPerCorreu=0\r\n",
    "tmp/zalprint.tmp": b"DEVICE P\r\nPAGE 1\r\n5,HOLA,1\r\n",
}


@dataclasses.dataclass
class Doc:
    """A finished document split into its three parts."""

    raw: bytes
    header: bytes
    body: bytes

    def header_line(self, prefix: bytes) -> Optional[bytes]:
        """The first header line that begins with prefix, None when there is none."""
        for line in self.header.split(b"\r\n"):
            if line.startswith(prefix):
                return line
        return None


Check = Callable[[Doc], List[str]]


@dataclasses.dataclass
class Row:
    name: str
    files: Dict[str, object] = dataclasses.field(default_factory=dict)
    env: Dict[str, object] = dataclasses.field(default_factory=dict)
    layout: Dict[str, str] = dataclasses.field(default_factory=dict)
    expect: Optional[str] = "tmp"  # role or folder of the document; None: no document
    new_dirs: List[str] = dataclasses.field(default_factory=list)
    checks: List[Check] = dataclasses.field(default_factory=list)
    modes: Dict[str, int] = dataclasses.field(default_factory=dict)
    as_nobody: bool = False  # native only: run without root's access rights
    native_only: bool = False  # the fixture needs POSIX file kinds
    comspec_unset: bool = False


# ---- checks on the document ------------------------------------------------


def body_is(expected: bytes) -> Check:
    def check(doc: Doc) -> List[str]:
        if doc.body == expected:
            return []
        return [f"body differs: {len(doc.body)} bytes, want {len(expected)}; "
                f"starts {doc.body[:80]!r}, want {expected[:80]!r}"]
    return check


def contains(*pieces: bytes) -> Check:
    def check(doc: Doc) -> List[str]:
        return [f"missing {p[:80]!r}" for p in pieces if p not in doc.raw]
    return check


def absent(*pieces: bytes) -> Check:
    def check(doc: Doc) -> List[str]:
        return [f"must not hold {p[:80]!r}" for p in pieces if p in doc.raw]
    return check


def header_has(*lines: bytes) -> Check:
    def check(doc: Doc) -> List[str]:
        have = doc.header.split(b"\r\n")
        return [f"header lacks the line {line[:100]!r}" for line in lines if line not in have]
    return check


def title_is(title: bytes) -> Check:
    return header_has(b"  <TITLE>" + title + b"</TITLE>")


def count_is(piece: bytes, n: int) -> Check:
    def check(doc: Doc) -> List[str]:
        have = doc.raw.upper().count(piece.upper())
        return [] if have == n else [f"{piece!r} occurs {have} times, want {n}"]
    return check


def body_free_of(*chars: bytes) -> Check:
    def check(doc: Doc) -> List[str]:
        return [f"body holds a raw {c!r}" for c in chars if c in doc.body]
    return check


def complete_document(raw: bytes) -> (Optional[Doc], List[str]):
    """Checks that raw is a whole document and splits it; the faults found."""
    errors = []
    if not raw.startswith(HEADER_START):
        errors.append(f"does not begin with the header: {raw[:40]!r}")
    if not raw.endswith(FOOTER):
        errors.append(f"does not end with the footer: {raw[-40:]!r}")
    at = raw.find(BODY_START)
    if at < 0 or errors:
        return None, errors + ([] if at >= 0 else ["no <BODY><PRE> line"])
    header = raw[: at + len(BODY_START)]
    doc = Doc(raw, header, raw[len(header): len(raw) - len(FOOTER)])
    lines = header.count(b"\r\n")
    want = 119 if doc.header_line(b"  <META NAME='keywords'") is not None else 118
    if lines != want:
        errors.append(f"header has {lines} lines, want {want}")
    try:
        raw.decode("utf-8")
    except UnicodeDecodeError as e:
        errors.append(f"not UTF-8 at byte {e.start}")
    return doc, errors


# ---- fixtures ----------------------------------------------------------------


def garbage(size: int, seed: int) -> bytes:
    """Seeded random bytes without Ctrl-Z, so that all of them are read."""
    data = bytearray(random.Random(seed).randbytes(size))
    for i, b in enumerate(data):
        if b == 0x1A:
            data[i] = 0x1B
    return bytes(data)


def long_report(pages: int, lines: int) -> (bytes, bytes):
    """A print file of pages x lines text lines, and the body it must give."""
    src = [b"DEVICE P"]
    body = []
    for p in range(pages):
        src.append(b"PAGE %d" % (p + 1))
        page = []
        for n in range(lines):
            src.append(b"3,Pagina %d linia %d,1" % (p + 1, n + 1))
            page.append(b"  Pagina %d linia %d\r\n" % (p + 1, n + 1))
        body.append(b"".join(page))
    return b"\r\n".join(src) + b"\r\n", SEPARATOR.join(body)


def escaped(text: bytes) -> bytes:
    """The four replacements the document makes in every text it takes in."""
    return (text.replace(b"&", b"&amp;").replace(b"<", b"&lt;")
            .replace(b">", b"&gt;").replace(b"'", b"&#39;"))


INJ_TITLE = b"<SCRIPT>alert('t')</SCRIPT> & \"q\""
INJ_OPERATOR = b"<IMG src=x onerror=alert(1)>'\"&"
INJ_KEYWORDS = b"k'><SCRIPT>x()</SCRIPT>"
INJ_BODY = b"<SCRIPT>alert('b')</SCRIPT> <IMG onerror=\"y()\"> 'a' & \"q\""

BIG_REPORT, BIG_BODY = long_report(4000, 50)
PURE_GARBAGE = garbage(256 * 1024, 1)
assert b"DEVICE" not in PURE_GARBAGE
MB = 1024 * 1024
CP858_OUT = "Sortida ç d'Alòs"  # a directory name with letters beyond ASCII


def ini(*lines: bytes) -> bytes:
    return b"".join(line + b"\r\n" for line in lines)


def rows() -> List[Row]:
    return [
        # -- the print file
        Row("missing print file", files={"tmp/zalprint.tmp": None}, expect=None),
        Row("empty print file", files={"tmp/zalprint.tmp": b""}, expect=None),
        Row("print file is a directory", files={"tmp/zalprint.tmp": DIR}, expect=None),
        Row("print file and INI files are named pipes",
            files={"tmp/zalprint.tmp": FIFO, "tmp/Sessio.ini": FIFO, "tmp/ZalPrint.ini": FIFO},
            expect=None, native_only=True),
        Row("print file reads without end (/dev/zero)",
            files={"tmp/zalprint.tmp": ZERO}, expect=None, native_only=True),
        Row("print file without read permission", modes={"tmp/zalprint.tmp": 0o000},
            as_nobody=True, expect=None),
        Row("only SEND lines", files={"tmp/zalprint.tmp": ini(b"SEND,x", b"send", b"  SEND,a,b")},
            expect=None),
        Row("only SEND lines, mail delivery on",
            files={"tmp/zalprint.tmp": ini(b"SEND,x", b"SEND"),
                   "term/ZALPRINT.INI": ini(b"[Entrada]", b"PerCorreu=1")},
            expect=None),
        Row("binary garbage", files={"tmp/zalprint.tmp": PURE_GARBAGE}, expect=None),
        Row("binary garbage after DEVICE and PAGE",
            files={"tmp/zalprint.tmp": b"DEVICE P\r\nPAGE\r\n" + garbage(256 * 1024, 2)}),
        Row("a 1 MB text line",
            files={"tmp/zalprint.tmp": b"DEVICE P\r\nPAGE\r\n1," + b"A" * MB + b",1\r\n"},
            checks=[body_is(b"A" * MB + b"\r\n")]),
        Row("200,000 lines in 4,000 pages", files={"tmp/zalprint.tmp": BIG_REPORT},
            checks=[body_is(BIG_BODY)]),
        Row("LF-only line ends: one DEVICE line",
            files={"tmp/zalprint.tmp": b"DEVICE P\nPAGE\n1,HOLA,1\n"}, checks=[body_is(b"")]),
        Row("Ctrl-Z in the middle",
            files={"tmp/zalprint.tmp": b"DEVICE P\r\nPAGE\r\n1,abans,1\r\n\x1a1,despres,1\r\n"},
            checks=[body_is(b"abans\r\n")]),
        Row("NUL bytes",
            files={"tmp/zalprint.tmp": b"DEVICE P\r\nPAGE\x00\r\n1,a\x00b,1\r\nDEV\x00ICE\r\n"},
            checks=[body_is(b"a b\r\nDEV IC"), absent(b"\x00")]),
        Row("numbers beyond 16 bits",
            files={"tmp/zalprint.tmp": ini(b"DEVICE P", b"PAGE", b"40000,x,1", b"1,y,-40000",
                                           b"JUS N 99999 \\.\\", b"1,z,1")
                   + b"PAGE\r\n" * 40000 + b"1,fi,1\r\n"},
            checks=[body_is(b" " * 32766 + b"x\r\nyz" + b"." * 32766 + b"\r\nfi\r\n")]),
        Row("a second DEVICE line keeps the report written so far",
            files={"tmp/zalprint.tmp": ini(b"DEVICE P", b"PAGE", b"1,abans,1", b"DEVICE P",
                                           b"1,despres,1")},
            checks=[body_is(b"abans\r\ndespres\r\n")]),
        # -- the output directory
        Row("output directory under a plain file",
            files={"tmp/plain": b"x",
                   "tmp/ZalPrint.ini": lambda c: ini(b"[Opcions]", b"Mostrar=N",
                                                     b"Directori=" + c.oem("tmp/plain/out"))},
            expect=None),
        Row("output directory without write permission",
            files={"tmp/ro": DIR,
                   "tmp/ZalPrint.ini": lambda c: ini(b"[Opcions]", b"Mostrar=N",
                                                     b"Directori=" + c.oem("tmp/ro"))},
            modes={"tmp/ro": 0o555}, as_nobody=True, expect=None),
        Row("output directory created along its path, blanks and accents",
            files={"tmp/ZalPrint.ini": lambda c: ini(
                b"[Opcions]", b"Mostrar=N",
                b"Directori=" + c.oem("tmp/" + CP858_OUT + "/docs"))},
            expect="tmp/" + CP858_OUT + "/docs", new_dirs=["tmp/" + CP858_OUT]),
        # -- the environment
        Row("ZALTMP unset: all from TERM, Sessio.ini from the current folder",
            files={"tmp/Sessio.ini": None, "tmp/ZalPrint.ini": None, "tmp/zalprint.tmp": None,
                   "term/ZALPRINT.INI": None,
                   "cwd/Sessio.ini": ini(b"[Menu]", b"Titol=Des de cwd"),
                   "term/ZalPrint.ini": ini(b"[Opcions]", b"Mostrar=N", b"[Entrada]"),
                   "term/zalprint.tmp": BASE_FILES["tmp/zalprint.tmp"]},
            env={"ZALTMP": None}, expect="term", checks=[title_is(b" Des de cwd ")]),
        Row("TERM unset", env={"TERM": None}),
        Row("ZALTMP and TERM unset: all in the current folder",
            files={"tmp/Sessio.ini": None, "tmp/ZalPrint.ini": None, "tmp/zalprint.tmp": None,
                   "term/ZALPRINT.INI": None,
                   "cwd/Sessio.ini": BASE_FILES["tmp/Sessio.ini"],
                   "cwd/ZalPrint.ini": BASE_FILES["tmp/ZalPrint.ini"],
                   "cwd/zalprint.tmp": BASE_FILES["tmp/zalprint.tmp"]},
            env={"ZALTMP": None, "TERM": None}, expect="cwd", checks=[title_is(b" Prova ")]),
        Row("ZALEXE unset, mail delivery on",
            files={"term/ZALPRINT.INI": ini(b"[Entrada]", b"PerCorreu=1")}, env={"ZALEXE": None}),
        Row("COMSPEC unset, document shown",
            files={"tmp/ZalPrint.ini": ini(b"[Opcions]", b"Mostrar=S")}, comspec_unset=True),
        # -- paths
        Row("paths with blanks, document shown",
            layout={"tmp": "tmp amb blancs", "term": "terminal 01", "exe": "els meus programes"},
            files={"tmp/ZalPrint.ini": ini(b"[Opcions]", b"Mostrar=S")}),
        Row("a temporary folder path over 300 characters long",
            layout={"tmp": "/".join(["carpeta"] * 40) + "/tmp"}),
        Row("a temporary folder whose name the OEM code page cannot hold",
            layout={"tmp": "Журнал/tmp"}, expect=None),
        Row("paths with letters beyond ASCII",
            layout={"tmp": "Plaça d'Alòs/tmp", "term": "Plaça d'Alòs/terminal"},
            files={"tmp/Sessio.ini": ini(b"[Menu]", b"Titol=Pla\x87a", b"[Terminal]")},
            checks=[title_is(b" Pla\xc3\xa7a ")]),
        # -- the INI files
        Row("INI files that are directories",
            files={"tmp/Sessio.ini": DIR, "tmp/VeskTerm.ini": DIR, "tmp/ZalPrint.ini": DIR,
                   "term/ZALPRINT.INI": DIR},
            checks=[title_is(b"  "), header_has(b"  <META NAME='author' CONTENT=''>")]),
        Row("empty INI files",
            files={"tmp/Sessio.ini": b"", "tmp/VeskTerm.ini": b"", "tmp/ZalPrint.ini": b"",
                   "term/ZALPRINT.INI": b""},
            checks=[title_is(b"  ")]),
        Row("LF-only INI files read as one line",
            files={"tmp/Sessio.ini": b"[Menu]\nTitol=X\n",
                   "tmp/VeskTerm.ini": b"[Pantalla]\nSeleccio=1\nCol1=01020304050607080910\n",
                   "tmp/ZalPrint.ini": lambda c: b"[Opcions]\nMostrar=N\nDirectori="
                   + c.oem("tmp/sub") + b"\n",
                   "term/ZALPRINT.INI": b"[Entrada]\nPerCorreu=1\n"},
            checks=[title_is(b"  ")]),
        Row("INI files of 1 MB",
            files={"tmp/Sessio.ini": b"; farciment\r\n" * (MB // 13)
                   + ini(b"[Altres]", b"Clau=" + b"v" * MB, b"[Menu]", b"Titol=Final"),
                   "tmp/VeskTerm.ini": ini(b"[Pantalla]", b"Col0=" + b"9" * MB),
                   "tmp/ZalPrint.ini": ini(b"[Opcions]", b"Mostrar=N", b"Keywords=" + b"k" * MB)},
            checks=[title_is(b" Final "),
                    header_has(b"  <META NAME='keywords' CONTENT='" + b"k" * MB + b"'>")]),
        # -- the window-stack file
        Row("WinPush.tmp is a directory", files={"tmp/WinPush.tmp": DIR}),
        Row("WinPush.tmp holds garbage, which stays as it was",
            files={"tmp/WinPush.tmp": garbage(1000, 3)}),
        # -- script injection
        Row("script injection in title, operator, keywords and body",
            files={"tmp/Sessio.ini": ini(b"[Menu]", b"Titol=" + INJ_TITLE,
                                         b"Operador=" + INJ_OPERATOR),
                   "tmp/ZalPrint.ini": ini(b"[Opcions]", b"Mostrar=N",
                                           b"Keywords=" + INJ_KEYWORDS),
                   "tmp/zalprint.tmp": ini(b"DEVICE P", b"PAGE", b"1," + INJ_BODY + b",1",
                                           b"JUS N 12 \\<'\\", b"1,a>&,1")},
            checks=[title_is(b" " + escaped(INJ_TITLE) + b" "),
                    header_has(b"  <META NAME='author' CONTENT='" + escaped(INJ_OPERATOR) + b"'>",
                               b"  <META NAME='keywords' CONTENT='" + escaped(INJ_KEYWORDS)
                               + b"'>"),
                    body_is(escaped(INJ_BODY) + b"\r\n" + escaped(b"a>&" + b" " + b"<'" * 4)
                            + b"\r\n"),
                    body_free_of(b"<", b">", b"'"),
                    count_is(b"<SCRIPT", 2), count_is(b"<IMG", 0)]),
    ]


# ---- running a row -----------------------------------------------------------


class Target:
    """How a row's paths are written and how the program is run: natively or under wine."""

    def __init__(self, program: str, wine: Optional[str], work: str):
        self.program = os.path.abspath(program)
        self.wine = wine
        self.work = work
        self.nobody: Optional[str] = None

    def nobody_work(self) -> str:
        """A folder that the user nobody can reach, whatever the build tree's rights:
        the rows run without root's rights live there."""
        if not self.nobody:
            self.nobody = tempfile.mkdtemp(prefix="badinput-nobody-")
            os.chmod(self.nobody, 0o755)
        return self.nobody

    def nobody_program(self) -> str:
        """A copy of the program that the user nobody can run."""
        copy = os.path.join(self.nobody_work(), os.path.basename(self.program))
        if not os.path.exists(copy):
            shutil.copy(self.program, copy)
            os.chmod(copy, 0o755)
        return copy

    def path(self, unix_path: str) -> str:
        """A folder as the program sees it."""
        if not self.wine:
            return unix_path
        return "Z:" + unix_path.replace("/", "\\")

    def run(self, env: Dict[str, str], cwd: str, comspec: Optional[str], as_nobody: bool,
            timeout: float):
        if self.wine:
            # The prefix's registry decides COMSPEC: set it in a batch file before the program.
            batch = os.path.join(self.work, "run.cmd")
            with open(batch, "wb") as f:
                f.write(b"@echo off\r\nset COMSPEC=" + (comspec or "").encode("ascii")
                        + b"\r\n\"" + self.path(self.program).encode("ascii") + b"\"\r\n"
                        + b"exit /b %ERRORLEVEL%\r\n")
            # On wine's console of 80 x 25 cells (a pseudo-terminal), as the suite runs it,
            # so that the status box and the window-stack file take part in every row.
            argv = ["script", "-qec", "stty cols 80 rows 25; exec " + shlex.quote(self.wine)
                    + " cmd /c " + shlex.quote(self.path(batch)), "/dev/null"]
        else:
            if comspec is not None:
                env["COMSPEC"] = comspec
            argv = [self.program]
            if as_nobody and os.geteuid() == 0:
                argv = ["setpriv", "--reuid=65534", "--regid=65534", "--clear-groups",
                        self.nobody_program()]
        proc = subprocess.Popen(argv, env=env, cwd=cwd, stdin=subprocess.DEVNULL,
                                stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                start_new_session=True)
        try:
            out, err = proc.communicate(timeout=timeout)
            return proc.returncode, err.decode("utf-8", "replace"), False
        except subprocess.TimeoutExpired:
            os.killpg(proc.pid, signal.SIGKILL)
            proc.communicate()
            return None, "", True


class Context:
    """The paths of one row's folder, for fixtures that name them."""

    def __init__(self, root: str, layout: Dict[str, str], target: Target):
        self.root = root
        self.layout = layout
        self.target = target

    def local(self, rel: str) -> str:
        """The Unix path of a role-relative name such as "tmp/Sessio.ini"."""
        role, _, rest = rel.partition("/")
        base = self.layout.get(role, role)
        return os.path.join(self.root, base, rest) if rest else os.path.join(self.root, base)

    def oem(self, rel: str) -> bytes:
        """A path as the INI files of the suite hold it: OEM bytes, "\\" separators."""
        return self.target.path(self.local(rel)).replace("/", "\\").encode("cp858")


def snapshot(root: str) -> Dict[str, str]:
    """Every entry under root with the digest of its content ("dir" for folders)."""
    seen = {}
    for top, dirs, files in os.walk(root):
        for d in dirs:
            seen[os.path.relpath(os.path.join(top, d), root)] = "dir"
        for f in files:
            p = os.path.join(top, f)
            if os.path.islink(p) or not os.path.isfile(p):
                seen[os.path.relpath(p, root)] = "special"  # a pipe or device is never read
                continue
            with open(p, "rb") as fh:
                seen[os.path.relpath(p, root)] = hashlib.sha256(fh.read()).hexdigest()
    return seen


def run_row(row: Row, target: Target, index: int, timeout: float) -> List[str]:
    nobody = row.as_nobody and not target.wine and os.geteuid() == 0
    root = os.path.join(target.nobody_work() if nobody else target.work, f"row{index:02d}")
    layout = dict(ROLES, **row.layout)
    ctx = Context(root, layout, target)
    for role in ROLES:
        os.makedirs(ctx.local(role), exist_ok=True)
    files = dict(BASE_FILES, **row.files)
    for rel, content in files.items():
        if content is None:
            continue
        path = ctx.local(rel)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        if content is DIR:
            os.makedirs(path, exist_ok=True)
            continue
        if content is FIFO:
            os.mkfifo(path)
            continue
        if content is ZERO:
            os.symlink("/dev/zero", path)
            continue
        with open(path, "wb") as f:
            f.write(content(ctx) if callable(content) else content)
    if row.as_nobody:
        for top, dirs, _ in os.walk(root):
            for d in dirs:
                os.chmod(os.path.join(top, d), 0o777)
        os.chmod(root, 0o777)
    for rel, mode in row.modes.items():
        os.chmod(ctx.local(rel), mode)

    env = {k: v for k, v in os.environ.items() if k not in ("ZALTMP", "TERM", "ZALEXE", "COMSPEC")}
    env["ZALTMP"] = target.path(ctx.local("tmp"))
    env["TERM"] = target.path(ctx.local("term"))
    env["ZALEXE"] = target.path(ctx.local("exe")) + ("\\" if target.wine else "/")
    for key, value in row.env.items():
        if value is None:
            env.pop(key, None)
        else:
            env[key] = value(ctx) if callable(value) else value
    if row.comspec_unset:
        comspec = None if not target.wine else ""
        env.pop("COMSPEC", None)
    else:
        comspec = "C:\\windows\\system32\\cmd.exe" if target.wine else "/bin/true"

    before = snapshot(root)
    code, err, timed_out = target.run(env, ctx.local("cwd"), comspec, row.as_nobody, timeout)
    after = snapshot(root)

    errors = []
    if timed_out:
        return [f"no end within {timeout:.0f} s"]
    if code != 0:
        errors.append(f"exit code {code}; stderr: {err[-2000:]}")
    for rel in sorted(set(before) - set(after)):
        errors.append(f"removed {rel}")
    for rel in sorted(set(before) & set(after)):
        if before[rel] != after[rel]:
            errors.append(f"changed {rel}")
    created = sorted(set(after) - set(before))
    allowed_dirs = {os.path.relpath(ctx.local(d), root) for d in row.new_dirs}
    doc_dir = None if row.expect is None else os.path.relpath(ctx.local(row.expect), root)
    if doc_dir is not None:
        allowed_dirs.add(doc_dir)
    docs = [rel for rel in created
            if doc_dir is not None and os.path.dirname(rel) == doc_dir
            and DOC_NAME.match(os.path.basename(rel)) and after[rel] != "dir"]
    for rel in created:
        if rel not in docs and rel not in allowed_dirs:
            errors.append(f"stray entry {rel}")
    if row.expect is None:
        return errors
    if len(docs) != 1:
        return errors + [f"want one document in {doc_dir}, found {len(docs)}"]
    with open(os.path.join(root, docs[0]), "rb") as f:
        doc, faults = complete_document(f.read())
    errors += faults
    if doc is not None:
        for check in row.checks:
            errors += check(doc)
    return errors


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--program", required=True, help="zalprint or zalprint.exe")
    parser.add_argument("--wine", help="the wine program, for zalprint.exe")
    parser.add_argument("--work", help="folder for the rows' suite folders (kept on failure)")
    parser.add_argument("--timeout", type=float, default=0, help="seconds one run may take")
    parser.add_argument("--only", help="run the rows whose name holds this text")
    args = parser.parse_args()

    base = os.path.abspath(args.work or tempfile.gettempdir())
    os.makedirs(base, exist_ok=True)
    work = tempfile.mkdtemp(prefix="badinput-", dir=base)
    os.chmod(work, 0o755)
    target = Target(args.program, args.wine, work)
    timeout = args.timeout or (600 if args.wine else 300)

    failed = 0
    table = rows()
    for index, row in enumerate(table):
        if args.only and args.only not in row.name:
            continue
        if row.as_nobody and args.wine:
            print(f"skip  {row.name} (needs a native run without root's rights)")
            continue
        if row.native_only and args.wine:
            print(f"skip  {row.name} (needs POSIX file kinds)")
            continue
        errors = run_row(row, target, index, timeout)
        print(("ok    " if not errors else "FAIL  ") + row.name, flush=True)
        for e in errors:
            print("      " + e, flush=True)
        failed += bool(errors)
    if failed:
        print(f"{failed} rows failed; their folders are in {work}"
              + (f" and {target.nobody}" if target.nobody else ""))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    if target.nobody:
        shutil.rmtree(target.nobody, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
