#!/usr/bin/env bash
# Builds the libFuzzer target with clang in its own build folder and runs
# it for a bounded time over seeds cut from the shared Access files (the
# shipped database where that folder is missing).
#   fuzz/run.sh [SECONDS]      (default 60)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
seconds=${1:-60}
build=${VORLANE_FUZZ_BUILD_DIR:-$top/build-fuzz}
shared=${VORLANE_SHARED_DIR:-$top/../shared}

cmake -S "$top" -B "$build" -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORLANE_FUZZ=ON >/dev/null
cmake --build "$build" --target fuzz_jetopen -j "${VORLANE_JOBS:-4}"

# Seeds: the small files whole, the first pages of the larger ones (the
# catalog and the first tables lie there), all in the build folder.
seeds=$build/fuzz-seeds
corpus=$build/fuzz-corpus
mkdir -p "$seeds" "$corpus" "$build/fuzz-findings"
access=$shared/testdata/access
if [ -d "$access" ]; then
    files=("$access"/*.mdb "$access"/*.accdb)
else
    echo "fuzz: no folder $access; seeding from the shipped database alone" >&2
    cmake --build "$build" --target vorlane_database
    files=("$build/bin/vorlane.mdb")
fi
for f in "${files[@]}"; do
    name=$(basename "$f")
    head -c $((48 * 4096)) "$f" >"$seeds/$name"
done

cd "$build/fuzz-findings"
# Reading stays in the time and memory limits the reader process has.
exec "$build/bin/fuzz_jetopen" "$corpus" "$seeds" \
    -max_total_time="$seconds" -max_len=$((192 * 1024)) -timeout=10 -rss_limit_mb=1024 \
    -malloc_limit_mb=512 -close_fd_mask=3 -print_final_stats=1 \
    -jobs="${VORLANE_FUZZ_JOBS:-1}" -workers="${VORLANE_FUZZ_JOBS:-1}"
