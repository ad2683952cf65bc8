#!/bin/bash
# Whole-program figures of tirpo-clock against two floor programs and xclock:
# time to the mapped window, memory three seconds after start, CPU per minute
# of the program and of the X server in the live clock and in the AUTO run.
# Every round runs each program once, in a rotating order, so that slow
# drifts of the machine hit all programs alike; the summary gives medians
# and spreads. Measured by bench/measure.py with the clockdrive package in
# tests/support; the tools come from scripts/install-deps.
#
#   bench/run.sh [options] [BUILD_DIR [ROUNDS [IDLE_SECONDS]]]
#
# Run bench/run.sh -h for the options. Results (one JSON line per program
# and round, logs, summary.txt, summary.json) go to
# BUILD_DIR/bench-results/<date-time>/.
set -euo pipefail

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(dirname "$HERE")
: "${SETTLE:=3}"            # seconds from start to the memory sample

usage() {
    cat <<USAGE
usage: bench/run.sh [options] [BUILD_DIR [ROUNDS [IDLE_SECONDS]]]

  -b DIR     build folder (default build/release; relative paths are
             taken from the project root)
  -n N       rounds (default 5)
  -t S       idle seconds measured per run (default 30)
  -r N       measured runs per program and round (default 1)
  -w N       unmeasured warm-up runs before them (default 1)
  -o DIR     results folder (default BUILD_DIR/bench-results/<date-time>)
  -x NAME    leave NAME out; repeatable. Names: tirpo-live, tirpo-auto,
             floor_label, floor_tick, xclock
  -h         this help

tirpo-live presses "時計" once the window is mapped (the live clock);
tirpo-auto presses "今何時" and then the face (the AUTO run). Each checks
that the press took effect, so a run whose press missed fails instead of
measuring the wrong screen. SETTLE (default 3 s) is the time from start to
the memory sample.
USAGE
}

build_dir=build/release rounds=5 idle=30 reps=1 warmup=1 out=
declare -A skip=()
positional=()
while (($#)); do
    case $1 in
        -b) build_dir=$2; shift 2 ;;
        -n) rounds=$2; shift 2 ;;
        -t) idle=$2; shift 2 ;;
        -r) reps=$2; shift 2 ;;
        -w) warmup=$2; shift 2 ;;
        -o) out=$2; shift 2 ;;
        -x) skip[$2]=1; shift 2 ;;
        -h|--help) usage; exit 0 ;;
        -*) echo "run.sh: unknown option $1" >&2; usage >&2; exit 2 ;;
        *) positional+=("$1"); shift ;;
    esac
done
((${#positional[@]} <= 3)) || { usage >&2; exit 2; }
build_dir=${positional[0]:-$build_dir}
rounds=${positional[1]:-$rounds}
idle=${positional[2]:-$idle}
for v in rounds reps warmup; do
    [[ ${!v} =~ ^[0-9]+$ ]] || { echo "run.sh: $v must be a whole number: ${!v}" >&2; exit 2; }
done
[[ $idle =~ ^[0-9]+([.][0-9]+)?$ ]] || { echo "run.sh: idle seconds must be a number: $idle" >&2; exit 2; }
((rounds >= 1 && reps >= 1)) || { echo "run.sh: rounds and runs must be at least 1" >&2; exit 2; }
[[ $build_dir = /* ]] || build_dir=$ROOT/$build_dir

# --- the programs: label, window-name regex, what to drive, command
declare -A name=() drive=() cmd=()
labels=()
add() { labels+=("$1"); name[$1]=$2; drive[$1]=$3; cmd[$1]=$4; }
add tirpo-live  '^tirpo'         live "$build_dir/app/tirpo-clock"
add tirpo-auto  '^tirpo'         auto "$build_dir/app/tirpo-clock"
add floor_label '^floor_label$'  ""   "$build_dir/bench/floor_label"
add floor_tick  '^floor_tick$'   ""   "$build_dir/bench/floor_tick"
add xclock      '^xclock$'       ""   xclock

for l in "${!skip[@]}"; do
    [[ -n ${name[$l]:-} ]] || { echo "run.sh: -x: no program named $l" >&2; exit 2; }
done
active=()
for l in "${labels[@]}"; do [[ -n ${skip[$l]:-} ]] || active+=("$l"); done
((${#active[@]})) || { echo "run.sh: nothing left to measure" >&2; exit 2; }

# --- tools and programs
missing=()
need() { command -v "$1" >/dev/null 2>&1 || missing+=("$1 (scripts/install-deps installs it)"); }
for tool in python3 Xvfb xdotool xprop xwininfo import convert; do need "$tool"; done
for l in "${active[@]}"; do
    if [[ $l = xclock ]]; then
        need xclock
    elif [[ ! -x ${cmd[$l]} ]]; then
        missing+=("${cmd[$l]} (cmake --preset release && cmake --build --preset release)")
    fi
done
if ((${#missing[@]})); then
    echo "run.sh: missing:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi

out=${out:-$build_dir/bench-results/$(date +%Y%m%d-%H%M%S)}
mkdir -p "$out/json" "$out/log"
per_run=$(python3 -c "print(round($warmup * ($SETTLE + 2) + $reps * ($SETTLE + $idle + 2)))")
echo "run.sh: ${active[*]}; $rounds round(s) x $reps run(s), idle $idle s;" \
    "about $((per_run * rounds * ${#active[@]} / 60 + 1)) min; results in $out"

# Settings that would change what Qt or Xt load or how large they draw are
# fixed, so that a caller's desktop session does not leak into the figures.
clean_env=(env -u LC_ALL -u LC_MESSAGES -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION
    -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR
    -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_ENABLE_HIGHDPI_SCALING
    -u QT_FONT_DPI -u XAPPLRESDIR -u XENVIRONMENT LANG=C.UTF-8 QT_QPA_PLATFORM=xcb
    "PYTHONPATH=$ROOT/tests/support${PYTHONPATH:+:$PYTHONPATH}")

failed=0
for ((round = 1; round <= rounds; round++)); do
    n=${#active[@]}
    for ((i = 0; i < n; i++)); do
        label=${active[$(((i + round - 1) % n))]}
        tag=$(printf 'r%02d-%s' "$round" "$label")
        args=(--label "$label" --name "${name[$label]}" -r "$reps" -w "$warmup" -t "$idle"
              --settle "$SETTLE" --json-out "$out/json/$tag.json" --log-dir "$out/log/$tag")
        [[ -z ${drive[$label]} ]] || args+=(--drive "${drive[$label]}")
        if [[ $label = xclock ]]; then command=(xclock -analog -update 1); else command=("${cmd[$label]}"); fi
        echo "== round $round/$rounds: $label"
        : >"$out/json/$tag.json"
        set +e
        "${clean_env[@]}" python3 -B "$HERE/measure.py" "${args[@]}" -- "${command[@]}" \
            >"$out/log/$tag.txt" 2>&1
        rc=$?
        set -e
        ((rc == 0)) || { failed=1; echo "   ($label: exit status $rc, see $out/log/$tag.txt)" >&2; }
    done
done
echo
python3 "$HERE/summarize.py" "$out" || failed=1
exit $failed
