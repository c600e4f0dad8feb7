#!/bin/sh
# Runs a command on an X server of its own (a free display, found by Xvfb itself), with Qt
# on the xcb platform; ends the server after. Skips (exit 0, "SKIP") without Xvfb.
command -v Xvfb >/dev/null 2>&1 || { echo "SKIP   : no Xvfb"; exit 0; }
fifo=$(mktemp -u) && mkfifo "$fifo" || exit 1
Xvfb -displayfd 3 -screen 0 1920x1080x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
server=$!
read -r display <"$fifo"
rm -f "$fifo"
DISPLAY=":$display" QT_QPA_PLATFORM=xcb "$@"
status=$?
kill "$server"
wait "$server" 2>/dev/null
exit $status
