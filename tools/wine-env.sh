# Sourced by the test and demo scripts: a Wine prefix of this build, one wineserver kept alive,
# and an Xvfb display, all started here and stopped by wine_down through their pids.
# Usage: source tools/wine-env.sh; wine_up BUILD_DIR; ...; wine_down
WINE64=/usr/lib/wine/wine64
WINESERVER=/usr/lib/wine/wineserver

wine_free_display() {
    local n
    for n in $(seq 91 140); do
        if [ ! -e /tmp/.X11-unix/X$n ] && [ ! -e /tmp/.X$n-lock ]; then echo $n; return 0; fi
    done
    return 1
}

wine_up() {
    local build=$1
    export WINEPREFIX="$build/wineprefix"
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    export WINEARCH=win64
    local display
    display=$(wine_free_display) || { echo "no free X display" >&2; return 1; }
    Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    KU_XVFB_PID=$!
    export DISPLAY=":$display"
    for _ in $(seq 1 50); do [ -e "/tmp/.X11-unix/X$display" ] && break; sleep 0.1; done
    mkdir -p "$WINEPREFIX"
    local fresh=0
    [ -f "$WINEPREFIX/system.reg" ] || fresh=1
    # A persistent server: later process starts cost milliseconds instead of a second.
    "$WINESERVER" -p
    if [ $fresh = 1 ]; then "$WINE64" wineboot -i >/dev/null 2>&1; fi
    # Without a window manager, unmanaged windows hide and close at once.
    "$WINE64" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    export KU_XVFB_PID
}

wine_down() {
    if [ -n "${WINEPREFIX:-}" ]; then
        "$WINESERVER" -k >/dev/null 2>&1
        # -k ends the persistent server too; wait until it is gone.
        "$WINESERVER" -w >/dev/null 2>&1
    fi
    if [ -n "${KU_XVFB_PID:-}" ]; then
        kill "$KU_XVFB_PID" 2>/dev/null
        wait "$KU_XVFB_PID" 2>/dev/null
        KU_XVFB_PID=
    fi
}
