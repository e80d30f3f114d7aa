#!/usr/bin/env bash
# Builds the fuzz targets with clang and libFuzzer (build/fuzz) and runs them for a bounded time
# on their seed corpora: about a minute in all (KU_FUZZ_SECONDS). Fails on any crash, leak,
# time-out or sanitizer report; findings are left in build/fuzz/findings.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${KU_FUZZ_SECONDS:-60}
build=build/fuzz

cmake -S . -B "$build" -G Ninja -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKU_FLAVOUR=native -DKU_FUZZ=ON >/dev/null
# target: seed corpus folder
targets=(fuzz_reader:tests/unit/logs)
names=()
for entry in "${targets[@]}"; do names+=("${entry%%:*}"); done
cmake --build "$build" -j2 --target "${names[@]}"

share=$((seconds / ${#targets[@]}))
mkdir -p "$build/findings"
status=0
for entry in "${targets[@]}"; do
    name=${entry%%:*} seeds=${entry#*:}
    corpus=$build/corpus/$name
    mkdir -p "$corpus"
    echo "fuzz: $name for ${share}s"
    # New inputs go to the first folder; the seeds in the repository are only read.
    if ! "$build/tests/fuzz/$name" -max_total_time="$share" -max_len=16384 -timeout=10 -rss_limit_mb=2048 \
        -print_final_stats=1 -artifact_prefix="$build/findings/$name-" "$corpus" "$seeds" \
        > "$build/$name.out" 2>&1; then
        tail -40 "$build/$name.out"
        echo "fuzz: $name FAILED; the input is in $build/findings" >&2
        status=1
    else
        grep -E '^stat::number_of_executed_units|^Done' "$build/$name.out" || true
    fi
done
exit $status
