#!/usr/bin/env python3
"""Times programs for the zalprint benchmarks and prints medians and ratios.

  measure.py native --zalprint EXE --data DIR [--runs N]
      The native program (its in-memory console) against iconv and cat on the
      same print files (DIR/p1, DIR/p2000, DIR/p5000, made by gen_printfile.py),
      and the peak memory of the 1-page and 5,000-page runs.
  measure.py wine --wine WINE --zalprint EXE --writes EXE --suite DIR --empty DIR
                  --suite-path TEXT --empty-path TEXT --lines N [--runs N]
      zalprint.exe under wine on a pty console against console_writes.exe
      making one bare console write per line, per handled line, with wine's
      start-up (zalprint on an empty print file, console_writes with N = 0)
      subtracted.

The commands of one measurement are run in turns, round after round (the
order rotating each round), so that a change in the machine's load falls on
all of them alike. Each run is a posix_spawn and a wait4: the wall time
includes process start-up and exit, the rusage gives the CPU time. The peak
memory is the "Maximum resident set size" of /usr/bin/time, measured in runs
of its own: a child spawned from this script would report the script's own
pages as its peak.
"""

import argparse
import glob
import os
import shlex
import shutil
import statistics
import sys
import tempfile
import time


def cpu_times():
    """The machine's total and idle CPU time so far, in clock ticks."""
    with open("/proc/stat") as f:
        values = [int(v) for v in f.readline().split()[1:]]
    return sum(values), values[3] + values[4]


def quietness(seconds=2.0):
    """The 1-minute load average and the idle share of all cores over a short
    wait, as a text: how much the other work on the machine can disturb us."""
    with open("/proc/loadavg") as f:
        load = f.read().split()[0]
    total, idle = cpu_times()
    time.sleep(seconds)
    total2, idle2 = cpu_times()
    share = 100.0 * (idle2 - idle) / max(total2 - total, 1)
    return "load average %s, %.0f%% idle" % (load, share)


def run_once(argv, env, stdout_path):
    """Runs argv once; (wall seconds, CPU seconds, exit code)."""
    actions = [(os.POSIX_SPAWN_OPEN, 0, "/dev/null", os.O_RDONLY, 0),
               (os.POSIX_SPAWN_OPEN, 1, stdout_path, os.O_WRONLY | os.O_CREAT | os.O_TRUNC,
                0o644)]
    program = argv[0] if os.path.isabs(argv[0]) else shutil_which(argv[0])
    start = time.perf_counter()
    pid = os.posix_spawn(program, argv, env, file_actions=actions)
    _, status, usage = os.wait4(pid, 0)
    wall = time.perf_counter() - start
    return wall, usage.ru_utime + usage.ru_stime, os.waitstatus_to_exitcode(status)


def shutil_which(name):
    """The full path of a program on PATH."""
    path = shutil.which(name)
    if path is None:
        sys.exit("measure: %s not found" % name)
    return path


class Series:
    """The runs of one command."""

    def __init__(self, name, argv, env, stdout_path, after=None):
        self.name, self.argv, self.env, self.stdout_path = name, argv, env, stdout_path
        self.after = after
        self.wall, self.cpu = [], []

    def run(self, keep=True):
        wall, cpu, code = run_once(self.argv, self.env, self.stdout_path)
        if self.after:
            self.after()
        if code != 0:
            sys.exit("measure: %s exited with %d" % (self.name, code))
        if keep:
            self.wall.append(wall)
            self.cpu.append(cpu)

    def median(self):
        return statistics.median(self.wall)


def run_rounds(series, runs, warmup=1):
    """Runs every series once per round, rotating the order; warm-up rounds are not kept."""
    for r in range(warmup + runs):
        shift = r % len(series)
        for s in series[shift:] + series[:shift]:
            s.run(keep=r >= warmup)


def ms(seconds):
    return "%9.2f ms" % (seconds * 1000)


def report(series, reference):
    """Prints a table of medians, spreads and the ratio to the reference series."""
    print("  %-22s %12s %12s %12s %12s %8s" % ("", "median", "min", "max", "CPU median",
                                               "ratio"))
    for s in series:
        print("  %-22s %s %s %s %s %8.2f" % (s.name, ms(s.median()), ms(min(s.wall)),
                                             ms(max(s.wall)), ms(statistics.median(s.cpu)),
                                             s.median() / reference.median()))


def peak_memory(series, runs=3):
    """The median peak resident set size of a series' command, in KiB."""
    fd, report_path = tempfile.mkstemp(prefix="zalprint-rss-")
    os.close(fd)
    values = []
    for _ in range(runs):
        argv = ["/usr/bin/time", "-f", "%M", "-o", report_path] + series.argv
        _, _, code = run_once(argv, series.env, series.stdout_path)
        if series.after:
            series.after()
        if code != 0:
            sys.exit("measure: %s under /usr/bin/time exited with %d" % (series.name, code))
        with open(report_path) as f:
            values.append(int(f.read().split()[-1]))
    os.remove(report_path)
    return statistics.median(values)


def empty_folder(path, documents=None):
    """Removes the files a run left in a folder, after checking that the run
    left the expected number of documents there (zalprint's exit code is 0
    whatever happens)."""
    def clean():
        names = glob.glob(os.path.join(path, "*"))
        if documents is not None:
            made = [n for n in names if n.lower().endswith(".hta") and os.path.getsize(n) > 0]
            if len(made) != documents:
                sys.exit("measure: expected %d document(s) in %s, found %d"
                         % (documents, path, len(made)))
        for name in names:
            os.remove(name)
    return clean


def suite_env(base, suite_path):
    """The environment of a zalprint run on a suite folder."""
    env = {k: v for k, v in base.items() if k not in ("ZALTMP", "ZALEXE", "COMSPEC")}
    env["ZALTMP"] = suite_path
    env["ZALEXE"] = suite_path
    return env


def native(args):
    sizes = [("p1", "1 page"), ("p2000", "2,000 pages"), ("p5000", "5,000 pages")]
    print("native: %s, %d runs each; machine before: %s" % (args.zalprint, args.runs,
                                                             quietness()))
    rss = {}
    for folder, label in sizes:
        suite = os.path.abspath(os.path.join(args.data, folder))
        printfile = os.path.join(suite, "zalprint.tmp")
        out = os.path.join(suite, "out")
        os.makedirs(out, exist_ok=True)
        stdout = os.path.join(out, "stdout")
        zal = Series("zalprint", [os.path.abspath(args.zalprint)],
                     suite_env(os.environ, suite), "/dev/null", empty_folder(out, 1))
        iconv = Series("iconv -f CP858 -t UTF-8",
                       [shutil_which("iconv"), "-f", "CP858", "-t", "UTF-8", printfile],
                       dict(os.environ), stdout, empty_folder(out))
        cat = Series("cat", [shutil_which("cat"), printfile], dict(os.environ), stdout,
                     empty_folder(out))
        run_rounds([zal, iconv, cat], args.runs)
        size = os.path.getsize(printfile)
        print("\n%s: %s, %.2f MB" % (label, printfile, size / 1e6))
        report([zal, iconv, cat], iconv)
        rss[folder] = peak_memory(zal)
    print("\npeak memory of zalprint (median of 3 runs' maximum resident set size):")
    for folder, label in sizes:
        print("  %-12s %8d KiB" % (label, rss[folder]))
    grow = rss["p5000"] - rss["p1"]
    print("  5,000 pages - 1 page: %d KiB (target: within 2048 KiB)" % grow)
    print("machine after: %s" % quietness())


def wine(args):
    runs = args.runs
    base = dict(os.environ)
    base.setdefault("WINEDEBUG", "-all")

    def on_pty(argv):
        # A pty console of 80 x 25 cells, as the suite's terminals have.
        inner = "stty cols 80 rows 25; exec " + shlex.join([args.wine] + argv)
        return [shutil_which("script"), "-qec", inner, "/dev/null"]

    def zal(name, suite, suite_path, documents):
        out = os.path.join(suite, "out")
        return Series(name, on_pty([os.path.abspath(args.zalprint)]),
                      suite_env(base, suite_path), "/dev/null", empty_folder(out, documents))

    def writes(name, n):
        return Series(name, on_pty([os.path.abspath(args.writes), str(n)]), base, "/dev/null")

    n = args.lines
    series = [zal("zalprint, empty file", args.empty, args.empty_path, 0),
              zal("zalprint, %d lines" % n, args.suite, args.suite_path, 1),
              writes("console_writes 0", 0), writes("console_writes %d" % n, n)]
    print("wine: %s, %d lines, %d runs each; machine before: %s"
          % (args.zalprint, n, runs, quietness()))
    run_rounds(series, runs)
    print("  %-26s %12s %12s %12s" % ("", "median", "min", "max"))
    for s in series:
        print("  %-26s %s %s %s" % (s.name, ms(s.median()), ms(min(s.wall)), ms(max(s.wall))))
    per_line = (series[1].median() - series[0].median()) / n
    per_write = (series[3].median() - series[2].median()) / n
    print("\n  zalprint per handled line:        %8.1f us" % (per_line * 1e6))
    print("  one bare console write (11 cells): %8.1f us" % (per_write * 1e6))
    if per_line <= 0 or per_write <= 0:
        print("  no ratio: the start-up spread swamps the lines; raise PAGES or RUNS")
    else:
        print("  ratio: %.2f (target: at most 1.30)" % (per_line / per_write))
    # The fastest runs are the least disturbed: the same ratio from the minima.
    fast_line = (min(series[1].wall) - min(series[0].wall)) / n
    fast_write = (min(series[3].wall) - min(series[2].wall)) / n
    if fast_line > 0 and fast_write > 0:
        print("  from the fastest runs: %.1f us / %.1f us, ratio %.2f"
              % (fast_line * 1e6, fast_write * 1e6, fast_line / fast_write))
    print("machine after: %s" % quietness())


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    sub = parser.add_subparsers(dest="mode", required=True)
    p = sub.add_parser("native")
    p.add_argument("--zalprint", required=True)
    p.add_argument("--data", required=True)
    p.add_argument("--runs", type=int, default=11)
    w = sub.add_parser("wine")
    for name in ("--wine", "--zalprint", "--writes", "--suite", "--empty", "--suite-path",
                 "--empty-path"):
        w.add_argument(name, required=True)
    w.add_argument("--lines", type=int, required=True)
    w.add_argument("--runs", type=int, default=5)
    args = parser.parse_args()
    native(args) if args.mode == "native" else wine(args)


if __name__ == "__main__":
    main()
