#!/usr/bin/env python3
"""End-to-end test of the real program on a copy of the example print request.

One case per run: the suite folder of examples/suite is copied into a fresh
temporary folder, adjusted for the case, and zalprint runs there with ZALTMP,
TERM and ZALEXE pointing into it. COMSPEC and the mail program ZIRIDU are the
recorder (tests/tools/recorder.cpp), which logs the words it was started
with. The test checks the exit code, the document's unique name in the output
directory, its bytes against a golden file (the date line and the generator
and rights-holder lines masked), the recorded hand-off and mail command lines,
and that nothing else in the folder changed.

Natively the program runs directly and COMSPEC is set in its environment.
Under wine (--wine) COMSPEC comes from the prefix's registry environment, so
--set-comspec writes it there once; suite paths are then given as Z: paths.

    run_e2e.py --case NAME --zalprint EXE --recorder EXE [--wine WINE]
    run_e2e.py --set-comspec --recorder EXE --wine WINE
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
EXAMPLE = os.path.join(HERE, "..", "..", "examples", "suite")
GOLDEN = os.path.join(HERE, "golden")
LOG_VARIABLE = "ZALPRINT_RECORDER_LOG"

# Lines of the document that differ from run to run (1-based), with the form
# they must still have.
MASKED = {
    13: re.compile(rb"  <META NAME='generator' CONTENT='[^']*ZalWin[^']*'>"),
    14: re.compile(rb"  <META NAME='copyright' CONTENT='[^']*'>"),
    16: re.compile(rb"  <META NAME='description' CONTENT=' \d{4}/\d\d/\d\d \d\d:\d\d:\d\d GMT'>"),
}

CASES = {
    # The example as it is: shown (handed to RERADA), no mail.
    "example": dict(golden="example.hta", handoff=True),
    # Mostrar=N: the document stays on disk, nothing is started.
    "show-off": dict(golden="example.hta", options={b"Mostrar": b"N"}, handoff=False),
    # Mail delivery: the copy for the archive (the SEND section) is left out
    # and ZIRIDU runs after the hand-off.
    "mail": dict(golden="example-mail.hta", terminal={b"PerCorreu": b"1"}, handoff=True, mail=True),
    # An output directory with blanks, two levels deep, made by the run; the
    # hand-off quotes the document's path.
    "blank-output-dir": dict(golden="example.hta", output_dir="Sortida de factures/2024",
                             handoff=True),
    # A programs directory with a blank: the mail command line is quoted.
    "blank-exe-dir": dict(golden="example-mail.hta", terminal={b"PerCorreu": b"1"},
                          exe_dir="Programes ZAL", handoff=True, mail=True),
}


class Failure(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failure(message)


def suite_path(path, wine):
    """A folder or file as the suite names it: backslashes, a Z: drive under wine."""
    path = os.path.abspath(path).replace("/", "\\")
    return "Z:" + path if wine else path


def program_word(path, wine):
    """How a started program sees its own name: the first word of its command
    line under wine; natively the POSIX backend hands over the native path."""
    return suite_path(path, wine) if wine else os.path.abspath(path)


def set_ini_value(path, key, value):
    """Replaces the value of the one line of key (CP858 bytes, CR LF lines)."""
    with open(path, "rb") as f:
        lines = f.read().split(b"\r\n")
    hits = [i for i, line in enumerate(lines) if line.startswith(key + b"=")]
    check(len(hits) == 1, f"{path}: no single {key!r} line")
    lines[hits[0]] = key + b"=" + value
    with open(path, "wb") as f:
        f.write(b"\r\n".join(lines))


def snapshot(folder):
    """Every file below folder with its bytes."""
    files = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as f:
                files[os.path.relpath(path, folder)] = f.read()
    return files


def compare_document(actual, golden_name):
    with open(os.path.join(GOLDEN, golden_name), "rb") as f:
        expected = f.read()
    check(actual.endswith(b"</HTML>\r\n"), "the document does not end with </HTML> and CR LF")
    got, want = actual.split(b"\r\n"), expected.split(b"\r\n")
    for number, (g, w) in enumerate(zip(got, want), 1):
        if number in MASKED:
            check(MASKED[number].fullmatch(g), f"line {number} has the wrong form: {g!r}")
        else:
            check(g == w, f"line {number} differs from {golden_name}:\n  got  {g!r}\n  want {w!r}")
    check(len(got) == len(want), f"{len(got) - 1} lines, {golden_name} has {len(want) - 1}")


def read_log(path):
    if not os.path.exists(path):
        return []
    with open(path, "rb") as f:
        return [line.split("\t") for line in f.read().decode("latin-1").splitlines()]


def run_case(name, zalprint, recorder, wine):
    case = CASES[name]
    work = tempfile.mkdtemp(prefix=f"zalprint-e2e-{name}-")
    try:
        suite = os.path.join(work, "suite")
        shutil.copytree(EXAMPLE, suite)
        exe_dir = os.path.join(work, case.get("exe_dir", "bin"))
        os.makedirs(exe_dir)
        shutil.copy(recorder, os.path.join(exe_dir, "ZIRIDU.exe" if wine else "ZIRIDU"))
        for key, value in case.get("options", {}).items():
            set_ini_value(os.path.join(suite, "ZalPrint.ini"), key, value)
        for key, value in case.get("terminal", {}).items():
            set_ini_value(os.path.join(suite, "T01", "ZALPRINT.INI"), key, value)
        output = suite
        if "output_dir" in case:
            output = os.path.join(work, case["output_dir"])
            set_ini_value(os.path.join(suite, "ZalPrint.ini"), b"Directori",
                          suite_path(output, wine).encode())
        before = snapshot(work)

        log = os.path.join(work, "calls.log")
        env = dict(os.environ)
        env.pop("COMSPEC", None)
        env.update({
            "ZALTMP": suite_path(suite, wine),
            "TERM": suite_path(os.path.join(suite, "T01"), wine),
            "ZALEXE": suite_path(exe_dir, wine) + "\\",
            LOG_VARIABLE: suite_path(log, True) if wine else log,
        })
        comspec = suite_path(recorder, wine)
        if not wine:
            env["COMSPEC"] = comspec
        command = [wine, zalprint] if wine else [zalprint]
        result = subprocess.run(command, cwd=work, env=env, stdin=subprocess.DEVNULL,
                                capture_output=True, timeout=240)
        check(result.returncode == 0, f"exit code {result.returncode}")

        # The document: one new file with a unique eight-character name.
        documents = os.listdir(output)
        documents = [d for d in documents if d.endswith(".hta")]
        check(len(documents) == 1, f"documents in the output directory: {documents}")
        document = documents[0]
        check(re.fullmatch(r"[0-9A-Z]{8}\.hta", document), f"document name {document!r}")
        with open(os.path.join(output, document), "rb") as f:
            compare_document(f.read(), case["golden"])

        # Nothing else was written: WinPush.tmp is gone again, the inputs are unchanged.
        after = snapshot(work)
        after.pop(os.path.relpath(os.path.join(output, document), work))
        after.pop("calls.log", None)
        check(after == before, f"files changed besides the document: "
                               f"{sorted(set(after) ^ set(before)) or 'contents'}")

        # The programs started, in order: RERADA through COMSPEC, then ZIRIDU.
        expected = []
        if case.get("handoff"):
            path = suite_path(os.path.join(output, document), wine)
            expected.append([program_word(recorder, wine), "/C", "RERADA", path])
        if case.get("mail"):
            expected.append([program_word(os.path.join(exe_dir, "ZIRIDU"), wine)])
        calls = read_log(log)
        check(calls == expected, f"programs started:\n  got  {calls}\n  want {expected}")
    finally:
        shutil.rmtree(work, ignore_errors=True)


def set_comspec(recorder, wine):
    """Makes the recorder the command interpreter of the wine prefix."""
    command = [wine, "reg", "add", "HKCU\\Environment", "/v", "COMSPEC", "/t", "REG_SZ",
               "/d", suite_path(recorder, True), "/f"]
    result = subprocess.run(command, stdin=subprocess.DEVNULL, capture_output=True, timeout=240)
    check(result.returncode == 0, f"wine reg add: exit code {result.returncode}")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--case", choices=sorted(CASES))
    parser.add_argument("--zalprint")
    parser.add_argument("--recorder", required=True)
    parser.add_argument("--wine")
    parser.add_argument("--set-comspec", action="store_true")
    args = parser.parse_args()
    try:
        if args.set_comspec:
            check(args.wine, "--set-comspec needs --wine")
            set_comspec(args.recorder, args.wine)
        else:
            check(args.case and args.zalprint, "--case and --zalprint are needed")
            run_case(args.case, args.zalprint, args.recorder, args.wine)
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        return 1
    print("ok")
    return 0


if __name__ == "__main__":
    sys.exit(main())
