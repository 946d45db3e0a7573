#!/usr/bin/env bash
# The Linux program's figures under Xvfb (xcb) on a 1920x1080 screen, against an
# empty Qt window started the same way: start-up to the first painted main window
# (whole process, median of paired runs), resident memory and CPU while rolling in the
# window and then in full screen, and speakText's return time. Needs the release
# preset built:
#   cmake --preset release && cmake --build --preset release
#   tests/bench/qt_figures.sh [ROLL_SECONDS] [RUNS]     (default 60 s, 3 runs)
# Each run rolls in the window and then in full screen, so the two are measured side by
# side; the medians of the runs and their ratio close the figures.
set -euo pipefail
cd "$(dirname "$0")/../.."

if [ "${1:-}" = "--inside-display" ]; then
    bench=$2 seconds=$3 runs=$4
    echo "== start-up to the first painted window: program / empty Qt window =="
    # Paired runs in turn, so that a slow moment of the machine weighs on both; the
    # first two pairs warm the caches and are not counted.
    startup_ms() {
        local started
        started=$(date +%s%N)
        "$1" >/dev/null 2>&1
        echo $((($(date +%s%N) - started) / 1000000))
    }
    median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
    empty=() program=()
    for run in $(seq 23); do
        e=$(startup_ms "$bench/tallyra_qt_empty_probe")
        p=$(startup_ms "$bench/tallyra_qt_program_probe")
        [ "$run" -le 2 ] || { empty+=("$e"); program+=("$p"); }
    done
    e=$(median "${empty[@]}") p=$(median "${program[@]}")
    echo "median of ${#empty[@]} runs: empty window $e ms, program $p ms, ratio $(awk -v p="$p" -v e="$e" 'BEGIN { printf "%.2f", p / e }')"
    echo "== $runs runs rolling for $seconds s in the window, then $seconds s in full screen (program), and idle (empty window) =="
    windowed=() full=()
    for run in $(seq "$runs"); do
        figures=$("$bench/tallyra_qt_program_probe" --roll "$seconds" --full-screen)
        echo "$figures"
        share() { echo "$figures" | awk -v what="$1" '$1 == what { sub(/.*cpu_share=/, ""); sub(/%.*/, ""); print }'; }
        windowed+=("$(share rolling)") full+=("$(share rolling_full_screen)")
    done
    w=$(median "${windowed[@]}") f=$(median "${full[@]}")
    echo "median of $runs runs: window $w %, full screen $f %, ratio $(awk -v f="$f" -v w="$w" 'BEGIN { printf "%.2f", f / w }')"
    "$bench/tallyra_qt_empty_probe" --idle "$seconds"
    exit 0
fi

seconds=${1:-60}
runs=${2:-3}
bench=$PWD/build/release/tests/bench
# The probe keeps its Data beside itself (a build folder is written to in place):
# a class of 50 and no first-run notice. Names of three characters drawn from 50, as a
# real class has: in full screen every character is a glyph of its own to keep.
data=$bench/Data
mkdir -p "$data"
numbers=$(seq -s, -w 1 50)
surnames=王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗
given=伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超兰霞平刚桂华玉萍红鹏飞
names=$(export LC_ALL=C.UTF-8; for i in $(seq 0 49); do printf '%s%s%s,' "${surnames:i%20:1}" "${given:i*7%30:1}" "${given:(i*11+3)%30:1}"; done)
printf '[Settings]\r\nFirst=False\r\nVoice=False\r\n[Class]\r\nClassName=一班\r\nDefault=一班\r\n' |
    iconv -f UTF-8 -t GBK >"$data/Config.conf"
printf '[ClassData]\r\nNumber=%s\r\nName=%s\r\n' "$numbers" "${names%,}" | iconv -f UTF-8 -t GBK >"$data/一班.conf"

QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1920x1080x24" "$0" --inside-display "$bench" "$seconds" "$runs"
echo "== speakText return time =="
build/release/tests/speech/tallyra_speech_bench --benchmark_repetitions=5 --benchmark_report_aggregates_only=true
