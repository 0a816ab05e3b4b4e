#!/usr/bin/env bash
# Wine benchmark: builds zalprint.exe and console_writes.exe (the windows
# preset with the benchmarks on), generates a print file of PAGES pages and an
# empty one, and times zalprint.exe under wine on an 80 x 25 pty console
# against one bare console write of 11 cells per line, wine's start-up
# subtracted from both; prints the cost per line and the ratio.
#   PAGES=N          pages of the print file (default 100, about 6,200 lines)
#   RUNS=N           runs per command (default 5)
#   WINDOWS_DIR=dir  build folder (default build/bench-windows)
set -eu
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

windows_dir=${WINDOWS_DIR:-build/bench-windows}
pages=${PAGES:-100}
echo "=== build: windows preset with the benchmarks in $windows_dir"
cmake --preset windows -B "$windows_dir" -DZALPRINT_BENCH=ON -DZALPRINT_TESTS=OFF >/dev/null
cmake --build "$windows_dir" --target zalprint console_writes

export WINEPREFIX=$PWD/$windows_dir/wineprefix
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=ca_ES.UTF-8
bash tests/wine-prefix.sh wine

# The suite folders, with their paths as the program sees them under wine.
data=build/bench-data
windows_path() { echo "Z:$(realpath "$1" | tr / '\\')"; }
suite=$data/wine-p$pages
empty=$data/wine-empty
mkdir -p "$suite" "$empty"
lines=$(python3 bench/gen_printfile.py --pages "$pages" --out "$suite" \
            --suite-path "$(windows_path "$suite")" |
        python3 -c 'import json, sys; print(json.load(sys.stdin)["lines"])')
python3 bench/gen_printfile.py --pages 0 --out "$empty" --suite-path "$(windows_path "$empty")" \
    >/dev/null

# One wineserver for all runs, so that no run pays for starting it (the
# prefix script may have started it already).
wineserver -p </dev/null >/dev/null 2>&1 || true
trap 'bash tests/wine-prefix.sh wine stop >/dev/null' EXIT

echo "=== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
python3 bench/measure.py wine --wine wine --runs "${RUNS:-5}" --lines "$lines" \
    --zalprint "$windows_dir/zalprint.exe" --writes "$windows_dir/bench/console_writes.exe" \
    --suite "$suite" --suite-path "$(windows_path "$suite")" \
    --empty "$empty" --empty-path "$(windows_path "$empty")"
