#!/usr/bin/env bash
# Moves the window and closes it from outside (the window manager's close,
# SIGTERM while the database box is still up, then another client destroying
# the window); each next start finds the window where it was closed.
. "$(dirname "$0")/lib.sh"

note "first start: no entry, the window opens at the screen's top-left corner"
start_viewer
dismiss_box
[ "$(frame_pos)" = "0 0" ] || fail "first start at $(frame_pos), not 0 0"
move_main 200 150
moved=$(frame_pos)
note "moved to $moved; closing through the window manager"
timeout 5 wmctrl -i -c "$main_win" || fail "wmctrl close"
expect_exit
expect_stored "$moved" "after the window manager's close"

note "second start: at $moved"
start_viewer
wait_until 5 frame_is "$moved" || fail "second start at $(frame_pos), expected $moved"
wait_for_box
move_main 420 300
moved2=$(frame_pos)
note "moved to $moved2 with the box still up; SIGTERM"
kill -TERM "$viewer_pid"
expect_exit
expect_stored "$moved2" "after SIGTERM"

note "third start: at $moved2"
start_viewer
wait_until 5 frame_is "$moved2" || fail "third start at $(frame_pos), expected $moved2"
dismiss_box
move_main 140 330
moved3=$(frame_pos)
note "moved to $moved3; another client destroys the window"
xdo windowclose "$main_win" || fail "xdotool windowclose"
expect_exit
expect_stored "$moved3" "after the window was destroyed"

note "fourth start: at $moved3"
start_viewer
wait_until 5 frame_is "$moved3" || fail "fourth start at $(frame_pos), expected $moved3"
dismiss_box
timeout 5 wmctrl -i -c "$main_win" || fail "wmctrl close"
expect_exit
echo "PASS"
