#!/usr/bin/env bash
# The program as a user installs it: `cmake --install` under a prefix other
# than the configured one, and the Debian package unpacked into a folder.
# Each is started the way its desktop entry says (Exec in Path, mapped into
# the folder), with a fresh settings store: one window, no message box, and
# the table's first record on show, as the build-tree program shows it.
# Usage: installed.sh PATH/TO/build/bin/vorlane BUILD_DIR CPACK
. "$(dirname "$0")/lib.sh"
BUILD=${2:?build folder}
CPACK=${3:?cpack}
REFERENCE=$VIEWER

# The size line of the bolt page (nominal size and pitch), in the client
# window: the page's labels stand 8 px from the left and 324 px below the
# menu bar; everything under the menu bar is 374 px high.
size_line() {
    local h
    h=$(xdo getwindowgeometry "$main_win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
    echo "131x23+8+$((h - 374 + 324))"
}
# A picture of the main window (or of a part of it) as a checksum.
picture() {
    local crop=${1:-}
    timeout 10 import -window "$main_win" ${crop:+-crop "$crop"} rgb:- 2>/dev/null | sha1sum |
        cut -d' ' -f1
}
picture_is() { [ "$(picture "${2:-}")" = "$1" ]; }
picture_not() { local p; p=$(picture "${2:-}") && [ -n "$p" ] && [ "$p" != "$1" ]; }
visible_windows() { xdo search --all --onlyvisible --pid "$viewer_pid" 2>/dev/null | wc -l; }

# Starts $VIEWER in $WORK with a settings store of its own.
start_fresh() {
    XDG_CONFIG_HOME=$(mktemp -d -p "$E2E_TMP")
    export XDG_CONFIG_HOME
    start_viewer
}
close_main() {
    timeout 5 wmctrl -i -c "$main_win" || fail "wmctrl close"
    expect_exit
}

note "without a database: the size line shows the symbols"
WORK=$E2E_TMP/empty
mkdir -p "$WORK"
start_fresh
dismiss_box
symbols=$(picture "$(size_line)")
close_main

note "the build-tree program beside its database: the first record"
WORK=$(dirname "$REFERENCE")
[ -f "$WORK/vorlane.mdb" ] || fail "no vorlane.mdb beside $REFERENCE"
start_fresh
wait_until 20 picture_not "$symbols" "$(size_line)" || fail "the build-tree program shows no record"
last=
stable() { local p; p=$(picture) && [ "$p" = "$last" ] && return 0; last=$p; return 1; }
wait_until 10 stable || fail "the build-tree program's window keeps changing"
first_record=$last
[ "$(visible_windows)" -eq 1 ] || fail "the build-tree program shows $(visible_windows) windows"
close_main

# entry FILE KEY: the value of KEY in a desktop entry's main group, its
# backslash escapes undone.
entry() { sed -n "/^\[Desktop Entry\]/,/^\[/ { s/^$2=//p }" "$1" | head -n1 | sed 's/\\\(.\)/\1/g'; }
# program COMMAND: the program an Exec line names, its quotes undone.
program() {
    case $1 in
    \"*) sed 's/^"//; s/"$//; s/\\\(.\)/\1/g' <<<"$1" ;;
    *) echo "${1%% *}" ;;
    esac
}

# run_entry ROOT DESKTOP: starts the program as DESKTOP says, its absolute
# paths taken under ROOT (empty for an install in place), and checks what it
# shows. The entry names the program by its full name: a prefix's bin need
# not be on the desktop session's PATH.
run_entry() {
    local root=$1 desktop=$2 exec path
    desktop-file-validate "$desktop" || fail "desktop-file-validate $desktop"
    exec=$(program "$(entry "$desktop" Exec)")
    path=$(entry "$desktop" Path)
    [ -n "$path" ] || fail "$desktop has no Path"
    case $exec in
    /*) VIEWER=$root$exec ;;
    *) fail "$desktop starts '$exec', not a full name" ;;
    esac
    WORK=$root$path
    note "Exec=$exec Path=$path: $VIEWER in $WORK"
    [ -f "$WORK/vorlane.mdb" ] || fail "no vorlane.mdb in $WORK"
    start_fresh
    wait_until 20 picture_is "$first_record" || {
        [ "$(visible_windows)" -gt 1 ] && fail "a message box: $(cat "$E2E_TMP/viewer.log")"
        fail "the installed program does not show the first record"
    }
    [ "$(visible_windows)" -eq 1 ] || fail "$(visible_windows) windows, not one"
    close_main
}

configured=$(sed -n 's/^CMAKE_INSTALL_PREFIX:PATH=//p' "$BUILD/CMakeCache.txt")
[ -e "$configured/libexec/vorlane/vorlane-jetread" ] &&
    note "a reader is installed under the configured prefix $configured: it could stand in"

note "cmake --install into a prefix of its own, with a space in its name"
prefix="$E2E_TMP/a prefix/usr"
cmake --install "$BUILD" --prefix "$prefix" >"$E2E_TMP/install.log" || fail "cmake --install"
[ "$prefix" != "$configured" ] || fail "the test prefix is the configured one"
appstreamcli validate --no-net "$prefix"/share/metainfo/*.metainfo.xml ||
    fail "appstreamcli validate"
run_entry "" "$prefix/share/applications/vorlane.desktop"
[ "$VIEWER" = "$prefix/bin/vorlane" ] || fail "the entry starts $VIEWER"

note "the Debian package, unpacked with dpkg-deb -x"
"$CPACK" -G DEB --config "$BUILD/CPackConfig.cmake" -B "$E2E_TMP/package" \
    >"$E2E_TMP/cpack.log" 2>&1 || fail "cpack: $(cat "$E2E_TMP/cpack.log")"
debs=("$E2E_TMP"/package/vorlane_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "no vorlane_<version>_amd64.deb"
deb=${debs[0]}
listing=$(dpkg-deb -c "$deb")
for f in usr/bin/vorlane usr/libexec/vorlane/vorlane-jetread usr/share/vorlane/vorlane.mdb \
    usr/share/applications/vorlane.desktop usr/share/icons/hicolor/32x32/apps/vorlane.png \
    usr/share/icons/hicolor/256x256/apps/vorlane.png usr/share/metainfo/; do
    grep -q " \./$f" <<<"$listing" || fail "the package lacks /$f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in fonts-ipafont-gothic xdg-utils libqt6widgets6 libmdb3; do
    grep -q "$d" <<<"$depends" || fail "Depends lacks $d: $depends"
done
root=$E2E_TMP/root
dpkg-deb -x "$deb" "$root"
run_entry "$root" "$root/usr/share/applications/vorlane.desktop"
echo "PASS"
