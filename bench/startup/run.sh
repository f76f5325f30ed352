#!/usr/bin/env bash
# Start-up benchmark: the viewer against a bare Qt window, N runs each
# (default 15) on a private X display; prints the medians and their ratio.
#   bench/startup/run.sh [N]
# Uses the build in ./build (or $VORLANE_BUILD_DIR). The viewer runs in the
# folder that holds the shipped database when there is one, as a user runs it.
set -euo pipefail
top=$(cd "$(dirname "$0")/../.." && pwd)
build=${VORLANE_BUILD_DIR:-$top/build}
bin=$build/bin
runs=${1:-15}
for f in vorlane bench_startup bench_startup_bare; do
    [ -x "$bin/$f" ] || { echo "missing $bin/$f: build first (scripts/build.sh)" >&2; exit 1; }
done
args=(--viewer "$bin/vorlane" --bare "$bin/bench_startup_bare" --runs "$runs")
[ -f "$bin/vorlane.mdb" ] && args+=(--workdir "$bin")
exec "$top/tests/e2e/xsession.sh" "$bin/bench_startup" "${args[@]}"
