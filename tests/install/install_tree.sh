#!/bin/bash
# Installs the build tree into a scratch prefix and checks the result.
# Usage: install_tree.sh <cmake> <build dir> <config> <app id> <icon name>
set -euo pipefail
source "$(dirname "$0")/common.sh"

cmake=$1 build_dir=$2 config=$3 app_id=$4 icon=$5

scratch=$(mktemp -d "${TMPDIR:-/tmp}/tirpo-install.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
# validate-tree looks for usr/share/... below the root it is given.
prefix="$scratch/root/usr"

args=(--install "$build_dir" --prefix "$prefix")
[[ -n "$config" ]] && args+=(--config "$config")
DESTDIR='' "$cmake" "${args[@]}" || fail "cmake --install failed"

check_installed_tree "$prefix" "$app_id" "$icon"
check_no_extra_files "$prefix" "" "$app_id" "$icon"
echo "install tree OK:"
(cd "$prefix" && find . -type f | sort)
