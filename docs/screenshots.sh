#!/usr/bin/env bash
# The README's screenshots of the three pages on the shipped database, at
# M130 and at M10, on a private X display.
#   docs/screenshots.sh [BUILD_DIR]          writes docs/page*.png
#   docs/screenshots.sh --check [BUILD_DIR]  compares the running viewer with
#       docs/page*.png pixel for pixel; fails on the first that differs
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
check=""
if [ "${1:-}" = "--check" ]; then
    check=1
    shift
fi
build=$(cd "${1:-$top/build}" && pwd)

if [ -z "${VORLANE_IN_XSESSION:-}" ]; then
    VORLANE_IN_XSESSION=1 exec "$top/tests/e2e/xsession.sh" "$0" ${check:+--check} "$build"
fi

work=$(mktemp -d)
# The viewer saves its position as it goes: let it finish before its
# settings folder is removed.
trap '[ -n "${pid:-}" ] && { kill "$pid" 2>/dev/null; wait "$pid" 2>/dev/null; }; rm -rf "$work"' EXIT
cp "$build/bin/vorlane.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/vorlane-no-session-bus
cd "$work"
"$build/bin/vorlane" >/dev/null 2>&1 &
pid=$!

# shellcheck source=../tests/e2e/wait.sh
source "$top/tests/e2e/wait.sh"

win=""
find_main() { win=$(xdo search --onlyvisible --pid "$pid" --name '^Kantrell' 2>/dev/null | head -n1); [ -n "$win" ]; }
wait_until 20 find_main || { echo "screenshots: the window did not appear" >&2; exit 1; }

capture() { timeout 10 import -window "$win" "$1"; }
same() { [ "$(compare -metric AE "$1" "$2" null: 2>&1 || true)" = "0" ]; }
# The window stays the same over two captures 100 ms apart.
settled() {
    capture "$work/a.png" && sleep 0.1 && capture "$work/b.png" && same "$work/a.png" "$work/b.png"
}
matches() { capture "$work/now.png" && same "$work/now.png" "$top/docs/$1.png"; }

# shot NAME [ACTION]: with --check, waits until the window shows docs/NAME.png,
# repeating ACTION (which must be idempotent) while it does not; else waits
# until the window settles and writes docs/NAME.png.
shot() {
    if [ -n "$check" ]; then
        local again=${2:-true}
        if ! wait_until 20 eval "matches $1 || { $again; false; }"; then
            echo "screenshots: $1 differs from docs/$1.png in" \
                "$(compare -metric AE "$work/now.png" "$top/docs/$1.png" null: 2>&1 || true) pixels" >&2
            cp "$work/now.png" "${TMPDIR:-/tmp}/vorlane-$1-now.png" || true
            exit 1
        fi
        echo "$1: unchanged"
    else
        wait_until 20 settled || { echo "screenshots: $1 did not settle" >&2; exit 1; }
        cp "$work/b.png" "$top/docs/$1.png"
    fi
}

# Everything below the menu bar is 374 px high; the menu bar is the rest.
height=$(xdo getwindowgeometry "$win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
menu=$((height - 374))
click() { xdo mousemove --window "$win" "$1" "$(($2 + menu))" click 1; }
tab() { click $((93 + 186 * $1)) 10; }
first() { click 365 336; }
next() { click 522 336; }
last() { click 540 336; }

# The table opens after the window shows: with --check, "last" is clicked
# until page 0 shows M130; else the window is left to settle first.
[ -n "$check" ] || wait_until 20 settled
last
tab 0
shot page0-M130 "last; tab 0"
for t in 1 2; do
    tab "$t"
    shot "page$t-M130"
done
first
for _ in $(seq 8); do next; done # M3 .. M10
for t in 0 1 2; do
    tab "$t"
    shot "page$t-M10"
done
[ -n "$check" ] || echo "screenshots written to docs/"
