# Sourced by the test and demo scripts: a Wine prefix of this build, one wineserver kept alive,
# and an Xvfb display, all started here and stopped by wine_down (Xvfb through its pid, the server
# and the Windows processes of our own prefix through wineserver -k).
# Usage: source tools/wine-env.sh; wine_up BUILD_DIR; ...; wine_down
# Optional, set before wine_up:
#   KU_WINE_PREFIX   the prefix folder (default BUILD_DIR/wineprefix)
#   KU_WINE_DISPLAY  an X display to use as it is (for example the user's $DISPLAY); no Xvfb is started
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_free_display() {
    local n
    for n in $(seq 91 140); do
        if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then echo $n; return 0; fi
    done
    return 1
}

wine_start_xvfb() {
    local display
    display=$(wine_free_display) || { echo "no free X display" >&2; return 1; }
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    KU_XVFB_PID=$!
    export KU_XVFB_PID
    export DISPLAY=":$display"
    for _ in $(seq 1 50); do
        [ -e "/tmp/.X11-unix/X$display" ] && return 0
        kill -0 "$KU_XVFB_PID" 2>/dev/null || break
        sleep 0.1
    done
    echo "Xvfb did not start on :$display" >&2
    return 1
}

wine_up() {
    local build=$1
    export WINEPREFIX="${KU_WINE_PREFIX:-$build/wineprefix}"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    if [ -n "${KU_WINE_DISPLAY:-}" ]; then
        export DISPLAY="$KU_WINE_DISPLAY"
    else
        wine_start_xvfb || return 1
    fi
    mkdir -p "$WINEPREFIX"
    local fresh=0
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    # A persistent server: later process starts cost milliseconds instead of a second.
    "$WINESERVER" -p || { echo "wineserver did not start" >&2; return 1; }
    if [ $fresh = 1 ]; then "$WINE64" wineboot -i >/dev/null 2>&1 || true; fi
    # Wine has no working "MS Sans Serif" here and falls back to a font 12 pixels high; this one has
    # the Windows font's 6 x 13 dialog units, so dialogs get the size they have on Windows.
    "$WINE64" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS Sans Serif' /t REG_SZ \
        /d 'DejaVu Sans Condensed' /f >/dev/null 2>&1 || true
    # Without a window manager, unmanaged windows hide and close at once.
    if [ -z "${KU_WINE_DISPLAY:-}" ]; then
        "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1 || true
    else
        "$WINE64" reg delete 'HKCU\Software\Wine\X11 Driver' /v Managed /f >/dev/null 2>&1 || true
    fi
    return 0
}

wine_down() {
    if [ -n "${WINEPREFIX:-}" ]; then
        # Ends the Windows processes of this prefix and its persistent server, then waits for it.
        "$WINESERVER" -k >/dev/null 2>&1 || true
        "$WINESERVER" -w >/dev/null 2>&1 || true
    fi
    if [ -n "${KU_XVFB_PID:-}" ]; then
        kill "$KU_XVFB_PID" 2>/dev/null || true
        wait "$KU_XVFB_PID" 2>/dev/null || true
        KU_XVFB_PID=
    fi
    return 0
}
