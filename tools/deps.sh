# Sourced by every script of the project (./run, ./test, bench/run, fuzz/run,
# coverage/run): the one place that knows which Debian packages each build
# needs, and installs those missing, saying what it installs (with sudo when
# not root).
need_packages() {
    missing=""
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" ||
            missing="$missing $pkg"
    done
    [ -z "$missing" ] && return 0
    echo "Installing Debian packages:$missing"
    as_root apt-get update -qq >/dev/null &&
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends $missing >/dev/null ||
        { echo "Could not install:$missing" >&2; return 1; }
}

# Debian's 32-bit Wine, of the same version as wine64 (the two must match), for
# running the 32-bit release. Whether this machine's kernel runs 32-bit
# programs at all is another question: runs_32bit tells.
need_wine32() {
    version=$(dpkg-query -W -f='${Version}' wine64 2>/dev/null) || return 1
    wanted="install ok installed $version"
    [ "$(dpkg-query -W -f='${Status} ${Version}' wine32:i386 2>/dev/null)" = "$wanted" ] &&
        [ "$(dpkg-query -W -f='${Status} ${Version}' libwine:i386 2>/dev/null)" = "$wanted" ] &&
        return 0
    echo "Installing Debian packages: wine32:i386 libwine:i386 ($version)"
    { dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386; } &&
        as_root apt-get update -qq >/dev/null &&
        DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -qq --no-install-recommends \
            "wine32:i386=$version" "libwine:i386=$version" >/dev/null ||
        { echo "Could not install: wine32:i386 libwine:i386 ($version)" >&2; return 1; }
}

# True when this machine's kernel runs 32-bit programs (the 32-bit Wine starts).
runs_32bit() {
    /usr/lib/wine/wine --version >/dev/null 2>&1
}

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# The packages of each build.
CONVERTER_PACKAGES="cmake ninja-build g++"
NATIVE_PACKAGES="$CONVERTER_PACKAGES googletest libgtest-dev libbenchmark-dev python3 locales"
WINDOWS_PACKAGES="file g++-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64"
WINE_PACKAGES="wine64 xvfb xauth imagemagick locales fonts-ipafont-gothic"
FUZZ_PACKAGES="clang libclang-rt-dev"
COVERAGE_PACKAGES="lcov"
