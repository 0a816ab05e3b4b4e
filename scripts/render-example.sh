#!/usr/bin/env bash
# Prints the example report with headless Chromium and turns its page 1 into
# docs/example-page1.png, the picture the README shows.
#   bash scripts/render-example.sh            builds the native program first
#   bash scripts/render-example.sh PROGRAM    uses that zalprint instead
set -eu
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh
if [ $# -gt 0 ]; then
    program=$1
else
    cmake --preset native >/dev/null
    cmake --build --preset native --target zalprint
    program=build/native/zalprint
fi
python3 tests/browser/browser_test.py --program "$program" --example examples/suite \
    --work build --png docs/example-page1.png
