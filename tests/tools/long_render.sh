#!/bin/sh
# A long render streams: its output grows on disk while it runs, and its
# memory stays a few blocks whatever the tail asks (600 s at 768 kHz would be
# 3.7 GB held at once). The render is stopped once it has shown that.
#   long_render.sh NIMBREL
set -eu
. "$(dirname "$0")/common.sh"

"$nimbrel" render --demo long.wav --rate 768000 --tail 600 --quiet &
pid=$!
# Up to two minutes for the first 400 MB of output to reach the disk.
tries=0
size=0
while [ "$size" -lt 400000000 ]; do
    tries=$((tries + 1))
    [ "$tries" -lt 1200 ] || { kill "$pid"; failed "the output did not grow on disk while rendering ($size bytes)"; }
    kill -0 "$pid" 2> /dev/null || failed "the render ended early"
    sleep 0.1
    size="$(stat -c %s "long.wav.partial-$pid" 2> /dev/null || echo 0)"
done
peak="$(sed -n 's/^VmHWM:[^0-9]*\([0-9]*\) kB/\1/p' "/proc/$pid/status")"
kill "$pid"
wait "$pid" || true
echo "peak resident memory ${peak} kB with $size bytes written"
[ "$peak" -lt 300000 ] || failed "the render held $peak kB while writing $size bytes"
[ ! -e "long.wav.partial-$pid" ] && [ ! -e long.wav ] || failed "the stopped render left a file"
echo "long render: ok"
