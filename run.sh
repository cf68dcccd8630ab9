#!/usr/bin/env bash
# Builds Zandor (optimised, in build/) and runs it: ./run.sh [FILE]
# The program runs in the caller's folder, so a relative FILE names the file the caller means.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
source "$root/cmake/packages.sh"
mapfile -t pkgs < <(zandor_package_list "$root/packages.txt")
zandor_install_packages "${pkgs[@]}"
if [ ! -f "$root/build/build.ninja" ]; then
    cmake -S "$root" -B "$root/build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DZANDOR_TESTS=OFF >/dev/null
fi
cmake --build "$root/build" --target zandor
exec "$root/build/zandor" "$@"
