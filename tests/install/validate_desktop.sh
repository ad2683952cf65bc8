#!/bin/bash
# Validates the desktop entry with desktop-file-validate. Errors and warnings
# fail; hints are shown but allowed.
# Usage: validate_desktop.sh <file.desktop>
set -euo pipefail
source "$(dirname "$0")/common.sh"
require_tools desktop-file-validate

desktop=$1
[[ -f "$desktop" ]] || fail "$desktop not found"

status=0
out=$(desktop-file-validate "$desktop" 2>&1) || status=$?
[[ -n "$out" ]] && echo "$out"
((status == 0)) || fail "desktop-file-validate exited with $status"
! grep -qE ': (error|warning):' <<<"$out" || fail "desktop-file-validate reported problems"

# The menu entry must be listed under Education.
categories=$(desktop_key "$desktop" Categories)
[[ ";$categories" == *";Education;"* ]] || fail "Categories '$categories' lacks Education"
echo "desktop entry OK"
