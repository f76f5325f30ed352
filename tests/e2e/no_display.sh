#!/usr/bin/env bash
# Without an X display the viewer says which display it could not open, in
# one line, and exits with status 1: no abort, no core.
. "$(dirname "$0")/lib.sh"
tmp=$E2E_TMP

# A display number with no server behind it.
n=97
while [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done

check() { # NAME EXPECTED-IN-MESSAGE ENV...
    local name=$1 expected=$2 rc=0
    shift 2
    (cd "$tmp" && exec env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" timeout 20 "$VIEWER") \
        >"$tmp/out" 2>"$tmp/err" || rc=$?
    [ "$rc" -eq 1 ] || fail "$name: exit status $rc, expected 1; stderr: $(cat "$tmp/err")"
    [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$name: stderr is not one line: $(cat "$tmp/err")"
    grep -qF -- "$expected" "$tmp/err" || fail "$name: '$(cat "$tmp/err")' does not name $expected"
    echo "-- $name: $(cat "$tmp/err")"
}
check "DISPLAY unset" "DISPLAY" -u DISPLAY
check "DISPLAY=:$n, no server" "':$n'" DISPLAY=":$n"
check "Wayland desktop, no X display" "':$n'" DISPLAY=":$n" WAYLAND_DISPLAY=wayland-0 XDG_SESSION_TYPE=wayland
echo "PASS"
