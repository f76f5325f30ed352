#!/usr/bin/env bash
# Esc (and Enter, while the hidden Cancel button has the focus) ends the
# viewer at once: the store keeps the place of the last unload, and the next
# start opens there, not where the window stood at the key.
. "$(dirname "$0")/lib.sh"

mkdir -p "$(dirname "$STORE")"
printf '[Form1_StrtUp]\nX1=1500\nY1=3000\n' >"$STORE"
cp "$STORE" "$E2E_TMP/store.before"
home="100 200"

for key in Escape Return space; do
    note "start, move, $key"
    start_viewer
    wait_until 5 frame_is "$home" || fail "start at $(frame_pos), expected $home"
    dismiss_box
    move_main 500 400
    activate_main
    xdo key "$key"
    expect_exit 5
    cmp -s "$STORE" "$E2E_TMP/store.before" || fail "the store changed after $key"
done

note "the next start opens at the stored place"
start_viewer
wait_until 5 frame_is "$home" || fail "start at $(frame_pos), expected $home"
dismiss_box
activate_main
xdo key Escape
expect_exit 5
echo "PASS"
