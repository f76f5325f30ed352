#!/usr/bin/env bash
# A reader that stops itself (SIGSTOP) before it answers: the window still
# paints, a close from outside unloads it (the position is saved) and the
# reader is ended with it.
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
# Painted before the time limit ended the reader, not after; the close
# comes while the reader is still stopped (the time limit's box would hold
# the main window as any modal box does).
reader_stopped || fail "the window painted only once the reader was gone (or the start took 5 s)"
at=$(frame_pos)
note "painted at $at with the reader stopped; closing through the window manager"
timeout 5 wmctrl -i -c "$main_win" || fail "wmctrl close"
wait_until 10 viewer_gone || fail "viewer did not exit$(have_window "$BOX_NAME" && echo ": the time limit's box came first")"
expect_exit
expect_stored "$at" "after the close during the read"
[ ! -e "/proc/$reader_pid" ] || fail "the reader $reader_pid outlived the viewer"
echo "PASS"
