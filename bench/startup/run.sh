#!/usr/bin/env bash
# Start-up benchmark: the viewer against three yardsticks (an empty Qt
# window, one Japanese label, and the window's content in plain Qt), in N
# interleaved rounds (default 30) on a private X display.
#   bench/startup/run.sh [N]
# Uses the build in ./build (or $VORLANE_BUILD_DIR). Every program runs in
# the folder that holds the shipped database when there is one, as a user
# runs the viewer.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${VORLANE_BUILD_DIR:-$top/build}
bin=$build/bin
rounds=${1:-30}
for f in vorlane bench_startup bench_startup_bare bench_startup_label bench_startup_content; do
    [ -x "$bin/$f" ] || { echo "missing $bin/$f: build first (scripts/build.sh)" >&2; exit 1; }
done
args=(--rounds "$rounds"
    --floor "empty window=$bin/bench_startup_bare"
    --floor "label floor=$bin/bench_startup_label"
    --floor "content floor=$bin/bench_startup_content"
    --program "viewer=$bin/vorlane")
[ -f "$bin/vorlane.mdb" ] && args+=(--workdir "$bin")
# No session bus on any side, the display's own programs included.
export DBUS_SESSION_BUS_ADDRESS=unix:path=/nonexistent/vorlane-no-session-bus
exec "$top/tests/e2e/xsession.sh" "$bin/bench_startup" "${args[@]}"
