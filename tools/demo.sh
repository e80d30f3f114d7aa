#!/usr/bin/env bash
# The demo: builds KUNINST.EXE, installs a small product into a Wine prefix the way an installer
# would (files, folders, an INI file, registry keys, and the INSTALL.LOG that records them), shows the
# machine, runs the uninstaller on it, and shows the machine again.
#
#   tools/demo.sh            on your X display when $DISPLAY is set (you drive the wizard),
#                            otherwise headless under Xvfb in automatic mode (/A) with a screenshot
#   tools/demo.sh --headless always headless
#
# It stops everything it started (its Xvfb by pid, the Wine processes of its own prefix).
set -euo pipefail
cd "$(dirname "$0")/.."
ROOT=$PWD
source tools/deps.sh
ku_install_deps

HEADLESS=0
[ "${1:-}" = "--headless" ] && HEADLESS=1
[ -z "${DISPLAY:-}" ] && HEADLESS=1
RUN_LIMIT=120  # seconds a headless run may take before it is stopped

echo "== building KUNINST.EXE (win64)"
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target KUNINST -j2 >/dev/null
PROGRAM="$ROOT/build/win64/src/KUNINST.EXE"

source tools/wine-env.sh
export KU_WINE_PREFIX="$ROOT/build/win64/demoprefix"
if [ $HEADLESS = 0 ]; then export KU_WINE_DISPLAY="$DISPLAY"; fi
trap wine_down EXIT
echo "== starting Wine (prefix $KU_WINE_PREFIX)"
wine_up "$ROOT/build/win64"

source tools/demo/install.sh
demo_clean
echo "== installing the demo product into C:\\Program Files\\Korvel Demo"
demo_install "$PROGRAM"

echo
echo "== INSTALL.LOG as the installer wrote it"
tr -d '\r' <"$(demo_unix_path "$DEMO_DIR\\INSTALL.LOG")" | sed 's/^/  /'
echo
echo "== before the uninstall"
demo_show | tee /tmp/ku-demo-before.$$

LOG_SHORT=$("$WINE64" winepath -s "$DEMO_DIR\\INSTALL.LOG" 2>/dev/null | tr -d '\r')
EXE="$DEMO_DIR\\KUNINST.EXE"
SHOT_DIR="$ROOT/build/win64/screenshots"
mkdir -p "$SHOT_DIR"
echo
if [ $HEADLESS = 1 ]; then
    echo "== running: KUNINST.EXE /A $LOG_SHORT   (headless on $DISPLAY, at most ${RUN_LIMIT}s)"
    "$WINE64" "$EXE" /A "$LOG_SHORT" &
    run_pid=$!
    shot_taken=0
    for i in $(seq 1 $((RUN_LIMIT * 10))); do
        kill -0 $run_pid 2>/dev/null || break
        # A picture every second while it runs: the last one shows how far it got.
        if [ $((i % 10)) = 5 ]; then
            import -display "$DISPLAY" -window root "$SHOT_DIR/demo.png" 2>/dev/null && shot_taken=1
        fi
        sleep 0.1
    done
    if kill -0 $run_pid 2>/dev/null; then
        import -display "$DISPLAY" -window root "$SHOT_DIR/demo.png" 2>/dev/null && shot_taken=1
        echo "   still running after ${RUN_LIMIT}s: stopping it"
        "$WINESERVER" -k >/dev/null 2>&1 || true
    fi
    status=0
    wait $run_pid || status=$?
    echo "   exit code $status"
    if [ $shot_taken = 1 ]; then echo "   screenshot: $SHOT_DIR/demo.png"; else echo "   (it ended within half a second: no screenshot)"; fi
else
    echo "== running: KUNINST.EXE $LOG_SHORT   (on your display $DISPLAY: choose and press Finish)"
    status=0
    "$WINE64" "$EXE" "$LOG_SHORT" || status=$?
    echo "   exit code $status"
fi

# When the uninstall removed the program's own file, its temporary copy finishes that a moment later.
demo_wait_for_copy

echo
echo "== after the uninstall"
demo_show | tee /tmp/ku-demo-after.$$
echo
if diff -q /tmp/ku-demo-before.$$ /tmp/ku-demo-after.$$ >/dev/null; then
    echo "== nothing on the machine changed"
else
    echo "== what changed (- removed or changed, + new)"
    diff /tmp/ku-demo-before.$$ /tmp/ku-demo-after.$$ | grep '^[<>]' | sed 's/^</-/; s/^>/+/' || true
fi
rm -f /tmp/ku-demo-before.$$ /tmp/ku-demo-after.$$

wine_down
trap - EXIT
