#!/bin/bash
# Builds the Debian package into a scratch folder, checks its dependencies and
# contents, unpacks it into a scratch root and starts the unpacked program on
# a private Xvfb display until its window shows up.
# Usage: deb_package.sh <cpack> <build dir> <config> <app id> <icon name> <window title>
set -euo pipefail
source "$(dirname "$0")/common.sh"
require_tools dpkg-deb dpkg-shlibdeps Xvfb xdotool xprop

cpack=$1 build_dir=$2 config=$3 app_id=$4 icon=$5 title=$6

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tirpo-deb.XXXXXX")
xvfb_pid='' app_pid=''

# Ends one process started here, by its id: TERM, then KILL after 5 s.
stop_pid() {
    local pid=$1 i
    [[ -n "$pid" ]] || return 0
    kill -TERM "$pid" 2>/dev/null || return 0
    for ((i = 0; i < 50; i++)); do
        kill -0 "$pid" 2>/dev/null || break
        sleep 0.1
    done
    kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}
cleanup() {
    stop_pid "$app_pid"
    stop_pid "$xvfb_pid"
    rm -rf "$scratch"
}
trap cleanup EXIT

# --- build the package --------------------------------------------------
args=(-G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out")
[[ -n "$config" ]] && args+=(-C "$config")
"$cpack" "${args[@]}" || fail "cpack failed"

shopt -s nullglob
debs=("$scratch"/out/*.deb)
shopt -u nullglob
((${#debs[@]} == 1)) || fail "expected one .deb, cpack made ${#debs[@]}"
deb=${debs[0]}
echo "== dpkg-deb -I $(basename "$deb")"
dpkg-deb -I "$deb"

# --- dependencies: computed library ones plus the Japanese font ---------
depends=$(dpkg-deb -f "$deb" Depends)
for pkg in libqt6widgets6 libc6 fonts-ipafont-gothic; do
    grep -Eq "(^|, )$pkg( |,|$)" <<<"$depends" || fail "Depends lacks $pkg: $depends"
done

# A Wayland desktop wants Qt's Wayland platform; the package asks for it.
recommends=$(dpkg-deb -f "$deb" Recommends)
grep -Eq "(^|, )qt6-wayland( |,|$)" <<<"$recommends" || fail "Recommends lacks qt6-wayland: $recommends"
maintainer=$(dpkg-deb -f "$deb" Maintainer)
[[ "$maintainer" =~ ^[^\<\>]+\ \<[^\<\>@\ ]+@[^\<\>\ ]+\>$ ]] ||
    fail "Maintainer is not \"Name <address>\": $maintainer"

# --- contents -------------------------------------------------------------
root="$scratch/root"
dpkg-deb -x "$deb" "$root"
check_installed_tree "$root/usr" "$app_id" "$icon"
check_no_extra_files "$root" usr "$app_id" "$icon"

# --- start the unpacked program on a private X server ----------------------
# -displayfd lets Xvfb pick a free display and write its number to fd 3.
Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x768x24 \
    3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb_pid=$!
display=''
for ((i = 0; i < 100; i++)); do
    display=$(tr -dc 0-9 <"$scratch/display")
    [[ -n "$display" ]] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { cat "$scratch/xvfb.log" >&2; fail "Xvfb exited"; }
    sleep 0.1
done
[[ -n "$display" ]] || fail "Xvfb reported no display"
export DISPLAY=":$display"

mkdir -m 700 "$scratch/runtime"
env -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$scratch/runtime" \
    "$root/usr/bin/tirpo-clock" >"$scratch/app.log" 2>&1 &
app_pid=$!

# Wait up to 10 s for a visible window whose title is exactly the start title.
window=''
for ((i = 0; i < 100; i++)); do
    if ! kill -0 "$app_pid" 2>/dev/null; then
        cat "$scratch/app.log" >&2
        fail "tirpo-clock exited before showing its window"
    fi
    window=$(xdotool search --onlyvisible --name "^${title}\$" 2>/dev/null | head -n1) && [[ -n "$window" ]] && break
    sleep 0.1
done
if [[ -z "$window" ]]; then
    echo "windows on $DISPLAY:" >&2
    xdotool search --name '.' getwindowname %@ >&2 2>/dev/null || true
    cat "$scratch/app.log" >&2
    fail "no visible window named '$title' within 10 s"
fi
echo "window $window: $(xdotool getwindowname "$window")"

# Docks tie the running window to the menu entry through WM_CLASS.
wm_class=$(xprop -id "$window" WM_CLASS)
echo "$wm_class"
wm_class_key=$(desktop_key "$root/usr/share/applications/$app_id.desktop" StartupWMClass)
if [[ -n "$wm_class_key" ]]; then
    grep -Fq "\"$wm_class_key\"" <<<"$wm_class" ||
        fail "StartupWMClass '$wm_class_key' matches neither part of $wm_class"
fi
echo "deb package OK"
