#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs
# each for a bounded time on a copy of its committed seed corpus, one fuzzer
# at a time. Prints the executions each reached; exits non-zero on any finding
# (the failing inputs are left in build/fuzz/work/<target>/findings/).
#   scripts/fuzz.sh [seconds per fuzzer, default 60] [target...]
set -eu
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(fuzz_ini fuzz_run fuzz_winpush)

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz

# The targets write a scratch file or two per input: keep them in memory when possible.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then
    export TMPDIR=/dev/shm
fi

status=0
for target in "${targets[@]}"; do
    work=build/fuzz/work/$target
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/findings"
    cp fuzz/corpus/"$target"/* "$work/corpus/"
    dict=()
    [ -f fuzz/"$target".dict ] && dict=(-dict=fuzz/"$target".dict)
    # The program's own leaks are findings too; stop at the first finding.
    ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build/fuzz/fuzz/"$target" "$work/corpus" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/findings/" >"$work/log" 2>&1 || status=1
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    echo "$target: ${executions:-0} executions in ${seconds} s"
    if [ -n "$(ls -A "$work/findings")" ]; then
        status=1
        echo "$target: FINDING, see $work/log and $work/findings/:"
        ls "$work/findings"
        grep -E '^(fuzz_[a-z]+:|SUMMARY|==[0-9]+==ERROR)' "$work/log" | head -n 5 || true
    fi
done
exit $status
