#!/bin/bash
# Validates the AppStream metainfo with appstream-util, the validator of
# GNOME's software centre tooling, in its relaxed mode (the strict one also
# asks for a home page and screenshots on the web). It also checks what
# software centres show from it: the interface language and the input the
# program needs.
# Usage: validate_metainfo_relax.sh <file.metainfo.xml>
set -euo pipefail
source "$(dirname "$0")/common.sh"
require_tools appstream-util

metainfo=$1
[[ -f "$metainfo" ]] || fail "$metainfo not found"

status=0
appstream-util validate-relax --nonet "$metainfo" || status=$?
((status == 0)) || fail "appstream-util validate-relax exited with $status"

grep -Eq '<lang( [^>]*)?>ja</lang>' "$metainfo" || fail "$metainfo names no Japanese interface"
grep -Pzoq '<recommends>\s*(<[^>]*>[^<]*</[^>]*>\s*)*<control>pointing</control>' "$metainfo" ||
    fail "$metainfo does not recommend a pointing device"
grep -Pzoq '<release [^>]*>\s*<description>' "$metainfo" || fail "$metainfo has no release notes"
echo "metainfo OK for appstream-util"
