#!/usr/bin/env bash
# Builds the libFuzzer targets of fuzz/ with clang, AddressSanitizer and UBSan (in build-fuzz/) and
# runs them one after another, each for SECONDS (default 60): ./fuzz.sh [SECONDS] [TARGET...]
# Corpora grow in build-fuzz/corpus/<target>/, starting from fuzz/seeds/ and fuzz/regressions/.
# An input that crashes or fails a check is left in build-fuzz/crashes/<target>/ and the script ends
# non-zero: keep it in fuzz/regressions/<target>/, where ./test.sh replays it, and fix the fault.
set -euo pipefail
cd "$(dirname "$0")"
source cmake/packages.sh
mapfile -t pkgs < <(zandor_package_list packages.txt; zandor_package_list tests/packages.txt)
mapfile -t fuzzpkgs < <(zandor_package_list fuzz/packages.txt)
zandor_install_packages "${pkgs[@]}" "${fuzzpkgs[@]}"

seconds=60
if [ $# -gt 0 ] && [[ "$1" =~ ^[0-9]+$ ]]; then
    seconds=$1
    shift
fi
all=(loader edit ini registry fontcolour keywords language)
all+=(urls)
# The targets of the program's features (fuzz/app/).
all+=(decoding transforms findreplace pictures cmdline printlayout)
targets=("$@")
[ ${#targets[@]} -eq 0 ] && targets=("${all[@]}")

if [ ! -f build-fuzz/build.ninja ]; then
    CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=Debug \
        -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" -DZANDOR_FUZZ=ON -DZANDOR_TESTS=OFF >/dev/null
fi
cmake --build build-fuzz --target "${targets[@]/#/fuzz_}"

# Inputs longer than these teach the target nothing new.
declare -A maxlen=([loader]=4096 [edit]=2048 [ini]=8192 [registry]=8192 [fontcolour]=512 [keywords]=2048
                   [language]=8192)
maxlen[urls]=512
maxlen+=([decoding]=2048 [transforms]=1024 [findreplace]=512 [pictures]=1024 [cmdline]=256 [printlayout]=256)
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
status=0
summary=()
for target in "${targets[@]}"; do
    corpus=build-fuzz/corpus/$target
    crashes=build-fuzz/crashes/$target
    log=build-fuzz/logs/$target.log
    mkdir -p "$corpus" "$crashes" build-fuzz/logs fuzz/seeds/"$target" fuzz/regressions/"$target"
    echo "== $target for ${seconds}s"
    seeds=(fuzz/seeds/"$target" fuzz/regressions/"$target")
    [ "$target" = language ] && seeds+=(languages) # the shipped language files
    if ! build-fuzz/fuzz/fuzz_"$target" "$corpus" "${seeds[@]}" \
        -max_total_time="$seconds" -max_len="${maxlen[$target]:-4096}" -timeout=20 -rss_limit_mb=4096 \
        -use_value_profile=1 -print_final_stats=1 -artifact_prefix="$crashes/" >"$log" 2>&1; then
        status=1
        echo "   found a failing input: see $log and $crashes/"
    fi
    done_line=$(grep -E '^#[0-9]+.*(DONE|pulse|NEW|REDUCE|INITED)' "$log" | tail -1 || true)
    execs=$(grep -oE 'stat::number_of_executed_units: [0-9]+' "$log" | grep -oE '[0-9]+$' || echo "?")
    summary+=("$(printf '%-11s executions %-10s %s; corpus files %s' "$target" "$execs" \
        "$(grep -oE 'cov: [0-9]+ ft: [0-9]+' <<<"$done_line" || echo 'cov: ? ft: ?')" "$(ls "$corpus" | wc -l)")")
done
printf '%s\n' "${summary[@]}"
exit $status
