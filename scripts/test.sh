#!/usr/bin/env bash
# Builds everything and runs every test: native, native under ASan + UBSan,
# and the Windows build under wine. Installs what is missing first. Every
# preset's tests run even when an earlier one fails; the summaries of all of
# them come last, and the exit status is 1 when anything failed.
set -eu -o pipefail
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

jobs=$(nproc)
presets=(native native-asan windows)
for preset in "${presets[@]}"; do
    echo "=== $preset: configure and build"
    cmake --preset "$preset" >/dev/null
    cmake --build --preset "$preset" -j "$jobs"
done

echo "=== windows: the program's imports"
bash scripts/check-imports.sh build/windows/zalprint.exe

failed=0
logs=$(mktemp -d)
trap 'rm -rf "$logs"' EXIT
for preset in "${presets[@]}"; do
    echo "=== $preset: tests"
    start=$(date +%s)
    ctest --preset "$preset" -j "$jobs" 2>&1 | tee "$logs/$preset" || failed=1
    echo "$(($(date +%s) - start)) s" >"$logs/$preset.time"
done

echo "=== fuzz: each fuzzer for a bounded time"
start=$(date +%s)
bash scripts/fuzz.sh 2>&1 | tee "$logs/fuzz" || failed=1
echo "$(($(date +%s) - start)) s" >"$logs/fuzz.time"

echo "=== summary"
for preset in "${presets[@]}"; do
    line=$(grep -E 'tests passed|No tests were found' "$logs/$preset" | tail -n 1 || true)
    printf '%-12s %s (%s)\n' "$preset" "${line:-no ctest summary}" "$(cat "$logs/$preset.time")"
    grep -E '^[[:space:]]+[0-9]+ - ' "$logs/$preset" | sed 's/^/             failed: /' || true
done
printf '%-12s %s (%s)\n' fuzz "$(grep -c ' executions in ' "$logs/fuzz" || true) fuzzers ran" \
    "$(cat "$logs/fuzz.time")"
grep -E '^fuzz_[a-z]+: ' "$logs/fuzz" | sed 's/^/             /' || true
exit "$failed"
