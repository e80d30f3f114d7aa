#!/usr/bin/env bash
# The demo: builds KUNINST.EXE, installs a small product into a Wine prefix the way an installer
# would (files, folders, an INI file, registry keys, and the INSTALL.LOG that records them), shows the
# machine, runs the uninstaller on it, and shows the machine again.
#
#   tools/demo.sh            on your X display when $DISPLAY is set (you drive the wizard),
#                            otherwise headless under Xvfb: a screenshot of the wizard, then it is stopped
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
SHOT_DELAY=4   # seconds a headless run shows its wizard before the screenshot

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
    # Nobody is there to press the wizard's buttons: take a picture of its first page, then end it.
    echo "== running: KUNINST.EXE $LOG_SHORT   (headless on $DISPLAY)"
    "$WINE64" "$EXE" "$LOG_SHORT" &
    run_pid=$!
    sleep "$SHOT_DELAY"
    if kill -0 $run_pid 2>/dev/null; then
        import -display "$DISPLAY" -window root "$SHOT_DIR/demo.png" 2>/dev/null &&
            echo "   screenshot of the wizard: $SHOT_DIR/demo.png"
        echo "   headless: stopping the wizard after the screenshot (run it on a display to drive it)"
        "$WINE64" taskkill /f /im KUNINST.EXE >/dev/null 2>&1 || true
    fi
    status=0
    wait $run_pid || status=$?
    echo "   exit code $status"
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
