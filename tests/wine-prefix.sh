#!/usr/bin/env bash
# Makes the test wine prefix (WINEPREFIX) once; later runs find it ready.
set -eu
wine=${1:-wine}
if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot=$(dirname "$(command -v "$wine")")/wineboot
    [ -x "$wineboot" ] || wineboot="$wine wineboot"
    $wineboot -i >/dev/null 2>&1 || "$wine" wineboot -i >/dev/null 2>&1 || true
    wineserver -w 2>/dev/null || true
fi
[ -f "$WINEPREFIX/system.reg" ]
echo "wine prefix ready: $WINEPREFIX"
