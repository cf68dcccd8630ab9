#!/usr/bin/env bash
# Builds Zandor (optimised, in build/) and runs it: ./run.sh [FILE]
set -euo pipefail
cd "$(dirname "$0")"
source cmake/packages.sh
mapfile -t pkgs < <(zandor_package_list packages.txt)
zandor_install_packages "${pkgs[@]}"
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANDOR_TESTS=OFF >/dev/null
fi
cmake --build build --target zandor
exec ./build/zandor "$@"
