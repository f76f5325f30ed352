#!/usr/bin/env bash
# Runs a command on a private X display with no window manager at all.
# Usage: bare-x.sh CMD [ARGS...]
set -euo pipefail

fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fd_file" 2>/dev/null &
xvfb_pid=$!
cleanup() {
    kill "$xvfb_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -f "$fd_file"
}
trap cleanup EXIT

for _ in $(seq 200); do
    [ -s "$fd_file" ] && break
    sleep 0.05
done
[ -s "$fd_file" ] || { echo "bare-x: Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$(head -n1 "$fd_file")"
unset QT_QPA_PLATFORM WAYLAND_DISPLAY
"$@"
