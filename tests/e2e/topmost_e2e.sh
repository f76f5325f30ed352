#!/usr/bin/env bash
# Always-on-top mode of the real program on an X display with a window
# manager. Run through xsession.sh: xsession.sh topmost_e2e.sh path/to/vorlane
#
# F4 right after start (the hidden Cancel button holds the focus) puts the
# window manager's above state on the main window without moving it; an
# ordinary window raised over it stays below; the state holds through
# minimising and restoring; F5 clears it, after which the ordinary window
# can go over it. Enter then still ends the program (the Cancel button kept
# the focus throughout) without writing the settings store.
. "$(dirname "$0")/lib.sh"

pass() { echo "PASS: $*"; }

is_iconic() { timeout 5 xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Iconic'; }
is_normal() { timeout 5 xprop -id "$1" WM_STATE 2>/dev/null | grep -q 'window state: Normal'; }
position() {
    timeout 5 xwininfo -id "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x "," y}'
}
# Index of a window in the window manager's stacking order, bottom first.
stacking_index() {
    local i=0 w
    for w in $(timeout 5 xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr ',' ' '); do
        i=$((i + 1))
        [ $((w)) -eq $(($1)) ] && { echo "$i"; return 0; }
    done
    echo -1
}
above_of() { [ "$(stacking_index "$1")" -gt "$(stacking_index "$2")" ]; }
wm_up() { timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; }

# The window manager may still be coming up on a busy machine.
wait_until 30 wm_up || fail "no window manager on the display"
timeout 5 xprop -root _NET_SUPPORTED | grep -q _NET_WM_STATE_ABOVE \
    || fail "no window manager with _NET_WM_STATE_ABOVE on the display"

start_viewer
# No database in the working directory: the data control reports it in a
# message box of its own. Dismiss it; the main window gets the focus back.
dismiss_box
activate_main
is_not_above "$main_win" || fail "above state set at start"
pos=$(position "$main_win")

# F4 right after start, while the hidden Cancel button holds the focus.
xdo key F4
wait_until 10 is_above "$main_win" || fail "F4 did not set _NET_WM_STATE_ABOVE: $(net_state "$main_win")"
wm_caught_up "$main_win" || fail "window manager did not answer"
[ "$(position "$main_win")" = "$pos" ] || fail "window moved on F4: $pos -> $(position "$main_win")"
kill -0 "$viewer_pid" 2>/dev/null || fail "program ended on F4"
pass "F4 sets _NET_WM_STATE_ABOVE, window stays at $pos"

# Another, ordinary window, raised and activated over the main window.
xmessage -geometry 400x300+0+0 "ordinary window" &
xpid=$!
trap 'kill "$xpid" 2>/dev/null || true; e2e_cleanup' EXIT
# Xt sets no _NET_WM_PID: found by its class, once managed.
xmessage_window() {
    local id
    for id in $(xdo search --onlyvisible --class '^Xmessage$' 2>/dev/null); do
        [ "$(stacking_index "$id")" -ge 1 ] && { echo "$id"; return 0; }
    done
    return 1
}
wait_until 10 xmessage_window >/dev/null || fail "xmessage did not appear"
other=$(xmessage_window)
raise_other() {
    xdo windowactivate --sync "$other" >/dev/null 2>&1 || true
    xdo windowraise "$other"
    wait_until 10 active_is "$other" || fail "xmessage not active"
    wm_caught_up "$other" || fail "window manager did not answer"
}
raise_other
above_of "$main_win" "$other" || fail "raised window went over the topmost one"
pass "ordinary window raised over it stays below"

# Minimised and restored: the above state holds.
xdo windowminimize --sync "$main_win"
wait_until 10 is_iconic "$main_win" || fail "window not minimised"
is_above "$main_win" || fail "above state lost while minimised"
xdo windowactivate --sync "$main_win" >/dev/null 2>&1 || true
wait_until 10 is_normal "$main_win" || fail "window not restored"
wait_until 10 active_is "$main_win" || fail "restored window not active"
is_above "$main_win" || fail "above state lost after restore"
[ "$(position "$main_win")" = "$pos" ] || fail "window moved by minimise/restore"
raise_other
above_of "$main_win" "$other" || fail "restored window no longer above the ordinary one"
pass "above state holds through minimise and restore"

# F5 clears the state; the window stays in front until another goes over.
activate_main
xdo key F5
wait_until 10 is_not_above "$main_win" || fail "F5 did not clear the above state: $(net_state "$main_win")"
wm_caught_up "$main_win" || fail "window manager did not answer"
[ "$(position "$main_win")" = "$pos" ] || fail "window moved on F5"
above_of "$main_win" "$other" || fail "after F5 the window fell behind the ordinary one"
xdo windowactivate --sync "$other" >/dev/null 2>&1 || true
xdo windowraise "$other"
wait_until 10 above_of "$other" "$main_win" || fail "ordinary window cannot go over after F5"
pass "F5 clears the state; the window is ordinary again"

# Enter clicks the hidden Cancel button, which never lost the focus: the
# program ends at once and writes no position.
activate_main
xdo key Return
expect_exit 10
[ ! -e "$STORE" ] || fail "position written on an end at once"
pass "Cancel button kept the focus; the program ended without saving"
