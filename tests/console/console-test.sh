#!/usr/bin/env bash
# One end-to-end check of zalprint.exe on a real console: wine's console of
# 80 x 25 cells on a pseudo-terminal, driven by console_probe.exe.
#   console-test.sh CASE PROBE_EXE ZALPRINT_EXE WORK_DIR
# Cases:
#   primitives  the platform's console primitives on this console (no program)
#   screen  the screen and the cursor come back as they were
#   frame   while a long print file is read, rows 23-25 show the status box
#   stack   a record of another program in WinPush.tmp stays, and so does the file
set -eu
case=$1 probe=$2 zalprint=$3 work=$4
here=$(cd "$(dirname "$0")" && pwd)
wine=${WINE:-wine}

# The Windows name of a path of this machine (wine's drive Z: is /).
win() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }

rm -rf "$work"
suite=$work/suite
mkdir -p "$suite"
printf '[Terminal]\r\nDir=%s\\\r\n' "$(win "$suite")" >"$suite/Sessio.ini"
printf '[Opcions]\r\nMostrar=N\r\n' >"$suite/ZalPrint.ini"

mode=screen
case $case in
primitives) mode=primitives ;;
screen) cp "$here/zalprint.tmp" "$suite/zalprint.tmp" ;;
frame)
    mode=frame
    {
        printf 'DEVICE P\r\n'
        for page in $(seq 1 30); do
            printf 'PAGE %d\r\n' "$page"
            for line in $(seq 1 60); do printf '5,line %d of page %d,1\r\n' "$line" "$page"; done
        done
    } >"$suite/zalprint.tmp"
    ;;
stack)
    cp "$here/zalprint.tmp" "$suite/zalprint.tmp"
    # One record of another program: window (2,2)-(3,5), cursor at row 5, column 7.
    {
        printf '\x2e\x00\x00\x00'
        printf '05070000000002020305'
        printf 'A\x1fB\x1fC\x1fD\x1fE\x2fF\x2fG\x2fH\x2f'
        printf '00041'
    } >"$suite/WinPush.tmp"
    cp "$suite/WinPush.tmp" "$work/WinPush.before"
    ;;
*)
    echo "unknown case $case"
    exit 2
    ;;
esac

report=$work/report.txt
program="'$(win "$zalprint")'"
[ "$mode" != primitives ] || program=""
status=0
ZALTMP="$(win "$suite")\\" TERM=xterm script -qec \
    "stty cols 80 rows 25; cd '$work' && $wine '$(win "$probe")' $mode '$(win "$report")' $program" \
    "$work/pty.log" </dev/null || status=$?
# The report quotes the screen in the OEM code page.
iconv -f CP850 -t UTF-8 "$report" 2>/dev/null || echo "no report from the probe (exit status $status)"
[ "$status" -eq 0 ] || exit 1
[ "$case" != primitives ] || exit 0

documents=$(find "$suite" -maxdepth 1 -iname '*.hta' | wc -l)
[ "$documents" -eq 1 ] || { echo "want one document in the suite folder, found $documents"; exit 1; }

if [ "$case" = stack ]; then
    [ -f "$suite/WinPush.tmp" ] || { echo "WinPush.tmp with another program's record is gone"; exit 1; }
    cmp -n "$(stat -c %s "$work/WinPush.before")" "$work/WinPush.before" "$suite/WinPush.tmp" ||
        { echo "the other program's record in WinPush.tmp changed"; exit 1; }
else
    [ ! -e "$suite/WinPush.tmp" ] || { echo "WinPush.tmp left behind"; exit 1; }
fi
echo "console $case: PASS"
