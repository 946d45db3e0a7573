# The Debian packages the scripts need, each named in one list only, and the
# functions that install what is missing (and only that; quick when all are there).
# A script installs the lists of what it does: scripts/run only what building and
# running the program needs, the test scripts the test tools as well.

# Configuring and building with the CMake presets.
BUILD_PACKAGES=(cmake ninja-build)
# The Linux program (preset linux): the compiler, Qt 6 Widgets with its xcb platform,
# Xlib and xcb (the global hot key grabs its key on the X server), the espeak-ng voice
# (espeak-ng synthesises with its voice data, pcaudio plays), and python3 to draw the icons.
LINUX_PROGRAM_PACKAGES=(g++ pkg-config qt6-base-dev qt6-qpa-plugins libx11-dev libxcb1-dev
                        libespeak-ng-dev espeak-ng-data libpcaudio-dev python3)
# A Chinese face: for the Linux program's windows, and Wine's stand-in for 微软雅黑.
CHINESE_FONT_PACKAGES=(fonts-wqy-microhei)
# The Windows program (presets windows and windows-program): MinGW-w64 for i686.
WINDOWS_PROGRAM_PACKAGES=(g++-mingw-w64-i686)
# Wine runs it; wine32 the 32-bit program.
WINE_PACKAGES=(wine wine32:i386 wine64)
# The native tests and benchmarks; Xvfb (xauth for xvfb-run) for the screenshots and
# the package test, xwininfo (x11-utils) and xdotool to find and click windows there,
# openbox for the focus given back under a window manager, dpkg-dev for the .deb's
# library dependencies (dpkg-shlibdeps).
TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth x11-utils xdotool openbox dpkg-dev)
# The fuzz targets: clang 14 with libFuzzer and the sanitizer run-times.
FUZZ_PACKAGES=(clang-14 libclang-rt-14-dev)
# The Windows tests under Wine: GoogleTest's sources (scripts/build-windows
# cross-compiles them), ImageMagick for the screenshots, locales for zh_CN.UTF-8
# (under which Wine's ANSI code page is 936), openbox for the cases that run under a
# window manager (stacking and focus then follow its rules, as on a desktop).
WINDOWS_TEST_PACKAGES=(googletest imagemagick locales openbox)

# apt-get waits for the package lock that another apt-get or an automatic update
# holds, rather than failing at once.
APT_GET=(apt-get -o DPkg::Lock::Timeout=600)

# ensure_packages NAME...   (NAME may carry an architecture, e.g. wine32:i386)
ensure_packages() {
    local missing=()
    local pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if printf '%s\n' "${missing[@]}" | grep -q ':i386$' && ! dpkg --print-foreign-architectures | grep -qx i386; then
        $sudo dpkg --add-architecture i386
    fi
    $sudo "${APT_GET[@]}" update -q
    DEBIAN_FRONTEND=noninteractive $sudo "${APT_GET[@]}" install -y -q "${missing[@]}"
}

# The zh_CN.UTF-8 locale, generated when missing (needs the locales package).
ensure_zh_cn_locale() {
    # grep without -q reads all of its input, so pipefail never sees a broken pipe.
    if locale -a 2>/dev/null | grep -Eix 'zh_CN\.utf-?8' >/dev/null; then
        return 0
    fi
    echo "Generating the zh_CN.UTF-8 locale"
    local sudo=""
    [ "$(id -u)" -ne 0 ] && sudo="sudo"
    if grep -Eq '^[#[:space:]]*zh_CN\.UTF-8 UTF-8' /etc/locale.gen; then
        $sudo sed -i -E 's/^[#[:space:]]*(zh_CN\.UTF-8 UTF-8)/\1/' /etc/locale.gen
    else
        echo 'zh_CN.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    fi
    $sudo locale-gen >/dev/null
}
