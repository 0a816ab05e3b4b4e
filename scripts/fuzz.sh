#!/usr/bin/env bash
# Builds the libFuzzer targets (preset "fuzz": clang, ASan + UBSan) and runs
# each for a bounded time on a copy of its committed seed corpus, one fuzzer
# at a time. Prints the executions each reached; exits non-zero on any finding
# (the failing inputs are kept in build/fuzz/work/<run>/<target>/findings/;
# the folders of runs without findings are removed again).
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

# A folder of this run's own, so that runs side by side do not meet.
mkdir -p build/fuzz/work
run=$(mktemp -d "build/fuzz/work/$(date +%Y%m%d-%H%M%S).XXXX")

status=0
for target in "${targets[@]}"; do
    work=$run/$target
    mkdir -p "$work/corpus" "$work/findings"
    cp fuzz/corpus/"$target"/* "$work/corpus/"
    dict=()
    [ -f fuzz/"$target".dict ] && dict=(-dict=fuzz/"$target".dict)
    # The program's own leaks are findings too; stop at the first finding.
    rc=0
    ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    build/fuzz/fuzz/"$target" "$work/corpus" "${dict[@]}" \
        -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$work/findings/" >"$work/log" 2>&1 || rc=$?
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    echo "$target: ${executions:-0} executions in ${seconds} s"
    if [ "$rc" -ne 0 ] || [ -n "$(ls -A "$work/findings")" ]; then
        status=1
        echo "$target: FINDING (exit $rc), see $work/log and $work/findings/:"
        ls "$work/findings"
        grep -E '^(fuzz_[a-z]+:|SUMMARY|==[0-9]+==ERROR)' "$work/log" | head -n 5 || true
    else
        rm -rf "$work"
    fi
done
rmdir "$run" 2>/dev/null || true
exit $status
