# Sourced: installs the Debian packages the build and the tests need, when any is missing.
KU_PACKAGES="cmake ninja-build g++ clang libclang-rt-14-dev googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-i686 binutils-mingw-w64-x86-64
  wine wine64 xvfb x11-apps imagemagick python3 fonts-dejavu-extra"

ku_install_deps() {
    local missing=() p
    for p in $KU_PACKAGES; do
        dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "installing: ${missing[*]}"
    apt-get update -q
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
}
