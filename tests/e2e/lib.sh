# Helpers for the end-to-end scripts: start the real viewer in a private
# settings store and working directory, find its windows, move and close
# them. Every xdotool call runs under `timeout`; waits poll with a deadline.

set -euo pipefail

VIEWER=${1:?usage: $0 path/to/vorlane}
E2E_TMP=$(mktemp -d)
export XDG_CONFIG_HOME=$E2E_TMP/config
WORK=$E2E_TMP/work
STORE=$XDG_CONFIG_HOME/Vorlane/settings.ini
mkdir -p "$XDG_CONFIG_HOME" "$WORK"
viewer_pid=

e2e_cleanup() {
    [ -n "$viewer_pid" ] && kill -KILL "$viewer_pid" 2>/dev/null || true
    rm -rf "$E2E_TMP"
}
trap e2e_cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}
note() { echo "-- $*"; }

# shellcheck source=wait.sh
source "$(dirname "${BASH_SOURCE[0]}")/wait.sh"

# The visible window of the viewer whose name matches $1.
find_window() { find_window_of "$viewer_pid" "$1"; }
# find_window_of PID NAME: the same for any process.
find_window_of() {
    xdo search --all --onlyvisible --pid "$1" --name "$2" 2>/dev/null | head -n1
}
have_window() { [ -n "$(find_window "$1")" ]; }

MAIN_NAME='^Kantrell'
BOX_NAME='^Vorlane$' # the runtime's message boxes carry the program's name

start_viewer() {
    (cd "$WORK" && exec "$VIEWER") >"$E2E_TMP/viewer.log" 2>&1 &
    viewer_pid=$!
    wait_until 20 have_window "$MAIN_NAME" || fail "main window did not appear"
    main_win=$(find_window "$MAIN_NAME")
}

# The working directory holds no database, so the data control reports that
# in a box of its own right after start.
wait_for_box() {
    wait_until 10 have_window "$BOX_NAME" || fail "database message box did not appear"
}
dismiss_box() {
    wait_for_box
    local box
    box=$(find_window "$BOX_NAME")
    xdo windowactivate "$box" 2>/dev/null || true
    wait_until 5 active_is "$box" || fail "message box did not get the focus"
    xdo key Return
    wait_until 5 no_window "$BOX_NAME" || fail "message box did not close"
}
no_window() { ! have_window "$1"; }
active_is() { [ "$(xdo getactivewindow 2>/dev/null)" = "$1" ]; }

activate_main() {
    xdo windowactivate "$main_win" 2>/dev/null || true
    wait_until 5 active_is "$main_win" || fail "main window did not get the focus"
}

# The outer frame's top-left corner of the main window, "X Y" in pixels:
# the client's place less the frame extents the window manager reports.
frame_pos() {
    local info ext x y left top
    info=$(timeout 5 xwininfo -id "$main_win") || return 1
    x=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
    y=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
    ext=$(timeout 5 xprop -id "$main_win" _NET_FRAME_EXTENTS | sed -n 's/.*= *//p' | tr -d ' ')
    [ -n "$ext" ] || return 1
    IFS=, read -r left _ top _ <<<"$ext"
    echo "$((x - left)) $((y - top))"
}
frame_is() { [ "$(frame_pos 2>/dev/null)" = "$1" ]; }

# Moves the main window and waits until its frame stands somewhere new.
move_main() {
    local before
    before=$(frame_pos)
    xdo windowmove "$main_win" "$1" "$2"
    wait_until 5 frame_moved_from "$before" || fail "window did not move"
    # Let the window system settle on the final place.
    local last=
    wait_until 5 frame_stable last || fail "window kept moving"
}
frame_moved_from() { local p; p=$(frame_pos 2>/dev/null) && [ "$p" != "$1" ]; }
frame_stable() {
    local -n prev=$1
    local p
    p=$(frame_pos 2>/dev/null) || return 1
    sleep 0.1
    [ "$p" = "$(frame_pos 2>/dev/null)" ] && [ "$p" = "${prev:-$p}" ] && { prev=$p; return 0; }
    prev=$p
    return 1
}

viewer_gone() { ! kill -0 "$viewer_pid" 2>/dev/null; }
# Waits for the viewer to exit and checks its status.
expect_exit() {
    wait_until "${1:-10}" viewer_gone || fail "viewer did not exit"
    local rc=0
    wait "$viewer_pid" || rc=$?
    viewer_pid=
    [ "$rc" -eq 0 ] || fail "viewer exited with status $rc"
}

stored() { sed -n "s/^$1=//p" "$STORE" 2>/dev/null; }
# expect_stored "X Y" WHEN: the store holds that frame place (pixels) in twips.
expect_stored() {
    local x y
    read -r x y <<<"$1"
    [ "$(stored X1)" = "$((x * 15))" ] || fail "X1 is '$(stored X1)' $2, expected $((x * 15))"
    [ "$(stored Y1)" = "$((y * 15))" ] || fail "Y1 is '$(stored Y1)' $2, expected $((y * 15))"
}

net_state() { timeout 5 xprop -id "$1" _NET_WM_STATE 2>/dev/null || true; }
is_above() { net_state "$1" | grep -q _NET_WM_STATE_ABOVE; }
is_not_above() { ! is_above "$1"; }
has_state() { net_state "$1" | grep -q "$2"; }
lacks_state() { ! has_state "$@"; }

# A round trip through the window manager: it handles requests in order, so
# once it has set and cleared a state that changes nothing on screen (no
# pager runs) on WIN, it has handled everything asked of it before.
wm_caught_up() {
    timeout 5 wmctrl -i -r "$1" -b add,skip_pager || return 1
    wait_until 5 has_state "$1" _NET_WM_STATE_SKIP_PAGER || return 1
    timeout 5 wmctrl -i -r "$1" -b remove,skip_pager || return 1
    wait_until 5 lacks_state "$1" _NET_WM_STATE_SKIP_PAGER
}

# How many windows of the viewer are mapped (menus and boxes included).
mapped_windows() { xdo search --all --onlyvisible --pid "$viewer_pid" 2>/dev/null | wc -l; }
more_windows_than() { [ "$(mapped_windows)" -gt "$1" ]; }
