#!/usr/bin/env bash
# Runs a command on a private X display: Xvfb plus openbox (synthetic keys
# only reach a window under a window manager). With --bare, no window
# manager at all. Usage: xsession.sh [--bare] CMD [ARGS...]
set -euo pipefail

bare=""
if [ "${1:-}" = "--bare" ]; then
    bare=1
    shift
fi

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    [ -n "${wm_pid:-}" ] && kill "$wm_pid" 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$fd_file"
}
trap cleanup EXIT

for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.05
done
[ -s "$fd_file" ] || { echo "xsession: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY

# The window manager owns _NET_SUPPORTING_WM_CHECK once it is up. Under load
# it can take a while; should it die on the way, it is started once more.
if [ -n "$bare" ]; then
    "$@"
    exit
fi

start_wm() {
    openbox --sm-disable >/dev/null 2>&1 &
    wm_pid=$!
}
start_wm
restarted=""
deadline=$((SECONDS + 30))
until timeout 2 xprop -root _NET_SUPPORTING_WM_CHECK 2>/dev/null | grep -q 'window id'; do
    if ! kill -0 "$wm_pid" 2>/dev/null && [ -z "$restarted" ]; then
        restarted=1
        start_wm
    fi
    [ "$SECONDS" -lt "$deadline" ] || { echo "xsession: the window manager did not start" >&2; exit 1; }
    sleep 0.05
done

"$@"
