#!/usr/bin/env bash
# Runs a command inside a private Xvfb server, on a display number the server
# picks itself (so parallel tests never collide), and always stops it again.
# TG_SCREEN (default 1024x768) sets the size of its screen.
set -u
fifo_dir=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 "${TG_SCREEN:-1024x768}x24" -nolisten tcp -noreset 3>"$fifo_dir/display" >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $xvfb_pid 2>/dev/null; wait $xvfb_pid 2>/dev/null; rm -rf "$fifo_dir"' EXIT
for _ in $(seq 100); do
  [ -s "$fifo_dir/display" ] && break
  sleep 0.05
done
display=$(tr -d '\n' < "$fifo_dir/display")
[ -n "$display" ] || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
DISPLAY=":$display" "$@"
