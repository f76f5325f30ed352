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
set -euo pipefail

vorlane=$(realpath "$1")
work=$(mktemp -d)
export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME" "$work/cwd"
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }
pass() { echo "PASS: $*"; }

# Polls a command for up to 10 s.
wait_for() {
    for _ in $(seq 100); do
        "$@" && return 0
        sleep 0.1
    done
    return 1
}

xdo() { timeout 5 xdotool "$@"; }
net_wm_state() { timeout 5 xprop -id "$1" _NET_WM_STATE 2>/dev/null || true; }
is_above() { net_wm_state "$1" | grep -q _NET_WM_STATE_ABOVE; }
is_not_above() { ! is_above "$1"; }
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
is_active() { [ "$(xdo getactivewindow 2>/dev/null || true)" = "$1" ]; }
# The managed top-level window of a process whose name matches.
find_window() {
    local pid=$1 pattern=$2 id
    for id in $(xdo search --onlyvisible --pid "$pid" --name '' 2>/dev/null || true); do
        [ "$(stacking_index "$id")" -ge 1 ] || continue
        timeout 5 xprop -id "$id" _NET_WM_NAME WM_NAME 2>/dev/null | grep -q -- "$pattern" \
            && { echo "$id"; return 0; }
    done
    return 1
}
above_of() { [ "$(stacking_index "$1")" -gt "$(stacking_index "$2")" ]; }

# The window manager may still be coming up on a busy machine.
for _ in $(seq 300); do
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id' && break
    sleep 0.1
done
timeout 5 xprop -root _NET_SUPPORTED | grep -q _NET_WM_STATE_ABOVE \
    || fail "no window manager with _NET_WM_STATE_ABOVE on the display"

cd "$work/cwd"
"$vorlane" >"$work/vorlane.log" 2>&1 &
vpid=$!
pids+=("$vpid")

main=""
wait_for eval 'main=$(find_window "$vpid" "Kantrell【")' || fail "main window did not appear"

# No database in the working directory: the data control reports it in a
# message box of its own. Dismiss it; the main window gets the focus back.
box=""
if wait_for eval 'box=$(find_window "$vpid" "\"Vorlane\"")'; then
    xdo windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdo key --clearmodifiers Return
    wait_for eval '! find_window "$vpid" "\"Vorlane\"" >/dev/null' \
        || fail "message box did not close"
    echo "message box of the data control dismissed"
fi
wait_for is_active "$main" || xdo windowactivate --sync "$main"
wait_for is_active "$main" || fail "main window not active"
is_not_above "$main" || fail "above state set at start"
pos=$(position "$main")

# F4 right after start, while the hidden Cancel button holds the focus.
xdo key F4
wait_for is_above "$main" || fail "F4 did not set _NET_WM_STATE_ABOVE: $(net_wm_state "$main")"
sleep 0.3
[ "$(position "$main")" = "$pos" ] || fail "window moved on F4: $pos -> $(position "$main")"
kill -0 "$vpid" 2>/dev/null || fail "program ended on F4"
pass "F4 sets _NET_WM_STATE_ABOVE, window stays at $pos"

# Another, ordinary window, raised and activated over the main window.
xmessage -geometry 400x300+0+0 "ordinary window" &
xpid=$!
pids+=("$xpid")
other=""
wait_for eval 'other=$(find_window "$xpid" "xmessage")' \
    || fail "xmessage did not appear"
xdo windowactivate --sync "$other" >/dev/null 2>&1 || true
xdo windowraise "$other"
wait_for is_active "$other" || fail "xmessage not active"
sleep 0.3
above_of "$main" "$other" || fail "raised window went over the topmost one"
pass "ordinary window raised over it stays below"

# Minimised and restored: the above state holds.
xdo windowminimize --sync "$main"
wait_for is_iconic "$main" || fail "window not minimised"
is_above "$main" || fail "above state lost while minimised"
xdo windowactivate --sync "$main" >/dev/null 2>&1 || true
wait_for is_normal "$main" || fail "window not restored"
wait_for is_active "$main" || fail "restored window not active"
is_above "$main" || fail "above state lost after restore"
[ "$(position "$main")" = "$pos" ] || fail "window moved by minimise/restore"
xdo windowactivate --sync "$other" >/dev/null 2>&1 || true
xdo windowraise "$other"
sleep 0.3
above_of "$main" "$other" || fail "restored window no longer above the ordinary one"
pass "above state holds through minimise and restore"

# F5 clears the state; the window stays in front until another goes over.
xdo windowactivate --sync "$main" >/dev/null 2>&1 || true
wait_for is_active "$main" || fail "main window not active for F5"
xdo key F5
wait_for is_not_above "$main" || fail "F5 did not clear the above state: $(net_wm_state "$main")"
sleep 0.3
[ "$(position "$main")" = "$pos" ] || fail "window moved on F5"
above_of "$main" "$other" || fail "after F5 the window fell behind the ordinary one"
xdo windowactivate --sync "$other" >/dev/null 2>&1 || true
xdo windowraise "$other"
wait_for above_of "$other" "$main" || fail "ordinary window cannot go over after F5"
pass "F5 clears the state; the window is ordinary again"

# Enter clicks the hidden Cancel button, which never lost the focus: the
# program ends at once and writes no position.
xdo windowactivate --sync "$main" >/dev/null 2>&1 || true
wait_for is_active "$main" || fail "main window not active for Enter"
xdo key Return
wait_for eval '! kill -0 "$vpid" 2>/dev/null' || fail "Enter did not end the program"
[ ! -e "$XDG_CONFIG_HOME/Vorlane/settings.ini" ] || fail "position written on an end at once"
pass "Cancel button kept the focus; the program ended without saving"
