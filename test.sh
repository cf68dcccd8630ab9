#!/usr/bin/env bash
# Builds Zandor with AddressSanitizer and UndefinedBehaviorSanitizer (in build-test/) and runs the
# whole test suite headless, after building the optimised program and benchmarks (in build/) as
# ./bench.sh does. Extra arguments go to ctest (for example -R Ini). The fuzzers are not run here
# (./fuzz.sh); the inputs they failed on are replayed by the suite.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/packages.sh
mapfile -t pkgs < <(zandor_package_list packages.txt; zandor_package_list tests/packages.txt)
zandor_install_packages "${pkgs[@]}"
if [ ! -f build-test/build.ninja ]; then
    cmake -S . -B build-test -G Ninja -DCMAKE_BUILD_TYPE=Debug -DZANDOR_SANITIZE=ON -DZANDOR_TESTS=ON
fi
cmake --build build-test
# The optimised build of ./run.sh and ./bench.sh compiles with its warnings as errors too, which
# the unoptimised test build cannot show: built here, a fresh clone's ./bench.sh cannot fail.
./bench.sh --build-only
export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-test --output-on-failure -j "$(nproc)" "$@"
