#!/usr/bin/env bash
# Checks the shipped program: a 32-bit (PE32, i386) Windows GUI executable that imports only DLLs
# every Windows has. Usage: tests/check-exe.sh [path to KUNINST.EXE]
set -euo pipefail
cd "$(dirname "$0")/.."
exe=${1:-build/win32/src/KUNINST.EXE}
objdump=i686-w64-mingw32-objdump

fail() {
    echo "check-exe: FAILED: $exe: $*" >&2
    exit 1
}

[ -f "$exe" ] || fail "not built"
headers=$("$objdump" -p "$exe") || fail "objdump cannot read it"

grep -q 'file format pei-i386' <<<"$headers" || fail "not an i386 PE file: $(grep -m1 'file format' <<<"$headers")"
grep -qE '^Magic[[:space:]]+010b' <<<"$headers" || fail "not PE32: $(grep -m1 '^Magic' <<<"$headers")"
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" || fail "not a GUI program: $(grep -m1 '^Subsystem' <<<"$headers")"

# The system DLLs the program may import; anything else (a C++ runtime DLL, a pthread DLL, a
# library of some product) would be missing on a clean machine.
allowed=' kernel32.dll user32.dll gdi32.dll advapi32.dll comdlg32.dll shell32.dll msvcrt.dll '
imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no import table found"
bad=''
for dll in $imports; do
    case "$allowed" in *" $dll "*) ;; *) bad="$bad $dll" ;; esac
done
[ -z "$bad" ] || fail "imports non-system DLLs:$bad"

# The program is built without exceptions; a bounds-checked call of the C++ library (substr, at,
# std::string) still links the library's exception code and triples the program's size.
if grep -aqE 'std::bad_alloc|std::bad_cast|basic_string(_view)?::' "$exe"; then
    fail "links the C++ library's exception code (a substr, at or std::string in the program?)"
fi

echo "check-exe: $exe: PE32 i386 GUI, $(stat -c %s "$exe") bytes, imports:" $imports
