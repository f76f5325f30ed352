#!/usr/bin/env bash
# Sets up, builds, and starts the viewer in the build folder, where the
# shipped database vorlane.mdb lies (the viewer reads its working directory).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
"$top/scripts/setup.sh"
"$top/scripts/build.sh"
cd "${VORLANE_BUILD_DIR:-$top/build}/bin"
exec ./vorlane
