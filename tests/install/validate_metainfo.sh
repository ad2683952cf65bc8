#!/bin/bash
# Validates the AppStream metainfo offline. appstreamcli fails on errors and
# warnings; infos and pedantic notes are shown but allowed. The newest release
# listed must be the project's version, so a version bump cannot forget it.
# Usage: validate_metainfo.sh <file.metainfo.xml> <project version>
set -euo pipefail
source "$(dirname "$0")/common.sh"
require_tools appstreamcli

metainfo=$1 version=$2
[[ -f "$metainfo" ]] || fail "$metainfo not found"

status=0
appstreamcli validate --no-net --pedantic "$metainfo" || status=$?
((status == 0)) || fail "appstreamcli validate exited with $status"

# Releases are listed newest first.
newest=$(grep -o '<release [^>]*version="[^"]*"' "$metainfo" | head -n1 |
         sed 's/.*version="\([^"]*\)".*/\1/')
[[ "$newest" == "$version" ]] ||
    fail "newest release in $metainfo is '$newest', the project version is '$version'"
echo "metainfo OK"
