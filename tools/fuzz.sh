#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (ASan + UBSan) and runs each for a while.
#   tools/fuzz.sh SECONDS_PER_TARGET [OUT_DIR]   e.g. 5 for CI, 600 for a real session
set -eu
seconds=${1:-30}
here=$(cd "$(dirname "$0")/.." && pwd)
out=${2:-$here/build/fuzz}
mkdir -p "$out/core"
flags="-std=c++17 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -I$here"
# The code under test is compiled once, two files at a time, for all the targets.
core="detect/SplitString detect/Scan detect/PublicAddress detect/PageText settings/ReplaceString detect/Upnp"
printf '%s\n' $core | xargs -P 2 -I{} sh -c \
    'clang++ $0 -c "$1/{}.cpp" -o "$2/core/$(basename {}).o"' "$flags" "$here" "$out"
for target in fuzz_scan fuzz_strings fuzz_upnp; do
    clang++ $flags "$here/tests/fuzz/$target.cpp" "$out"/core/*.o -o "$out/$target"
    corpus="$out/corpus-$target"
    mkdir -p "$corpus"
    seeds="$here/tests/fuzz/corpus/${target#fuzz_}"
    echo "== $target: $seconds s"
    status=0
    "$out/$target" -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
        -artifact_prefix="$out/$target-" "$corpus" "$seeds" >"$out/$target.log" 2>&1 || status=$?
    grep -E "stat::number_of_executed_units|ERROR|SUMMARY|^Done" "$out/$target.log" || true
    if [ $status -ne 0 ]; then
        echo "fuzzing $target found a problem (exit $status); see $out/$target.log" >&2
        exit 1
    fi
done
