#!/bin/bash
# Instruction counts of tirpo-clock against the bare Qt windows, from
# callgrind under a private Xvfb with the clock started at a fixed time, so
# that the figures hold on a busy machine (CPU times do not).
#
#   bench/instructions.sh [BUILD_DIR [RESULTS_DIR]]
#
# Figures (instructions of the client process; the X server is not counted):
#   start-up      from exec to the end of the first paint of the window:
#                 tirpo-clock against floor_label
#   live tick     one second of the live clock, from one repaint to the
#                 next (the timer, the handler, the paint and the flush):
#                 tirpo-clock after a press on "時計" against floor_tick
#   AUTO tick     one tick of the AUTO run the same way: tirpo-clock after
#                 presses on "今何時" and on the face
# A tick is the median of the repaints after the first SKIP ones that
# follow the press. Callgrind dumps its counters after every
# QWidgetRepaintManager::paintAndFlush, so each dump is the work since the
# repaint before it.
#
# Environment: FIXED_START (default "2026-12-08 10:08:30", the time the
# clock reads at exec), LIVE_SECONDS (8), AUTO_SECONDS (4), SKIP (2). The
# presses are bench/drive.py's, as in bench/run.sh.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(dirname "$HERE")

: "${FIXED_START:=2026-12-08 10:08:30}"
: "${LIVE_SECONDS:=8}"
: "${AUTO_SECONDS:=4}"
: "${SKIP:=2}"

build_dir=${1:-build/release}
[[ $build_dir = /* ]] || build_dir=$ROOT/$build_dir
out=${2:-$build_dir/bench-results/instructions-$(date +%Y%m%d-%H%M%S)}
mkdir -p "$out"

faketime_lib=
for f in /usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1 /usr/lib/*/faketime/libfaketime.so.1; do
    [[ -e $f ]] && { faketime_lib=$f; break; }
done
missing=()
for tool in valgrind Xvfb xdotool xprop xwininfo import convert python3; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
done
[[ -n $faketime_lib ]] || missing+=("libfaketime (Debian package faketime)")
for p in app/tirpo-clock bench/floor_label bench/floor_tick; do
    [[ -x $build_dir/$p ]] || missing+=("$build_dir/$p")
done
if ((${#missing[@]})); then
    echo "instructions.sh: missing: ${missing[*]}" >&2
    exit 1
fi

# A display of our own, 96 DPI like the press points assume.
display=
for n in $(seq 140 199); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] || { display=:$n; break; }
done
[[ -n $display ]] || { echo "instructions.sh: no free display" >&2; exit 1; }
Xvfb "$display" -screen 0 1280x1024x24 -dpi 96 -nolisten tcp >"$out/xvfb.log" 2>&1 &
xvfb=$!
client=
cleanup() {
    [[ -n $client ]] && kill "$client" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    wait 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

# The same clean environment as bench/run.sh, with the clock faked (but not
# the times of files, which would make fontconfig rescan every font).
clean_env=(env -u LC_ALL -u LC_MESSAGES -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION
    -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR
    -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_ENABLE_HIGHDPI_SCALING
    -u QT_FONT_DPI -u XAPPLRESDIR -u XENVIRONMENT LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
    LD_PRELOAD="$faketime_lib" FAKETIME="@$FIXED_START" FAKETIME_DONT_FAKE_MONOTONIC=1
    FAKETIME_NO_CACHE=1 NO_FAKE_STAT=1)

dumps() { ls "$out/$1".cg.* 2>/dev/null | wc -l; }

# run NAME WINDOW_REGEX HOOK SECONDS PROGRAM: callgrind over one run; the
# hook (live, auto or none) runs once the window is mapped.
run() {
    local name=$1 regex=$2 hook=$3 seconds=$4 program=$5 wid
    rm -f "$out/$name".cg*
    "${clean_env[@]}" valgrind --tool=callgrind --callgrind-out-file="$out/$name.cg" \
        --dump-after='QWidgetRepaintManager::paintAndFlush*' \
        "$program" >"$out/$name.log" 2>&1 &
    client=$!
    wid=$(timeout 300 xdotool search --sync --onlyvisible --name "$regex" | head -n1)
    # The first paint ends start-up; wait for its dump before pressing.
    for _ in $(seq 600); do (($(dumps "$name") >= 1)) && break; sleep 0.1; done
    sleep 2
    if [[ $hook != none ]]; then
        PYTHONPATH="$ROOT/tests/support" python3 "$HERE/drive.py" "$hook" "$wid" "$out/$name-shots" \
            >"$out/$name.hook" 2>&1 ||
            { echo "instructions.sh: the $hook press failed: $(cat "$out/$name.hook")" >&2; return 1; }
    fi
    dumps "$name" >"$out/$name.pressed"
    sleep "$seconds"
    kill "$client"
    wait "$client" 2>/dev/null || true
    client=
}

echo "instructions.sh: $display, clock starts at $FIXED_START; results in $out"
# A warm-up run fills the font caches that every later run reads.
run warmup '^floor_label$' none 0 "$build_dir/bench/floor_label"
run floor_label '^floor_label$' none 0 "$build_dir/bench/floor_label"
run floor_tick '^floor_tick$' none "$LIVE_SECONDS" "$build_dir/bench/floor_tick"
run tirpo_live '^tirpo' live "$LIVE_SECONDS" "$build_dir/app/tirpo-clock"
run tirpo_auto '^tirpo' auto "$AUTO_SECONDS" "$build_dir/app/tirpo-clock"

python3 "$HERE/instructions_summary.py" "$out" "$SKIP" | tee "$out/summary.txt"
