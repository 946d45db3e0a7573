# The 32-bit Windows build (MinGW-w64, i686) and its tests under Wine in Xvfb.
# Sourced after scripts/lib/packages.sh; quick when everything is there.

# googletest: the sources that scripts/build-windows cross-compiles.
# wine32:i386 runs the 32-bit executables; xauth is what xvfb-run needs.
# fonts-wqy-microhei: Chinese glyphs for Wine; imagemagick: screenshots;
# locales: zh_CN.UTF-8, under which Wine's ANSI code page is 936.
WINDOWS_BUILD_PACKAGES=(g++-mingw-w64-i686 googletest
                        wine wine32:i386 wine64 xvfb xauth fonts-wqy-microhei imagemagick locales)
ensure_packages "${WINDOWS_BUILD_PACKAGES[@]}"

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
ensure_zh_cn_locale
