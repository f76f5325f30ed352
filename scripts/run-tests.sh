#!/usr/bin/env bash
# Sets up, builds, and runs every test.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
build=${VORLANE_BUILD_DIR:-$top/build}
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
