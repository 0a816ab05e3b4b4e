#!/usr/bin/env python3
"""Writes the seed corpora of the fuzz targets into fuzz/corpus/<target>/.

The seeds come from the example suite (examples/suite) and from the edge cases
of the INI files, the print file and the window-stack file. Run it again after
the example changes; the committed corpus is what the fuzz runs start from.
"""
import pathlib
import struct

ROOT = pathlib.Path(__file__).resolve().parent.parent
SUITE = ROOT / "examples" / "suite"
CORPUS = ROOT / "fuzz" / "corpus"


def ini_seed(section: bytes, key: bytes, file: bytes) -> bytes:
    """fuzz_ini input: length byte, section, length byte, key, then the file."""
    assert len(section) < 32 and len(key) < 32
    return bytes([len(section)]) + section + bytes([len(key)]) + key + file


def run_seed(options: int, print_file: bytes) -> bytes:
    """fuzz_run input: the option bits, then the print file."""
    return bytes([options]) + print_file


def field(value: int, width: int) -> bytes:
    return str(value).zfill(width)[-width:].encode()


def record(cursor, previous, window, cell=b"x\x07") -> bytes:
    """One window-stack record: cursor, previous window, saved window, cells, length."""
    top, left, bottom, right = window
    cells = cell * ((bottom - top + 1) * (right - left + 1))
    head = b"".join(field(v, 2) for v in (*cursor, *previous, *window))
    return head + cells + field(20 + len(cells) + 5, 5)


def winpush_seed(mode: int, header: int, fuzzed: bytes) -> bytes:
    """fuzz_winpush input: mode byte, 4 header bytes (or an offset into fuzzed), fuzzed part."""
    return bytes([mode]) + struct.pack("<i", header) + fuzzed


def crlf(*lines: bytes) -> bytes:
    return b"".join(line + b"\r\n" for line in lines)


def ini_seeds():
    seeds = {}
    suite_files = {
        "Sessio.ini": [(b"Menu", b"Titol"), (b"Menu", b"Operador"), (b"Terminal", b"Dir")],
        "VeskTerm.ini": [(b"Pantalla", b"Seleccio"), (b"Pantalla", b"Col1")],
        "ZalPrint.ini": [(b"Opcions", b"Mostrar"), (b"Opcions", b"Keywords")],
        "T01/ZALPRINT.INI": [(b"Entrada", b"PerCorreu"), (b"Entrada", b"PrtTambe")],
    }
    for name, keys in suite_files.items():
        path = SUITE / name
        if path.exists():
            for section, key in keys:
                seeds[f"suite-{path.stem}-{key.decode()}"] = ini_seed(section, key, path.read_bytes())
    menu = lambda *lines: crlf(b"[Menu]", *lines)
    cases = {
        "blank-after-equals": (b"Menu", b"Titol", menu(b"Titol = Factures")),
        "comment": (b"Menu", b"Titol", menu(b"Titol=Factures ; del mes")),
        "quotes": (b"Menu", b"Titol", menu(b'Titol="A b"', b'Operador= "c"')),
        "two-quotes": (b"Menu", b"Titol", menu(b'Titol=""')),
        "semicolon-in-value": (b"Terminal", b"Dir", crlf(b"[Terminal]", b"Dir=C:\\A;B")),
        "header-forms": (b" menu ", b"titol", crlf(b"x=1", b"[Menu", b"TITOL=x", b"[ menu ]",
                                                   b"Titol=y")),
        "header-tail": (b"Menu", b"Titol", crlf(b"[Menu] old", b"Titol\t=x", b"Titol=z")),
        "second-section": (b"Menu", b"Operador", crlf(b"[Menu]", b"Titol=a", b"[Altre]",
                                                      b"[Menu]", b"Operador=b")),
        "lf-only": (b"Menu", b"Titol", b"[Menu]\nTitol=x\n"),
        "ctrl-z": (b"Menu", b"Titol", b"[Menu]\r\nTitol=a\x1abc\r\n"),
        "cr-lf-lf": (b"Menu", b"Titol", b"[Menu]\r\n\nTitol=a\r\r\nTitol=b"),
        "oem-letters": (b"\x84\x94\x81", b"\x82\xa4\x86\x87", crlf(b"[\x8e\x99\x9a]",
                                                                   b"\x90\xa5\x8f\x80=ok")),
        "empty-key": (b"", b"", crlf(b"[]", b"=value")),
    }
    for name, (section, key, file) in cases.items():
        seeds[name] = ini_seed(section, key, file)
    return seeds


def run_seeds():
    seeds = {}
    example = SUITE / "zalprint.tmp"
    if example.exists():
        data = example.read_bytes()
        seeds["suite-example"] = run_seed(0, data)
        seeds["suite-example-mail"] = run_seed(1, data)
        seeds["suite-example-markup"] = run_seed(8 | 4, data)
    seeds["line-kinds"] = run_seed(1, crlf(
        b"5,before device,1", b"PAGE", b"DEVICE P", b"DEVICE", b"device P", b"PAGE 12",
        b"send,x", b"DEVICE Q", b"5,hidden,1", b"  SEND,x", b"SEND", b"PAGEx",
        b"*  b u ", b"*@ENQXBUI", b"JUS n 40 \\-\\", b"JUS N40\\.\\", b"JUS N 60 \\.\\",
        b"5,TOTAL, IVA,1", b"12,HOLA", b"HOLA", b"5,,2", b"   ", b"\t\t", b"", b"SEND,"))
    seeds["fills"] = run_seed(0, crlf(
        b"DEVICE P", b"PAGE 1", b"JUS N 20 \\.\\", b"1,ABCDE,1", b"JUS N 20 \\. \\",
        b"1,ABCDE,1", b"JUS N 3 \\-=\\", b"1,ABCDEFGH,1", b"JUS N 30 \\x", b"4,A == B,0",
        b"9,x==y=z,1", b"1,<SCRIPT>&'\"\x09\x1b\x7f\xff\x80\xd5\xb3,1", b"JUS N 10 \\\x0a\x00\\",
        b"1,a,0", b"PAGE 2", b"PAGE 3"))
    seeds["limits"] = run_seed(0, crlf(
        b"DEVICE P", b"PAGE", b"32767,x,0", b"32767,y,0", b"1,,-32768", b"1,,-5", b"-7,z,40000",
        b"&H7FFF,w,&HFFFF", b"1e9,v,-1e9", b"JUS N 32767 \\ab\\", b"1,u,32767", b"1,t,32767",
        b"JUS N -32768 \\ab\\", b"1,s,1", b"PAGE"))
    seeds["long-lines"] = run_seed(128, crlf(
        b"DEVICE P", b"PAGE", b"~5,AB==C<&", b"1,,1", b"JUS N 20 \\.\\", b"~x", b"1,y,1",
        b"~JUS N 32767 \\ab\\", b"3,z,0", b"~*BU", b"7,w,2"))
    seeds["pages"] = run_seed(0, b"DEVICE P\r\n" + b"PAGE\r\n1,x,1\r\n" * 40)
    seeds["lf-only"] = run_seed(0, b"DEVICE P\nPAGE 1\n1,x,1\n")
    seeds["small-console"] = run_seed(32 | 16, crlf(b"DEVICE P", b"PAGE", b"1,x,1"))
    seeds["no-console"] = run_seed(96 | 2 | 1, crlf(b"SEND,x", b"DEVICE P", b"PAGE", b"1,x,1"))
    return seeds


def winpush_seeds():
    box = record((10, 1), (0, 0, 0, 0), (23, 34, 25, 48))
    inner = record((24, 36), (23, 34, 25, 48), (2, 2, 4, 6), b"\xda\x1e")
    other_end = 5 + len(record((3, 4), (0, 0, 0, 0), (5, 10, 7, 20)))
    off_console = record((99, 99), (0, 0, 0, 0), (30, 90, 30, 99))
    return {
        "pops-other": winpush_seed(0, 0, b""),
        "box-on-top": winpush_seed(0, len(box), box),
        "two-on-top": winpush_seed(0, len(box + inner), box + inner),
        "leftovers": winpush_seed(0, len(box), box + inner),
        "no-push-this-run": winpush_seed(2, len(box), box),
        "empty-stack": winpush_seed(1, 5, box),
        "header-past-end": winpush_seed(1, other_end + 1000, box),
        "header-negative": winpush_seed(1, -1, box),
        "header-into-header": winpush_seed(1, 3, box),
        "header-inside-other": winpush_seed(1, other_end - 10, box),
        "length-mismatch": winpush_seed(0, len(box), box[:-5] + b"00116"),
        "corners-off-console": winpush_seed(0, len(off_console), off_console),
        "garbage-length": winpush_seed(0, 5, b"\x00\x00\x00\x00abcde"),
    }


def main():
    for target, seeds in (("fuzz_ini", ini_seeds()), ("fuzz_run", run_seeds()),
                          ("fuzz_winpush", winpush_seeds())):
        folder = CORPUS / target
        folder.mkdir(parents=True, exist_ok=True)
        for old in folder.iterdir():
            old.unlink()
        for name, data in seeds.items():
            (folder / name).write_bytes(data)
        print(f"{target}: {len(seeds)} seeds")


if __name__ == "__main__":
    main()
