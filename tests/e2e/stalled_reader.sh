#!/usr/bin/env bash
# A reader that stops itself (SIGSTOP) before it answers: the window still
# paints and moves, a close from outside unloads it (the position is
# saved) and the reader is ended with it.
. "$(dirname "$0")/lib.sh"

# A copy of the viewer finds the reader beside it first.
mkdir -p "$E2E_TMP/bin"
cp "$VIEWER" "$E2E_TMP/bin/vorlane"
VIEWER=$E2E_TMP/bin/vorlane
reader_pid_file=$E2E_TMP/reader.pid
cat >"$E2E_TMP/bin/vorlane-jetread" <<SCRIPT
#!/bin/sh
echo \$\$ >"$reader_pid_file"
kill -STOP \$\$
SCRIPT
chmod +x "$E2E_TMP/bin/vorlane-jetread"
: >"$WORK/vorlane.mdb"

reader_stopped() {
    [ -s "$reader_pid_file" ] && [ "$(awk '{print $3}' "/proc/$(cat "$reader_pid_file")/stat" 2>/dev/null)" = T ]
}
# More than one colour: the window has painted (a window that never
# painted shows its black ground alone).
painted() {
    local colours
    colours=$(timeout 5 import -silent -window "$main_win" -format '%k' info: 2>/dev/null) || return 1
    [ "${colours:-1}" -gt 1 ]
}

start_viewer
wait_until 10 reader_stopped || fail "the reader did not start and stop"
reader_pid=$(cat "$reader_pid_file")
wait_until 10 painted || fail "the window did not paint"
# Painted before the time limit ended the reader, not after.
reader_stopped || fail "the window painted only once the reader was gone"
move_main 260 180
moved=$(frame_pos)
read -r fx fy <<<"$moved"
note "moved to $moved with the reader stopped; closing through the window manager"
timeout 5 wmctrl -i -c "$main_win" || fail "wmctrl close"
expect_exit 4
[ "$(stored X1)" = "$((fx * 15))" ] || fail "X1 is '$(stored X1)', expected $((fx * 15))"
[ "$(stored Y1)" = "$((fy * 15))" ] || fail "Y1 is '$(stored Y1)', expected $((fy * 15))"
[ ! -e "/proc/$reader_pid" ] || fail "the reader $reader_pid outlived the viewer"
echo "PASS"
