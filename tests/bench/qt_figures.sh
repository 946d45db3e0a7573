#!/usr/bin/env bash
# The Linux program's figures under Xvfb (xcb), against an empty Qt window started
# the same way: start-up to the first painted main window (whole process, median of
# paired runs), resident memory while rolling, CPU while rolling, and speakText's
# return time. Needs the release preset built:
#   cmake --preset release && cmake --build --preset release
#   tests/bench/qt_figures.sh [ROLL_SECONDS]     (default 60)
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" = "--inside-display" ]; then
    bench=$2 seconds=$3
    echo "== start-up to the first painted window: program / empty Qt window =="
    farm-bench -n 21 --warmup 2 --vs "$bench/tallyra_qt_empty_probe" -- "$bench/tallyra_qt_program_probe"
    echo "== while rolling for $seconds s (program) and idle (empty window) =="
    "$bench/tallyra_qt_program_probe" --roll "$seconds"
    "$bench/tallyra_qt_empty_probe" --idle "$seconds"
    exit 0
fi

seconds=${1:-60}
bench=$PWD/build/release/tests/bench
# The probe keeps its Data beside itself (a build folder is written to in place):
# a class of 50 and no first-run notice.
data=$bench/Data
mkdir -p "$data"
numbers=$(seq -s, -w 1 50)
names=$(for i in $(seq 50); do printf '学生%d,' "$i"; done)
printf '[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=一班\r\nDefault=一班\r\n' |
    iconv -f UTF-8 -t GBK >"$data/Config.conf"
printf '[ClassData]\r\nNumber=%s\r\nName=%s\r\n' "$numbers" "${names%,}" | iconv -f UTF-8 -t GBK >"$data/一班.conf"

QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1024x768x24" "$0" --inside-display "$bench" "$seconds"
echo "== speakText return time =="
build/release/tests/speech/tallyra_speech_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
