#!/usr/bin/env bash
# Builds the benchmarks (optimised, in build/) and runs them. Each figure is printed beside its
# physical floor (memchr, memcpy) measured in the same run. Extra arguments go to every benchmark
# binary (for example --benchmark_filter=ShiftStarts); --build-only builds without running.
set -euo pipefail
cd "$(dirname "$0")"
build_only=0
if [ "${1:-}" = "--build-only" ]; then
    build_only=1
    shift
fi
source cmake/packages.sh
mapfile -t pkgs < <(zandor_package_list packages.txt)
zandor_install_packages "${pkgs[@]}" libbenchmark-dev
# The test suite is not part of this build: its optimised compile is nobody's product, and a
# compiler's false warning there must not stop the benchmarks.
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANDOR_BENCH=ON -DZANDOR_TESTS=OFF >/dev/null
cmake --build build
[ $build_only -eq 1 ] && exit 0
status=0
for b in build/bench/bench_*; do
    [ -f "$b" ] && [ -x "$b" ] || continue # not the build's own folders there
    echo "== $(basename "$b")"
    "$b" "$@" || status=1
done
exit $status
