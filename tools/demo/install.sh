# Sourced by tools/demo.sh after wine_up: installs the demo product into the Wine prefix the way an
# installer does, recording every change in INSTALL.LOG as it makes it, and lists the machine.
DEMO_SOURCE="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)/product"
DEMO_DIR='C:\Program Files\Korvel Demo'
DEMO_SHARED_INI='C:\windows\KORVEL.INI'

# C:\a\b -> the same file seen from Linux.
demo_unix_path() {
    local p=${1#[Cc]:}
    p=${p//\\//}
    echo "$WINEPREFIX/drive_c$p"
}

demo_log() { printf '%s\r\n' "$1" >>"$(demo_unix_path "$DEMO_DIR\\INSTALL.LOG")"; }

demo_reg() { "$WINE64" reg "$@" >/dev/null 2>&1; }

demo_root_key() { case $1 in 1) echo HKCU ;; 2) echo HKLM ;; *) echo HKCR ;; esac; }

# Puts the machine back to how it was before the product was first installed: no product, and the
# shared settings that other programs own, which the installation then changes.
demo_clean() {
    rm -rf "$(demo_unix_path "$DEMO_DIR")"
    demo_reg delete 'HKLM\Software\Korvel' /f || true
    demo_reg delete 'HKCU\Software\Korvel' /f || true
    demo_reg add 'HKCU\Software\Korvel\Shared' /v Owner /t REG_SZ /d Nobody /f
    printf '[Shared]\r\nOwner=Nobody\r\n' >"$(demo_unix_path "$DEMO_SHARED_INI")"
}

demo_make_dir() {
    mkdir -p "$(demo_unix_path "$1")"
    demo_log "Made Dir: $1"
}

demo_copy_file() {  # source (Linux), target (Windows)
    cp "$1" "$(demo_unix_path "$2")"
    demo_log "File Copy: $2"
}

demo_new_ini() {  # file section key value
    printf '[%s]\r\n%s=%s\r\n' "$2" "$3" "$4" >"$(demo_unix_path "$1")"
    demo_log "INI New: $1"
    demo_log "INI File: $1"
    demo_log "INI Sect: $2"
    demo_log "INI Item: $3"
    demo_log "INI Val: $4"
}

demo_change_ini() {  # file section key value old-value (the file holds only that section here)
    printf '[%s]\r\n%s=%s\r\n' "$2" "$3" "$4" >"$(demo_unix_path "$1")"
    demo_log "INI File: $1"
    demo_log "INI Sect: $2"
    demo_log "INI Item: $3"
    demo_log "INI Val: $4"
    demo_log "INI Old: $5"
}

demo_new_reg() {  # root-code key name value
    demo_reg add "$(demo_root_key "$1")\\$2" /v "$3" /t REG_SZ /d "$4" /f
    demo_log "RegDB Key: $2"
    demo_log "RegDB Val: $4"
    demo_log "RegDB Name: $3"
    demo_log "RegDB Root: $1"
}

demo_change_reg() {  # root-code key name value old-value (REG_SZ, type code 0)
    demo_reg add "$(demo_root_key "$1")\\$2" /v "$3" /t REG_SZ /d "$4" /f
    demo_log "RegDB Key: $2"
    demo_log "RegDB Val: $4"
    demo_log "RegDB Name: $3"
    demo_log "RegDB Type: 0"
    demo_log "RegDB Root: $1"
    demo_log "RegDB Old: $5"
}

demo_install() {  # the KUNINST.EXE to install with the product
    mkdir -p "$(demo_unix_path "$DEMO_DIR")"
    : >"$(demo_unix_path "$DEMO_DIR\\INSTALL.LOG")"
    demo_log "***  Korvel Demo 1.0 installed $(date '+%Y-%m-%d %H:%M')"
    demo_log "Title: Korvel Demo Installation"
    demo_log "Manufacturer: Korvel"
    demo_log "Product: Korvel Demo"
    demo_log "Version Number: 1.0"
    demo_make_dir "$DEMO_DIR"
    demo_copy_file "$1" "$DEMO_DIR\\KUNINST.EXE"
    demo_copy_file "$DEMO_SOURCE/README.TXT" "$DEMO_DIR\\README.TXT"
    demo_copy_file "$DEMO_SOURCE/DEMO.DAT" "$DEMO_DIR\\DEMO.DAT"
    demo_make_dir "$DEMO_DIR\\Data"
    demo_copy_file "$DEMO_SOURCE/Data/SAMPLE.DAT" "$DEMO_DIR\\Data\\SAMPLE.DAT"
    demo_new_ini "$DEMO_DIR\\DEMO.INI" Options Colour Blue
    demo_change_ini "$DEMO_SHARED_INI" Shared Owner "Korvel Demo" Nobody
    demo_new_reg 2 'Software\Korvel\Demo' Version 1.0
    demo_new_reg 2 'Software\Korvel\Demo' Path "$DEMO_DIR"
    demo_new_reg 1 'Software\Korvel\Demo\Settings' Tips yes
    demo_change_reg 1 'Software\Korvel\Shared' Owner "Korvel Demo" Nobody
}

# What the demo product and the settings it touches look like on the machine now.
demo_show() {
    local dir
    dir=$(demo_unix_path "$DEMO_DIR")
    echo "files in $DEMO_DIR:"
    if [ -d "$dir" ]; then
        (cd "$dir" && find . -mindepth 1 | sort | sed 's|^\./|  |; s|/|\\|g')
    else
        echo "  (no such folder)"
    fi
    echo "$DEMO_SHARED_INI:"
    tr -d '\r' <"$(demo_unix_path "$DEMO_SHARED_INI")" | sed 's/^/  /'
    local key
    for key in 'HKLM\Software\Korvel' 'HKCU\Software\Korvel'; do
        echo "registry $key:"
        "$WINE64" reg query "$key" /s 2>/dev/null | tr -d '\r' | grep -v '^$' | sed 's/^/  /' || echo "  (no such key)"
    done
}

# Waits (at most 15 s) until no temporary copy of the uninstaller runs in this prefix.
demo_wait_for_copy() {
    local i p busy
    for i in $(seq 1 150); do
        busy=0
        for p in $(pgrep -f 'QXR1A2B' || true); do
            tr '\0' '\n' <"/proc/$p/environ" 2>/dev/null | grep -qx "WINEPREFIX=$WINEPREFIX" && busy=1
        done
        [ $busy = 0 ] && return 0
        sleep 0.1
    done
    echo "   the temporary copy is still running after 15 s"
}
