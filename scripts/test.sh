#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan + UBSan,
# and the Windows build under wine. Installs what is missing first.
set -eu
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

jobs=$(nproc)
for preset in native native-asan windows; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

echo "=== windows: the program's imports"
bash scripts/check-imports.sh build/windows/zalprint.exe

for preset in native native-asan windows; do
    echo "=== $preset: tests"
    ctest --preset "$preset" -j "$jobs"
done
