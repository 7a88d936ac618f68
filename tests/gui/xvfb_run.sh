#!/bin/sh
# Runs a test program on a private virtual X display: starts Xvfb on a free
# display number (Xvfb picks it and reports it), runs the program with
# DISPLAY set, stops Xvfb, and returns the program's status.
# Exits 77 (skipped) when Xvfb is not installed. The screen is 1280x1024 at
# 24 bits unless NIMBREL_XVFB_SCREEN gives another (WIDTHxHEIGHTxDEPTH).
screen=${NIMBREL_XVFB_SCREEN:-1280x1024x24}
set -u
if ! command -v Xvfb >/dev/null 2>&1; then
  echo "Xvfb is not installed: X11 test skipped"
  exit 77
fi
numfile=$(mktemp)
Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp -noreset 3>"$numfile" 2>/dev/null &
xpid=$!
i=0
while [ ! -s "$numfile" ] && [ $i -lt 100 ]; do
  sleep 0.1
  i=$((i + 1))
done
if [ ! -s "$numfile" ]; then
  echo "Xvfb did not start"
  kill "$xpid" 2>/dev/null
  rm -f "$numfile"
  exit 1
fi
display=":$(head -n 1 "$numfile")"
rm -f "$numfile"
DISPLAY="$display" "$@"
rc=$?
kill "$xpid" 2>/dev/null
wait "$xpid" 2>/dev/null
exit $rc
