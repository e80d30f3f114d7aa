#!/usr/bin/env bash
# Builds the benchmarks without sanitizers (build/bench) and runs them natively; runs the win64
# build's benchmark under Wine as well when that build exists. Prints figures only.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKU_FLAVOUR=native -DKU_SANITIZE=OFF \
    -DBUILD_TESTING=OFF >/dev/null
cmake --build build/bench -j2 --target bench_reader >/dev/null
build/bench/bench/bench_reader
if [ -x build/win64/bench/bench_reader.exe ] || [ -f build/win64/bench/bench_reader.exe ]; then
    source tools/wine-env.sh
    trap wine_down EXIT
    wine_up "$PWD/build/win64"
    /usr/lib/wine/wine64 build/win64/bench/bench_reader.exe | tr -d '\r'
fi
