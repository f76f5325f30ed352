#!/usr/bin/env bash
# Takes the README's screenshots of the three pages on the shipped database,
# at M10 and at M130, on a private X display. Usage: docs/screenshots.sh [BUILD_DIR]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$top/build}" && pwd)

if [ -z "${VORLANE_IN_XSESSION:-}" ]; then
    VORLANE_IN_XSESSION=1 exec "$top/tests/e2e/xsession.sh" "$0" "$build"
fi

work=$(mktemp -d)
trap 'kill "${pid:-}" 2>/dev/null || true; rm -rf "$work"' EXIT
cp "$build/bin/vorlane.mdb" "$work/"
export XDG_CONFIG_HOME="$work/config"
cd "$work"
"$build/bin/vorlane" >/dev/null 2>&1 &
pid=$!

win=""
for _ in $(seq 100); do
    win=$(timeout 2 xdotool search --onlyvisible --name 'Kantrell' 2>/dev/null | head -n1 || true)
    [ -n "$win" ] && break
    sleep 0.1
done
[ -n "$win" ] || { echo "screenshots: the window did not appear" >&2; exit 1; }
sleep 0.5

# Everything below the menu bar is 374 px high; the menu bar is the rest.
height=$(timeout 2 xdotool getwindowgeometry "$win" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
menu=$((height - 374))
click() { timeout 2 xdotool mousemove --window "$win" "$1" "$(($2 + menu))" click 1; sleep 0.15; }
tab() { click $((93 + 186 * $1)) 10; }
next() { click 522 336; }
last() { click 540 336; }
shot() { sleep 0.3; import -window "$win" "$top/docs/$1.png"; }

for _ in $(seq 8); do next; done # M3 .. M10
for t in 0 1 2; do tab "$t"; shot "page$t-M10"; done
last
for t in 0 1 2; do tab "$t"; shot "page$t-M130"; done
echo "screenshots written to docs/"
