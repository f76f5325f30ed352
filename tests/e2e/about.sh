#!/usr/bin/env bash
# Help > About on a real X server: the About window opens centred on the
# screen, without a task-bar entry, modal over the main window, and Esc
# closes it. Runs inside xsession.sh. Usage: about.sh PATH/TO/vorlane
. "$(dirname "$0")/lib.sh"

ABOUT_NAME='^information$'

start_viewer
# Without a database in the working directory the data control reports
# the engine's error first; answer it.
dismiss_box
activate_main

# Help opens its menu; Return takes its one item.
windows=$(mapped_windows)
xdo key --clearmodifiers alt+h
wait_until 5 more_windows_than "$windows" || fail "Help menu did not open"
xdo key --clearmodifiers Return
wait_until 5 have_window "$ABOUT_NAME" || fail "About window did not open"
about=$(find_window "$ABOUT_NAME")
wm_caught_up "$about" || fail "window manager did not answer"

# Centred: the outer frame's middle on the screen's middle.
read -r sw sh < <(xdo getdisplaygeometry)
info=$(timeout 5 xwininfo -id "$about")
ax=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
ay=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
aw=$(awk '/^ *Width:/ {print $2}' <<<"$info")
ah=$(awk '/^ *Height:/ {print $2}' <<<"$info")
read -r fl fr ft fb < <(timeout 5 xprop -id "$about" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
cx=$(( (ax - fl) * 2 + aw + fl + fr ))
cy=$(( (ay - ft) * 2 + ah + ft + fb ))
[ "$aw" -eq 321 ] && [ "$ah" -eq 336 ] || fail "client area ${aw}x${ah}, not 321x336"
[ $(( cx - sw )) -ge -2 ] && [ $(( cx - sw )) -le 2 ] || fail "not centred across: x=$ax w=$aw"
[ $(( cy - sh )) -ge -2 ] && [ $(( cy - sh )) -le 2 ] || fail "not centred down: y=$ay h=$ah"

props=$(timeout 5 xprop -id "$about")
grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" || grep -q '^WM_TRANSIENT_FOR' <<<"$props" \
    || fail "the About window would get a task-bar entry"
grep -q '_NET_WM_STATE_MODAL' <<<"$props" || fail "the About window is not modal"

# The main window takes no input meanwhile: F4 does not make it topmost.
# Esc then closes the About window, and only it; by then the program has
# seen the F4, and once the window manager has caught up it would have
# set the state.
xdo windowactivate "$main_win" >/dev/null 2>&1 || true
wm_caught_up "$main_win" || fail "window manager did not answer"
xdo key --clearmodifiers F4
have_window "$ABOUT_NAME" || fail "About window went away"
xdo windowactivate --sync "$about" >/dev/null 2>&1 || true
xdo key --clearmodifiers Escape
wait_until 5 no_window "$ABOUT_NAME" || fail "Esc did not close it"
wm_caught_up "$main_win" || fail "window manager did not answer"
is_not_above "$main_win" || fail "F4 reached the main window"
kill -0 "$viewer_pid" 2>/dev/null || fail "the program ended"

# The main window takes input again.
activate_main
xdo key --clearmodifiers F4
wait_until 3 is_above "$main_win" || fail "F4 did not reach the main window afterwards"
echo "about.sh: ok"
