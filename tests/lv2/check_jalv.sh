#!/usr/bin/env bash
# The bundle in jalv (Debian's jalv, console), on a JACK server of the
# check's own (dummy back end): it loads the plug-in, lists the 180 presets,
# applies one, and reports the preset's values; a control set by symbol
# reads back.
#
#   check_jalv.sh BUNDLE NIMBREL VST_PLUGIN
# Exit status 77 (skipped) when jalv or jackd is not installed.
set -uo pipefail
bundle="$1" nimbrel="$2" vst="$3"
. "$(dirname "${BASH_SOURCE[0]}")/hosts_common.sh"
need jalv jackd jack_lsp
setup_work "$bundle"
uri="https://orvane.example/lv2/nimbrel"
program=42

start_jack 48000 1024

# jalv reads its commands from standard input: a pipe that this script holds
# open (read and write, so that opening it waits for nobody).
mkfifo "$work/commands"
exec 3<> "$work/commands"
# Its output goes to a file: unbuffered, so that each answer can be awaited.
stdbuf -o0 jalv "$uri" < "$work/commands" > "$work/jalv.out" 2>&1 &
jalv_pid=$!
started_pids+=("$jalv_pid")
say() { printf '%s\n' "$*" >&3; }
# The output since byte $1.
since() { tail -c +"$(($1 + 1))" "$work/jalv.out"; }
mark() { stat -c %s "$work/jalv.out"; }
control_lines() { since "$1" | grep -cE '^(> )?[A-Za-z0-9_]+ = -?[0-9]'; }

wait_for 30 grep -q "^Block length:" "$work/jalv.out" || { cat "$work/jalv.out"; fail "jalv did not start"; finish; }
wait_for 30 grep -q "^StepR16 = " "$work/jalv.out" || { cat "$work/jalv.out"; fail "jalv did not list the controls"; finish; }
pass "jalv loaded the plug-in"

at=$(mark)
say presets
presets_listed() { [ "$(since "$at" | grep -c "^\(> \)\?$uri/preset/[0-9]\{3\} (")" -eq 180 ]; }
if wait_for 30 presets_listed; then
  pass "jalv lists 180 presets"
else
  fail "jalv lists $(since "$at" | grep -c "$uri/preset/") presets, not 180"
fi
name="$(since "$at" | sed -n "s|^\(> \)\?$uri/preset/$(printf %03d $program) (\(.*\))$|\2|p")"

# Apply one, then ask for the controls.
say "preset $uri/preset/$(printf %03d $program)"
at=$(mark)
say controls
all_controls() { [ "$(control_lines "$at")" -ge 63 ]; }
wait_for 30 all_controls || { since "$at"; fail "jalv did not report the controls after the preset"; finish; }
since "$at" | sed 's/^> //' | grep -E '^[A-Za-z0-9_]+ = ' > "$work/controls.txt"

# Every named parameter as the VST 2 plug-in reports the same program (4 decimals there).
NIMBREL_PLUGIN="$vst" "$nimbrel" info --program "$program" --quiet > "$work/info.txt" 2>&1
grep -q "(program $program, \"$name\")" "$work/info.txt" && pass "preset $program is \"$name\"" \
  || fail "jalv names preset $program \"$name\": $(grep '^68 parameters' "$work/info.txt")"
mismatches=0 compared=0
while read -r index short rest; do
  value="${rest##* }"
  got="$(sed -n "s/^$short = //p" "$work/controls.txt" | tail -1)"
  [ -n "$got" ] || continue
  compared=$((compared + 1))
  if ! awk -v a="$got" -v b="$value" 'BEGIN { d = a - b; exit !(d < 0.00006 && d > -0.00006) }'; then
    mismatches=$((mismatches + 1))
    echo "  $short: jalv $got, program $value"
  fi
done < <(grep -E '^ +[0-9]+ +[A-Za-z0-9]+ ' "$work/info.txt")
[ "$compared" -ge 63 ] && [ "$mismatches" -eq 0 ] \
  && pass "jalv reports all $compared values of \"$name\"" \
  || fail "$mismatches of $compared values differ from program $program"

# A control set by its symbol reads back.
at=$(mark)
say "set RSize 0.8125"
say controls
set_back() { since "$at" | grep -q '^\(> \)\?RSize = 0.812500'; }
wait_for 30 set_back && pass "set RSize 0.8125 reads back" || fail "RSize did not read back: $(since "$at" | grep RSize)"

exec 3>&-
kill "$jalv_pid" 2> /dev/null
grep -qi "error" "$work/jalv.out" && fail "jalv reported errors: $(grep -i error "$work/jalv.out")"
finish
