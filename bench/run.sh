#!/usr/bin/env bash
# Native benchmark: builds the native and bench presets, generates the 1-,
# 2,000- and 5,000-page print files once (build/bench-data), times the native
# program (its in-memory console) against iconv and cat on the same files,
# prints medians, ratios and peak memory, then runs the in-process kernels.
#   RUNS=N          runs per command (default 11)
#   NATIVE_DIR=dir  build folder of the native preset (default build/native)
#   BENCH_DIR=dir   build folder of the bench preset (default build/bench)
#   KERNELS=0       skips the kernels
set -eu
cd "$(dirname "$0")/.."
bash scripts/bootstrap.sh

native_dir=${NATIVE_DIR:-build/native}
bench_dir=${BENCH_DIR:-build/bench}
echo "=== build: native preset in $native_dir, bench preset in $bench_dir"
cmake --preset native -B "$native_dir" >/dev/null
cmake --build "$native_dir" --target zalprint
cmake --preset bench -B "$bench_dir" >/dev/null
cmake --build "$bench_dir" --target zalprint_kernels

data=build/bench-data
for pages in 1 2000 5000; do
    suite=$data/p$pages
    if [ ! -f "$suite/zalprint.tmp" ] || [ bench/gen_printfile.py -nt "$suite/zalprint.tmp" ]; then
        python3 bench/gen_printfile.py --pages "$pages" --out "$suite"
    fi
done

echo "=== machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2- | sed 's/^ //')"
python3 bench/measure.py native --zalprint "$native_dir/zalprint" --data "$data" --runs "${RUNS:-11}"

if [ "${KERNELS:-1}" != 0 ]; then
    echo "=== kernels"
    ZALPRINT_BENCH_FILE=$data/p2000/zalprint.tmp "$bench_dir/bench/zalprint_kernels"
fi
