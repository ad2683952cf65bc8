#!/bin/bash
# Whole-program figures of tirpo-clock against two floor programs and xclock:
# window map time, RSS 3 s after start, idle CPU per minute of the program
# and of the X server. Every round runs each program once (in a rotating
# order), so slow drifts of the machine hit all programs alike.
#
#   bench/run.sh [options] [BUILD_DIR [ROUNDS [IDLE_SECONDS]]]
#
# Run bench/run.sh -h for the options. Results (clockbench JSON lines, logs,
# summary.txt, summary.json) go to BUILD_DIR/bench-results/<date-time>/.
set -euo pipefail

# Points that the tirpo-clock hooks press, in window pixels from the
# window's top-left corner; a negative value counts from the right or
# bottom edge. The defaults fit the 386 x 386 px window at 96 DPI.
: "${CLOCK_BUTTON_X:=36}"   # the "時計" button (live clock)
: "${CLOCK_BUTTON_Y:=-28}"
: "${NOW_BUTTON_X:=36}"     # the "今何時" button (manual clock)
: "${NOW_BUTTON_Y:=-76}"
: "${FACE_X:=272}"          # a bare point of the face (starts the AUTO run)
: "${FACE_Y:=114}"
: "${BG_PROBE_X:=-3}"       # a bare background pixel, green in live mode
: "${BG_PROBE_Y:=3}"
: "${HOOK_CHECK:=1}"        # 0: click only, do not check the clock's reaction
: "${SETTLE:=3}"            # seconds from start to the memory sample
: "${CLOCKBENCH:=/work/shared/tools/clockbench}"
export CLOCK_BUTTON_X CLOCK_BUTTON_Y NOW_BUTTON_X NOW_BUTTON_Y FACE_X FACE_Y \
    BG_PROBE_X BG_PROBE_Y HOOK_CHECK

HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(dirname "$HERE")

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
  --no-tirpo leave tirpo-clock out (same as -x tirpo-live -x tirpo-auto);
             it is also left out, with a warning, when it is not built
  -h         this help

The tirpo-clock scenarios:
  tirpo-live  presses "時計" after the window maps (the live clock)
  tirpo-auto  presses "今何時", then the face: the AUTO run
Their press points come from the environment (defaults in brackets):
  CLOCK_BUTTON_X/Y [$CLOCK_BUTTON_X $CLOCK_BUTTON_Y]  NOW_BUTTON_X/Y [$NOW_BUTTON_X $NOW_BUTTON_Y]
  FACE_X/Y [$FACE_X $FACE_Y]  BG_PROBE_X/Y [$BG_PROBE_X $BG_PROBE_Y]
in window pixels, negative = from the right/bottom edge. The hook checks
that each press took effect (HOOK_CHECK=0 turns that off); a run whose
press missed fails instead of measuring the wrong screen.
Other environment: CLOCKBENCH (path of clockbench), SETTLE (default 3 s).
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
        --no-tirpo) skip[tirpo-live]=1; skip[tirpo-auto]=1; shift ;;
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

# --- the programs: label, window-name regex, hook mode, command
tirpo=$build_dir/app/tirpo-clock
declare -A name=() hook=() cmd=()
labels=()
add() { labels+=("$1"); name[$1]=$2; hook[$1]=$3; cmd[$1]=$4; }
add tirpo-live  '^tirpo'         live "$tirpo"
add tirpo-auto  '^tirpo'         auto "$tirpo"
add floor_label '^floor_label$'  ""   "$build_dir/bench/floor_label"
add floor_tick  '^floor_tick$'   ""   "$build_dir/bench/floor_tick"
add xclock      '^xclock$'       ""   xclock

for l in "${!skip[@]}"; do
    [[ -n ${name[$l]:-} ]] || { echo "run.sh: -x: no program named $l" >&2; exit 2; }
done
tirpo_wanted() { [[ -z ${skip[tirpo-live]:-} || -z ${skip[tirpo-auto]:-} ]]; }
if tirpo_wanted && [[ ! -x $tirpo ]]; then
    echo "run.sh: WARNING: $tirpo is not built; measuring without tirpo-clock" >&2
    skip[tirpo-live]=1 skip[tirpo-auto]=1
fi
active=()
for l in "${labels[@]}"; do [[ -n ${skip[$l]:-} ]] || active+=("$l"); done
((${#active[@]})) || { echo "run.sh: nothing left to measure" >&2; exit 2; }

# --- tools
missing=()
need() { command -v "$1" >/dev/null 2>&1 || missing+=("$1 (Debian package $2)"); }
[[ -x $CLOCKBENCH ]] || missing+=("clockbench at $CLOCKBENCH (set CLOCKBENCH)")
need python3 python3
need Xvfb xvfb
need xdotool xdotool
need xwininfo x11-utils
[[ -n ${skip[xclock]:-} ]] || need xclock x11-apps
if tirpo_wanted && [[ $HOOK_CHECK != 0 ]]; then
    need xwd x11-apps
fi
for l in floor_label floor_tick; do
    if [[ -z ${skip[$l]:-} && ! -x ${cmd[$l]} ]]; then
        missing+=("${cmd[$l]} (configure with -DTIRPO_BUILD_BENCH=ON and build)")
    fi
done
if ((${#missing[@]})); then
    echo "run.sh: missing:" >&2
    printf '  %s\n' "${missing[@]}" >&2
    exit 1
fi
python=$(command -v python3)

out=${out:-$build_dir/bench-results/$(date +%Y%m%d-%H%M%S)}
mkdir -p "$out/json" "$out/log"
per_call=$(python3 -c "print(round($warmup * ($SETTLE + 1) + $reps * ($SETTLE + $idle + 1.5)))")
echo "run.sh: ${active[*]}; $rounds round(s) x $reps run(s), idle $idle s;" \
    "about $((per_call * rounds * ${#active[@]} / 60 + 1)) min; results in $out"

# Settings that would change what Qt or Xt load or how large they draw are
# fixed, so that a caller's desktop session does not leak into the figures.
clean_env=(env -u LC_ALL -u LC_MESSAGES -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION
    -u QT_QPA_PLATFORMTHEME -u QT_STYLE_OVERRIDE -u QT_SCALE_FACTOR
    -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR -u QT_ENABLE_HIGHDPI_SCALING
    -u QT_FONT_DPI -u XAPPLRESDIR -u XENVIRONMENT LANG=C.UTF-8 QT_QPA_PLATFORM=xcb)

failed=0
for ((round = 1; round <= rounds; round++)); do
    n=${#active[@]}
    for ((i = 0; i < n; i++)); do
        label=${active[$(((i + round - 1) % n))]}
        tag=$(printf 'r%02d-%s' "$round" "$label")
        args=(--name "${name[$label]}" -r "$reps" -t "$idle" --warmup "$warmup"
              --settle "$SETTLE" --label "$label" --json-out "$out/json/$tag.json")
        if [[ -n ${hook[$label]} ]]; then
            args+=(--after-map "$(printf '%q %q %q' "$python" "$HERE/tirpo_hook.py" "${hook[$label]}")")
        fi
        if [[ $label = xclock ]]; then command=(xclock -analog -update 1); else command=("${cmd[$label]}"); fi
        echo "== round $round/$rounds: $label"
        : >"$out/json/$tag.json"
        set +e
        "${clean_env[@]}" "$CLOCKBENCH" "${args[@]}" -- "${command[@]}" \
            2>&1 >"$out/log/$tag.txt" | tee "$out/log/$tag.err" >&2
        rc=${PIPESTATUS[0]}
        set -e
        ((rc == 0)) || { failed=1; echo "   ($label: clockbench exit status $rc, see $out/log/$tag.*)" >&2; }
    done
done
echo
"$python" "$HERE/summarize.py" "$out" || failed=1
exit $failed
