#!/usr/bin/env bash
# Help > About on a real X server: the About window opens centred on the
# screen, without a task-bar entry, modal over the main window, and Esc
# closes it. Runs inside xsession.sh. Usage: about.sh PATH/TO/vorlane
set -euo pipefail

vorlane=$(realpath "$1")
work=$(mktemp -d)
mkdir -p "$work/config" "$work/cwd"
cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() { echo "about.sh: $*" >&2; exit 1; }
x() { timeout 5 "$@"; }

# Prints the first visible window whose name matches, within ~5 s.
find_window() {
    local id
    for _ in $(seq 50); do
        id=$(x xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

net_state() { x xprop -id "$1" _NET_WM_STATE 2>/dev/null || true; }

cd "$work/cwd"
XDG_CONFIG_HOME="$work/config" "$vorlane" &
pid=$!

main=$(find_window '^Kantrell') || fail "main window did not show"
# Without a database in the working directory the data control reports
# the engine's error first; answer it.
for _ in $(seq 20); do
    box=$(x xdotool search --onlyvisible --name '^Vorlane$' 2>/dev/null | head -n1 || true)
    if [ -n "$box" ]; then
        x xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
        x xdotool key --clearmodifiers Return
        sleep 0.3
        continue
    fi
    sleep 0.1
done

x xdotool windowactivate --sync "$main" >/dev/null 2>&1 || fail "cannot activate the main window"
x xdotool key --clearmodifiers alt+h
sleep 0.3
x xdotool key --clearmodifiers Return
about=$(find_window '^information$') || fail "About window did not open"
sleep 0.5

# Centred: the outer frame's middle on the screen's middle.
read -r sw sh < <(x xdotool getdisplaygeometry)
info=$(x xwininfo -id "$about")
ax=$(awk '/Absolute upper-left X/ {print $4}' <<<"$info")
ay=$(awk '/Absolute upper-left Y/ {print $4}' <<<"$info")
aw=$(awk '/^ *Width:/ {print $2}' <<<"$info")
ah=$(awk '/^ *Height:/ {print $2}' <<<"$info")
read -r fl fr ft fb < <(x xprop -id "$about" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
cx=$(( (ax - fl) * 2 + aw + fl + fr ))
cy=$(( (ay - ft) * 2 + ah + ft + fb ))
[ "$aw" -eq 321 ] && [ "$ah" -eq 336 ] || fail "client area ${aw}x${ah}, not 321x336"
[ $(( cx - sw )) -ge -2 ] && [ $(( cx - sw )) -le 2 ] || fail "not centred across: x=$ax w=$aw"
[ $(( cy - sh )) -ge -2 ] && [ $(( cy - sh )) -le 2 ] || fail "not centred down: y=$ay h=$ah"

props=$(x xprop -id "$about")
grep -q '_NET_WM_STATE_SKIP_TASKBAR' <<<"$props" || grep -q '^WM_TRANSIENT_FOR' <<<"$props" \
    || fail "the About window would get a task-bar entry"
grep -q '_NET_WM_STATE_MODAL' <<<"$props" || fail "the About window is not modal"

# The main window takes no input meanwhile: F4 does not make it topmost.
x xdotool windowactivate "$main" >/dev/null 2>&1 || true
sleep 0.3
x xdotool key --clearmodifiers F4
sleep 0.5
net_state "$main" | grep -q '_NET_WM_STATE_ABOVE' && fail "F4 reached the main window"
x xdotool search --onlyvisible --name '^information$' >/dev/null || fail "About window went away"

# Esc closes it, and only it.
x xdotool windowactivate --sync "$about" >/dev/null 2>&1 || true
x xdotool key --clearmodifiers Escape
for _ in $(seq 50); do
    x xdotool search --onlyvisible --name '^information$' >/dev/null 2>&1 || break
    sleep 0.1
done
x xdotool search --onlyvisible --name '^information$' >/dev/null 2>&1 && fail "Esc did not close it"
kill -0 "$pid" 2>/dev/null || fail "the program ended"

# The main window takes input again.
x xdotool windowactivate --sync "$main" >/dev/null 2>&1 || true
x xdotool key --clearmodifiers F4
for _ in $(seq 30); do
    net_state "$main" | grep -q '_NET_WM_STATE_ABOVE' && break
    sleep 0.1
done
net_state "$main" | grep -q '_NET_WM_STATE_ABOVE' || fail "F4 did not reach the main window afterwards"
echo "about.sh: ok"
