#!/usr/bin/env bash
# Checks that a Windows executable is a 64-bit console program that imports
# only DLLs of Windows itself.
set -eu
exe=$1
dump=$(x86_64-w64-mingw32-objdump -p "$exe")
grep -q 'Magic.*020b' <<<"$dump" || { echo "$exe: not a PE32+ program"; exit 1; }
grep -Eq 'Subsystem[[:space:]]+0*3[[:space:]]' <<<"$dump" || { echo "$exe: not a console (CUI) program"; exit 1; }
dlls=$(grep 'DLL Name:' <<<"$dump" | awk '{print $3}' | tr 'A-Z' 'a-z' | sort -u)
allowed='^(kernel32|user32|advapi32|msvcrt|ucrtbase|shell32|ws2_32|api-ms-win-.*)\.dll$'
bad=$(grep -Ev "$allowed" <<<"$dlls" || true)
echo "$exe imports: $(echo $dlls)"
[ -z "$bad" ] || { echo "$exe: imports non-system DLLs: $bad"; exit 1; }
