#!/bin/bash
# Builds the Debian package the way it is released, in a scratch release
# tree of its own (the hardening flags of dpkg-buildflags only take effect in
# an optimised build), and runs lintian on it: every tag lintian knows, down
# to the pedantic and informational ones, must stay silent.
# Usage: deb_lintian.sh <cmake> <cpack> <source dir> <maintainer> <jobs>
set -euo pipefail
source "$(dirname "$0")/common.sh"
require_tools lintian dpkg-deb dpkg-shlibdeps dpkg-buildflags

cmake=$1 cpack=$2 source_dir=$3 maintainer=$4 jobs=$5

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tirpo-lintian.XXXXXX")
trap 'rm -rf "$scratch"' EXIT

"$cmake" -S "$source_dir" -B "$scratch/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DTIRPO_BUILD_TESTS=OFF -DTIRPO_BUILD_BENCH=OFF \
    "-DTIRPO_CLOCK_DEB_MAINTAINER=$maintainer" >"$scratch/configure.log" ||
    { cat "$scratch/configure.log" >&2; fail "configuring the release tree failed"; }
grep -q 'dpkg-buildflags:' "$scratch/configure.log" ||
    fail "the release tree was configured without the flags of dpkg-buildflags"
"$cmake" --build "$scratch/build" --parallel "$jobs" >"$scratch/build.log" ||
    { tail -n 50 "$scratch/build.log" >&2; fail "building the release tree failed"; }
"$cpack" -G DEB --config "$scratch/build/CPackConfig.cmake" -B "$scratch/out" >"$scratch/cpack.log" ||
    { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }

shopt -s nullglob
debs=("$scratch"/out/*.deb)
shopt -u nullglob
((${#debs[@]} == 1)) || fail "expected one .deb, cpack made ${#debs[@]}"

echo "== lintian --info --display-info --pedantic $(basename "${debs[0]}")"
status=0
out=$(lintian --info --display-info --pedantic "${debs[0]}" 2>&1) || status=$?
# Run as root, lintian first says that it is; that line is about this
# machine, not the package.
if (($(id -u) == 0)); then
    out=$(grep -vx 'running with root privileges is not recommended!' <<<"$out" || true)
fi
[[ -n "$out" ]] && echo "$out"
((status == 0)) || fail "lintian exited with $status"
[[ -z "$out" ]] || fail "lintian has something to say about the package"
echo "lintian: nothing to say"
