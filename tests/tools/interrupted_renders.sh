#!/bin/sh
# A render stopped by a signal leaves nothing behind: neither its temporary
# file nor a half-written output, for a single render and for a batch.
#   interrupted_renders.sh NIMBREL
set -eu
. "$(dirname "$0")/common.sh"
ulimit -c 0

# Waits (up to 30 s) until a file matching the pattern exists.
await() {
    tries=0
    while ! ls $1 > /dev/null 2>&1; do
        tries=$((tries + 1))
        [ "$tries" -lt 600 ] || failed "no $1 appeared"
        sleep 0.05
    done
}

# A non-interactive shell starts background jobs with interrupt and quit
# ignored; env gives them the default back, as a terminal would.
for signal in TERM HUP INT QUIT; do
    env --default-signal "$nimbrel" render --demo "out-$signal.wav" --tail 600 --block 64 --quiet &
    pid=$!
    await "out-$signal.wav.partial-$pid"
    kill -s "$signal" "$pid"
    status=0
    wait "$pid" || status=$?
    [ "$status" -gt 128 ] || failed "SIG$signal: the render ended with status $status, not by the signal"
    [ ! -e "out-$signal.wav.partial-$pid" ] || failed "SIG$signal left the temporary file"
    [ ! -e "out-$signal.wav" ] || failed "SIG$signal left an output"
done

# A batch passes the signal on to its workers, which clean up after themselves.
"$nimbrel" render --demo in1.wav --tail 0 --quiet
cp in1.wav in2.wav
env --default-signal "$nimbrel" render in1.wav in2.wav --out-dir wet --tail 600 --block 64 --jobs 2 --quiet &
pid=$!
await "wet/in1.wav.partial-*"
await "wet/in2.wav.partial-*"
kill -s TERM "$pid"
status=0
wait "$pid" || status=$?
[ "$status" -gt 128 ] || failed "the batch ended with status $status, not by the signal"
# The workers may take a moment to go after their parent.
tries=0
while ls wet/*.partial-* > /dev/null 2>&1; do
    tries=$((tries + 1))
    [ "$tries" -lt 200 ] || failed "the batch's workers left $(ls wet)"
    sleep 0.05
done
[ -z "$(ls wet)" ] || failed "the stopped batch left $(ls wet)"
echo "interrupted renders: ok"
