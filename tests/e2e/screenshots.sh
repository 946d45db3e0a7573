#!/usr/bin/env bash
# Screenshots of Tallyra's six windows under Wine, at 96 DPI in build/screenshots/
# and at 120 DPI in build/screenshots/120/: main.png (start-up), main-drawn.png
# (after a draw), settings.png, class-management.png, about.png, changelog.png,
# support.png.
#   tests/e2e/screenshots.sh [--check] [--exe PATH] [--update-reference]
# --check also tests the main window's pixels (the title bar #4EC4FA, the 1-pixel
# frame, the white content area and the grey button frame at their places) and
# the support card as drawn in its picture box at both densities, pixel for pixel
# against tests/e2e/reference/support-card-DPI.png. --update-reference rewrites
# those references from this run (after a deliberate change of the card's look).
# Without --exe it builds the program first (scripts/build-windows).
# The driver opens each window and leaves a request file with the window's
# geometry; the loop here answers it with `import -window root` inside the same
# Xvfb session.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" = "--inside-display" ]; then
    out=$2 exe=$3 driver=$4 work=$5
    (
        while :; do
            for request in "$out"/*.request; do
                [ -e "$request" ] || continue
                name=$(basename "$request" .request)
                import -window root -crop "$(cat "$request")" +repage "$out/$name.png"
                rm -f "$request"
            done
            sleep 0.1
        done
    ) &
    watcher=$!
    rc=0
    wine "$driver" shots --exe "$exe" --work "$work" --out "$out" || rc=$?
    kill "$watcher" 2>/dev/null || true
    exit $rc
fi

check=0
update=0
exe=
while [ $# -gt 0 ]; do
    case $1 in
        --check) check=1 ;;
        --update-reference) update=1 ;;
        --exe) exe=$2; shift ;;
        *) echo "usage: $0 [--check] [--exe PATH] [--update-reference]" >&2; exit 2 ;;
    esac
    shift
done

source scripts/lib/packages.sh
ensure_packages "${BUILD_PACKAGES[@]}" "${WINDOWS_PROGRAM_PACKAGES[@]}" "${WINE_PACKAGES[@]}" \
    "${CHINESE_FONT_PACKAGES[@]}" "${TEST_PACKAGES[@]}" "${WINDOWS_TEST_PACKAGES[@]}"
ensure_zh_cn_locale
source tests/e2e/wine.sh
if [ -z "$exe" ]; then
    e2e_build
    exe=$TALLYRA_EXE
else
    E2E_DRIVER=$E2E_DRIVER_BUILD/tallyra_e2e.exe
fi
e2e_prefix 96
e2e_prefix 120

shots=$PWD/build/screenshots
for dpi in 96 120; do
    out=$shots
    [ "$dpi" = 96 ] || out=$shots/$dpi
    mkdir -p "$out"
    # The Qt backend's screenshots (qt-*.png) lie beside these and stay.
    find "$out" -maxdepth 1 \( -name "*.png" ! -name "qt-*" -o -name "*.request" \) -delete
    e2e_session "$dpi" zh_CN.UTF-8 "$0" --inside-display "$out" "$exe" "$E2E_DRIVER" "$E2E_ROOT/work/screenshots-$dpi"
    ls "$out"/*.png
done
out=$shots

# The support card inside its picture box (left, top, width, height in the window):
# 96 DPI: the content area at (1, 32), the box at (7, 8) in it, 272 x 376.
# 120 DPI: both rescaled by 1.25 (cut toward zero; a picture box is H x 1.25 - 1 high).
card_geometry() {
    case $1 in
        96) echo 272x376+8+40 ;;
        120) echo 340x469+9+50 ;;
    esac
}
card_png() { echo "$shots/support-card-$1.png"; }
reference=tests/e2e/reference
for dpi in 96 120; do
    from=$shots/support.png
    [ "$dpi" = 96 ] || from=$shots/$dpi/support.png
    convert "$from" -crop "$(card_geometry "$dpi")" +repage "$(card_png "$dpi")"
done
if [ "$update" = 1 ]; then
    mkdir -p "$reference"
    for dpi in 96 120; do cp "$(card_png "$dpi")" "$reference/support-card-$dpi.png"; done
    echo "references updated: $reference/support-card-96.png, support-card-120.png"
fi

[ "$check" = 1 ] || exit 0

failed=0
# The card, pixel for pixel: decoding, blending over white and halftone scaling.
for dpi in 96 120; do
    # compare prints the number of differing pixels and exits 1 when there are any.
    differing=$(compare -metric AE "$(card_png "$dpi")" "$reference/support-card-$dpi.png" \
        "$shots/support-card-$dpi-diff.png" 2>&1 >/dev/null || true)
    if [ "$differing" = 0 ]; then
        echo "ok   support card at $dpi DPI matches $reference/support-card-$dpi.png"
    else
        echo "FAIL support card at $dpi DPI: $differing pixels differ from $reference/support-card-$dpi.png" \
            "(differences: $shots/support-card-$dpi-diff.png)"
        failed=$((failed + 1))
    fi
done

# Pixels of the main window at start-up, relative to its top-left corner.
pixel() { convert "$out/main.png" -format "%[hex:u.p{$1,$2}]" info: | cut -c1-6; }
expect() {
    local x=$1 y=$2 colour=$3 what=$4 seen
    seen=$(pixel "$x" "$y")
    if [ "$seen" = "$colour" ]; then
        echo "ok   ($x,$y) #$seen $what"
    else
        echo "FAIL ($x,$y) #$seen, expected #$colour: $what"
        failed=$((failed + 1))
    fi
}
size=$(identify -format '%wx%h' "$out/main.png")
if [ "$size" != "460x434" ]; then
    echo "FAIL main window screenshot is $size, expected 460x434"
    failed=$((failed + 1))
fi
expect 356 16 4EC4FA "title bar between the title and the minimise button"
expect 4 2 4EC4FA "title bar, top left corner"
expect 200 30 4EC4FA "title bar under the title label"
expect 385 3 4EC4FA "minimise button background"
expect 440 3 4EC4FA "close button background"
expect 0 200 4EC4FA "left 1-pixel frame"
expect 459 200 4EC4FA "right 1-pixel frame"
expect 230 433 4EC4FA "bottom 1-pixel frame"
expect 1 32 FFFFFF "content area, top left corner"
expect 30 60 FFFFFF "content area above the number"
expect 230 250 FFFFFF "content area under the empty name label"
expect 440 420 FFFFFF "content area, bottom right"
expect 61 336 DDDDDD "grey frame of the Start button"
expect 392 408 DDDDDD "grey frame of the settings button"
expect 70 345 FFFFFF "Start button background"
if [ "$failed" -gt 0 ]; then
    echo "screenshot check: $failed pixel(s) wrong"
    exit 1
fi
echo "screenshot check: all pixels as expected"
