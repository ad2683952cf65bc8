# shellcheck shell=bash
# Helpers shared by the install and packaging checks. Sourced, not run.

# Debian package that provides each command the checks use.
declare -A TOOL_PACKAGE=(
    [desktop-file-validate]=desktop-file-utils
    [appstreamcli]=appstream
    [dpkg-deb]=dpkg
    [dpkg-shlibdeps]=dpkg-dev
    [Xvfb]=xvfb
    [xdotool]=xdotool
    [xprop]=x11-utils
    [lintian]=lintian
    [appstream-util]=appstream-util
)

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# A missing tool is a failure, not a skip: the documented test setup installs
# every one of them.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null 2>&1 ||
            fail "'$tool' not found (apt-get install ${TOOL_PACKAGE[$tool]:-$tool})"
    done
}

# Icon sizes rendered into the hicolor theme, besides the scalable SVG.
ICON_SIZES=(16 22 24 32 48 64 128 256)

# Prints, one per line, every file an installation must contain, relative to
# the installation prefix. Arguments: application id, icon name.
expected_files() {
    local app_id=$1 icon=$2 n
    echo "bin/tirpo-clock"
    echo "share/applications/$app_id.desktop"
    echo "share/metainfo/$app_id.metainfo.xml"
    for n in "${ICON_SIZES[@]}"; do
        echo "share/icons/hicolor/${n}x${n}/apps/$icon.png"
    done
    echo "share/icons/hicolor/scalable/apps/$icon.svg"
    echo "share/man/man1/tirpo-clock.1.gz"
    echo "share/doc/tirpo-clock/copyright"
    echo "share/doc/tirpo-clock/changelog.gz"
}

# Value of KEY in the [Desktop Entry] group of a desktop file.
desktop_key() {
    local file=$1 key=$2
    awk -F= -v key="$key" '
        /^\[/ { group = $0; next }
        group == "[Desktop Entry]" && $1 == key { sub(/^[^=]*=/, ""); print; exit }
    ' "$file"
}

# Checks an installed tree at PREFIX against the expected file list and checks
# that the installed files fit together: the desktop entry starts an installed
# program and names installed icons, every PNG has the size of its folder, and
# the AppStream data launches the installed desktop entry. PREFIX must be
# <root>/usr, since appstreamcli validate-tree reads <root>/usr/share.
# Arguments: prefix, application id, icon name.
check_installed_tree() {
    local prefix=$1 app_id=$2 icon=$3 f n
    local missing=()
    while read -r f; do
        [[ -f "$prefix/$f" ]] || missing+=("$f")
    done < <(expected_files "$app_id" "$icon")
    ((${#missing[@]} == 0)) || fail "missing from $prefix: ${missing[*]}"

    [[ -x "$prefix/bin/tirpo-clock" ]] || fail "$prefix/bin/tirpo-clock is not executable"

    local desktop="$prefix/share/applications/$app_id.desktop"
    local exec_cmd icon_key
    exec_cmd=$(desktop_key "$desktop" Exec)
    exec_cmd=${exec_cmd%% *}
    [[ -x "$prefix/bin/$exec_cmd" ]] ||
        fail "desktop entry runs '$exec_cmd', which is not installed in $prefix/bin"
    icon_key=$(desktop_key "$desktop" Icon)
    [[ "$icon_key" == "$icon" ]] ||
        fail "desktop entry names icon '$icon_key', the installed icons are '$icon'"

    # PNG header: width and height are big-endian 32-bit words at byte 16.
    local w h
    for n in "${ICON_SIZES[@]}"; do
        f="$prefix/share/icons/hicolor/${n}x${n}/apps/$icon.png"
        [[ "$(head -c 8 "$f" | od -An -tx1 | tr -d ' \n')" == 89504e470d0a1a0a ]] ||
            fail "$f is not a PNG file"
        read -r w h < <(od -An -tu4 --endian=big -j16 -N8 "$f")
        [[ "$w" == "$n" && "$h" == "$n" ]] || fail "$f is ${w}x${h}, expected ${n}x${n}"
    done
    f="$prefix/share/icons/hicolor/scalable/apps/$icon.svg"
    grep -q '<svg' "$f" || fail "$f is not an SVG file"

    local metainfo="$prefix/share/metainfo/$app_id.metainfo.xml"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "$metainfo does not launch $app_id.desktop"
    grep -q "<binary>$exec_cmd</binary>" "$metainfo" ||
        fail "$metainfo does not provide the binary $exec_cmd"

    # Software centres read the metainfo together with the desktop entry it
    # launches; validate-tree checks them as installed, side by side.
    require_tools appstreamcli
    local status=0
    appstreamcli validate-tree --no-net "$(dirname "$prefix")" || status=$?
    ((status == 0)) || fail "appstreamcli validate-tree exited with $status"
}

# Fails when the tree rooted at ROOT holds files that are not expected below
# PREFIX_REL (e.g. build by-products or a bundled library installing itself).
# Arguments: root, prefix relative to root, application id, icon name.
check_no_extra_files() {
    local root=$1 prefix_rel=$2 app_id=$3 icon=$4
    local extra
    extra=$(comm -23 \
        <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) \
        <(expected_files "$app_id" "$icon" | sed "s|^|${prefix_rel:+$prefix_rel/}|" | sort))
    [[ -z "$extra" ]] || fail "unexpected files installed:"$'\n'"$extra"
}
