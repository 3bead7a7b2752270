#!/usr/bin/env bash
# Runs a command with an X display: the current one if it answers, else a private Xvfb on a
# free display number, stopped when the command ends. -noreset: without it the server resets
# whenever its last client disconnects, and a client connecting at that moment fails.
set -u
if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then
  exec "$@"
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
Xvfb -displayfd 4 -screen 0 1024x768x24 -nolisten tcp -noreset 4>"$fifo" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null; rm -f "$fifo"' EXIT
if ! read -r -t 20 number <"$fifo"; then
  echo "error: Xvfb did not start" >&2
  exit 1
fi
export DISPLAY=":$number"
"$@"
