#!/usr/bin/env bash
# Installs what is missing, builds all three flavours and runs every test.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/deps.sh
ku_install_deps

cmake --preset native >/dev/null
cmake --build --preset native
cmake --preset win32 >/dev/null
cmake --build --preset win32
cmake --preset win64 >/dev/null
cmake --build --preset win64

status=0
tests/check-exe.sh build/win32/src/KUNINST.EXE || status=1
ctest --preset native -j2 || status=1

source tools/wine-env.sh
trap wine_down EXIT
wine_up "$PWD/build/win64"
ctest --preset win64 || status=1
wine_down
trap - EXIT
# The end-to-end tests save their screenshots as BMP; PNG copies are easier to look at.
for shot in build/win64/screenshots/*.bmp; do
    [ -e "$shot" ] && convert "$shot" "${shot%.bmp}.png" 2>/dev/null || true
done

if [ -x tests/fuzz/run.sh ]; then tests/fuzz/run.sh || status=1; fi
exit $status
