#!/usr/bin/env bash
# Runs kuninst-log on a multi-section fixture log placed at C:\KULOG\APP\INSTALL.LOG and compares
# its output with the fixture's expected model. Usage: check.sh TOOL SOURCE_DIR native|wine
set -euo pipefail
tool=$1 source=$2 mode=$3
logs=$source/tests/unit/logs
work=$(mktemp -d)
trap 'rm -rf "$work"; [ "$mode" = wine ] && rm -rf "$WINEPREFIX/drive_c/KULOG"' EXIT

if [ "$mode" = native ]; then
    drive=$work/root/C
    system='C:\WINDOWS\SYSTEM32'
else
    : "${WINEPREFIX:?the Wine prefix of the test run}"
    drive=$WINEPREFIX/drive_c
    system='C:\windows\system32'
fi
rm -rf "$drive/KULOG"
mkdir -p "$drive/KULOG/APP"
cp "$logs/lookahead.log" "$drive/KULOG/APP/INSTALL.LOG"
echo x > "$drive/KULOG/APP/A.DLL"

{
    printf 'log=C:\\KULOG\\APP\\INSTALL.LOG\n'
    sed "s/%SYS%/$(printf '%s' "$system" | sed 's/\\/\\\\/g')/" "$logs/lookahead.expected"
    printf 'windowCaption=Uninstall Look-ahead\nmessageBox.count=0\n'
} > "$work/expected"

if [ "$mode" = native ]; then
    "$tool" --root "$work/root" 'C:\KULOG\APP\INSTALL.LOG' > "$work/actual"
else
    /usr/lib/wine/wine64 "$tool" 'C:\KULOG\APP\INSTALL.LOG' | tr -d '\r' > "$work/actual"
fi
diff -u "$work/expected" "$work/actual"
echo "kuninst-log printed the expected model"
