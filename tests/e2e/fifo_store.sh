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
db_box=$(find_window "$BOX_NAME")
kill -TERM "$viewer_pid"

# The refused save is the runtime's report: a box of its own, and the
# program ends once it is answered.
other_box() {
    xdo search --all --onlyvisible --pid "$viewer_pid" --name "$BOX_NAME" 2>/dev/null \
        | grep -vx "$db_box" | head -n1
}
report_up() { [ -n "$(other_box)" ]; }
wait_until 10 report_up || fail "no report of the refused save"
report=$(other_box)
xdo windowactivate "$report" 2>/dev/null || true
wait_until 5 active_is "$report" || fail "report did not get the focus"
xdo key Return
expect_exit
[ -p "$STORE" ] || fail "the FIFO was replaced"
echo "PASS"
