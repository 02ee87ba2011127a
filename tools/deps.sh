# Sourced by ./run and ./test: installs the Debian packages named when any is
# missing, saying what it installs (with sudo when not root).
need_packages() {
    missing=""
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $pkg"
    done
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages:$missing"
    sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    $sudo apt-get update -qq >/dev/null &&
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null ||
        { echo "Could not install:$missing" >&2; return 1; }
}

# The packages of each build.
NATIVE_PACKAGES="cmake ninja-build g++ googletest libbenchmark-dev python3"
WINDOWS_PACKAGES="file g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64"
WINE_PACKAGES="wine64 xvfb xauth imagemagick"
FUZZ_PACKAGES="clang libclang-rt-dev"
