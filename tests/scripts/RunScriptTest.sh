#!/usr/bin/env bash
# ./run.sh started from another folder opens the file the caller named: a relative name is the
# caller's, not the repository's. The script runs against stand-ins for the build and the program,
# so the test builds nothing.
set -euo pipefail
repo="$(cd "$(dirname "$0")/../.." && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT

mkdir -p "$scratch/repo/cmake" "$scratch/repo/build" "$scratch/bin" "$scratch/caller"
cp "$repo/run.sh" "$scratch/repo/"
cp "$repo/cmake/packages.sh" "$scratch/repo/cmake/"
: > "$scratch/repo/packages.txt"   # nothing to install
: > "$scratch/repo/build/build.ninja"
printf '#!/bin/sh\nexit 0\n' > "$scratch/bin/cmake"
printf '#!/bin/sh\nreadlink -f "$1" > "%s"\n' "$scratch/opened" > "$scratch/repo/build/zandor"
chmod +x "$scratch/bin/cmake" "$scratch/repo/build/zandor"
echo art > "$scratch/caller/art.nfo"

cd "$scratch/caller"
PATH="$scratch/bin:$PATH" "$scratch/repo/run.sh" art.nfo
opened="$(cat "$scratch/opened")"
if [ "$opened" != "$scratch/caller/art.nfo" ]; then
    echo "run.sh art.nfo from $scratch/caller opened '$opened'" >&2
    exit 1
fi
echo "run.sh passes the caller's file: $opened"
