#!/usr/bin/env bash
# Makes the test wine prefix (WINEPREFIX) once and readies it for a test run:
#   wine-prefix.sh WINE          make the prefix, start its server and services
#   wine-prefix.sh WINE stop     end the prefix's server and services
# The first wine program of a prefix starts wine's services, which inherit
# its standard output and error and keep them open until the server ends. A
# test whose output CTest reads through a pipe then looks busy until then. So
# the server and the services start here, on /dev/null, and stay up while the
# tests run (the server ends by itself a minute after its last program).
set -eu
wine=${1:-wine}
wineserver=$(dirname "$(command -v "$wine")")/wineserver
[ -x "$wineserver" ] || wineserver=wineserver

if [ "${2:-}" = stop ]; then
    "$wineserver" -k 2>/dev/null || true
    echo "wine prefix stopped: $WINEPREFIX"
    exit 0
fi

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot=$(dirname "$(command -v "$wine")")/wineboot
    [ -x "$wineboot" ] || wineboot="$wine wineboot"
    $wineboot -i </dev/null >/dev/null 2>&1 || "$wine" wineboot -i </dev/null >/dev/null 2>&1 || true
    "$wineserver" -w 2>/dev/null || true
fi
[ -f "$WINEPREFIX/system.reg" ]
"$wineserver" -p60 </dev/null >/dev/null 2>&1 || true
"$wine" cmd /c exit 0 </dev/null >/dev/null 2>&1 || true
echo "wine prefix ready: $WINEPREFIX"
