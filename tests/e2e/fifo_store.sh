#!/usr/bin/env bash
# A settings store that is a FIFO: the window still opens, at its initial
# place; the save at a close from outside is refused with the runtime's
# report and leaves the FIFO as it was; the program then ends.
. "$(dirname "$0")/lib.sh"

mkdir -p "$(dirname "$STORE")"
mkfifo "$STORE"

start_viewer
[ "$(frame_pos)" = "0 0" ] || fail "started at $(frame_pos), not at the initial place"
wait_for_box # the database box: the working directory holds none
kill -TERM "$viewer_pid"

# The database box goes with the unload; the runtime's report of the refused
# save takes its place. Answer whatever box is up until the program ends.
answer_boxes() {
    viewer_gone && return 0
    local box
    box=$(find_window "$BOX_NAME")
    [ -n "$box" ] || return 1
    xdo windowactivate "$box" 2>/dev/null || true
    xdo key --window "$box" Return 2>/dev/null || true
    return 1
}
wait_until 20 answer_boxes || fail "program did not end after SIGTERM"
expect_exit
[ -p "$STORE" ] || fail "the FIFO was replaced"
echo "PASS"
