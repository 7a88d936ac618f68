#!/bin/sh
# The progress bar in a narrow terminal: every redraw fits the width and
# returns to the start of its line, so it never wraps into many lines.
#   progress_bar.sh NIMBREL
set -eu
. "$(dirname "$0")/common.sh"

for columns in 30 12 80; do
    # script(1) gives the render a terminal of its own, `columns` wide.
    script -qec "stty cols $columns rows 20; '$nimbrel' render --demo out.wav --tail 0.2" /dev/null > screen.txt \
        || failed "the render in a terminal failed: $(cat screen.txt)"
    # Each redraw starts with a carriage return; erase-to-end codes take no room.
    tr '\r' '\n' < screen.txt | sed 's/\x1b\[K//g' | grep '%$' > bars.txt || failed "no progress shown"
    [ "$(wc -l < bars.txt)" -ge 10 ] || failed "$columns columns: only $(wc -l < bars.txt) redraws"
    longest="$(awk '{ if (length($0) > n) n = length($0) } END { print n }' bars.txt)"
    [ "$longest" -lt "$columns" ] || failed "$columns columns: a bar of $longest characters: $(tail -1 bars.txt)"
    tail -1 bars.txt | grep -q "100%$" || failed "$columns columns: the bar did not reach 100%"
    # Redrawn in place: the bars share one line, which ends once, after the last.
    [ "$(tr -cd '\r' < screen.txt | wc -c)" -ge 10 ] || failed "$columns columns: not redrawn in place"
done
echo "progress bar: ok"
