#!/usr/bin/env bash
# Builds the benchmarks (optimised, in build/) and runs them. Each figure is printed beside its
# physical floor (memchr, memcpy) measured in the same run. Extra arguments go to every benchmark
# binary (for example --benchmark_filter=ShiftStarts).
set -euo pipefail
cd "$(dirname "$0")"
source cmake/packages.sh
mapfile -t pkgs < <(zandor_package_list packages.txt)
zandor_install_packages "${pkgs[@]}" libbenchmark-dev
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANDOR_BENCH=ON >/dev/null
cmake --build build
status=0
for b in build/bench/bench_*; do
    [ -x "$b" ] || continue
    echo "== $(basename "$b")"
    "$b" "$@" || status=1
done
exit $status
