#!/usr/bin/env bash
# Two copies of the viewer closed at the same moment (SIGTERM to both, as at
# log-off), 20 times over: the stored position is always one copy's whole
# pair, never X1 of one and Y1 of the other.
. "$(dirname "$0")/lib.sh"

copy_a= copy_b=
trap 'kill -KILL $copy_a $copy_b 2>/dev/null || true; e2e_cleanup' EXIT

seed() {
    mkdir -p "$(dirname "$STORE")"
    printf '[Form1_StrtUp]\nX1=%s\nY1=%s\n' "$1" "$2" >"$STORE"
}

# Starts a copy at the stored place X1 Y1 (twips) and waits until it stands
# there; leaves its pid in viewer_pid.
start_copy_at() {
    seed "$1" "$2"
    start_viewer
    wait_until 5 frame_is "$(($1 / 15)) $(($2 / 15))" \
        || fail "copy started at $(frame_pos), expected $(($1 / 15)) $(($2 / 15))"
}

gone() { ! kill -0 "$1" 2>/dev/null; }
expect_clean_exit() {
    wait_until 10 gone "$1" || fail "copy $1 did not exit"
    local rc=0
    wait "$1" || rc=$?
    [ "$rc" -eq 0 ] || fail "copy $1 exited with status $rc"
}

for trial in $(seq 1 20); do
    # Both coordinates differ, so that any mix shows.
    start_copy_at 1500 1200
    copy_a=$viewer_pid
    start_copy_at 4500 3000
    copy_b=$viewer_pid
    viewer_pid=
    kill -TERM "$copy_a" "$copy_b"
    expect_clean_exit "$copy_a"
    expect_clean_exit "$copy_b"
    copy_a= copy_b=
    pair="$(stored X1) $(stored Y1)"
    case $pair in
    "1500 1200" | "4500 3000") ;;
    *) fail "trial $trial stored a mixed pair: $pair" ;;
    esac
done
note "20 trials, each stored one copy's pair"
echo "PASS"
