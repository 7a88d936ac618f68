#!/usr/bin/env bash
# The editor in jalv.gtk3 (Debian's jalv) on an X display and a JACK server of
# the check's own: jalv applies a preset and embeds our editor in its window;
# the window shows our skin, the plug-in tells the editor the preset's
# program, and a pointer drag (XTest) on the ducking knob changes that port
# in jalv: with a metronome on the input, the plug-in's ducking meter lights,
# which it cannot while the ducker is off.
#
#   check_jalv_gtk.sh BUNDLE PROBE SKIN_PNG KNOB_PNG
# Exit status 77 (skipped) when jalv, jackd or Xvfb is not installed.
set -uo pipefail
bundle="$1" probe="$2" skin="$3" knob="$4"
. "$(dirname "${BASH_SOURCE[0]}")/hosts_common.sh"
need jalv.gtk3 jackd jack_lsp jack_connect jack_metro Xvfb
setup_work "$bundle"
uri="https://orvane.example/lv2/nimbrel"
program=3  # "MIX Echo Space": its ducker is off
ducking=19  # the ducking level's parameter index and port

start_jack 48000 1024
start_xvfb

start_logged "$work/metro.out" jack_metro --name metro --bpm 600 --amplitude 0.9 --duration 40
start_logged "$work/jalv.out" jalv.gtk3 --dump --print-controls --preset "$uri/preset/$(printf %03d $program)" "$uri"
jalv_pid=$last_pid

window="$("$probe" window "$skin" 60)" || { cat "$work/jalv.out"; fail "jalv.gtk3 shows no editor window"; finish; }
pass "our editor is embedded in jalv.gtk3's window ($window)"
wait_for 30 jack_connect metro:600_bpm Nimbrel:in_l || fail "cannot connect the metronome"
jack_connect metro:600_bpm Nimbrel:in_r

# The skin's pixels: the editor drew itself in the host's window.
skin_share() { share="$("$probe" skin "$window" "$skin")" && awk -v s="$share" 'BEGIN { exit !(s >= 0.5) }'; }
if wait_for 30 skin_share; then
  pass "$share of the window's pixels are the skin's"
else
  fail "only ${share:-no} share of the window's pixels are the skin's"
fi

# The editor heard which program the preset made current.
told() { grep -A3 "^## Plugin => UI" "$work/jalv.out" | grep -q "programIndex> \"$program\"^^xsd:int"; }
wait_for 30 told && pass "the plug-in told the editor program $program" \
  || fail "the editor was not told program $program"

# Sound flows (the output meter moves), and with the ducker off its meter stays dark.
output_moves() { grep -q '^meter_output = [1-9]' "$work/jalv.out"; }
wait_for 30 output_moves && pass "the metronome reaches the plug-in" || fail "the output meter never moved"
sleep 1
grep -q '^meter_duck = [1-9]' "$work/jalv.out" && fail "the ducking meter lit before the drag"

# Drag the ducking knob up: the editor writes the port, jalv's plug-in ducks.
before=$(stat -c %s "$work/jalv.out")
"$probe" drag "$window" "$ducking" "$knob" -120 || fail "the drag could not be made"
ducks() { tail -c +"$((before + 1))" "$work/jalv.out" | grep -q '^meter_duck = [1-9]'; }
wait_for 30 ducks && pass "dragging the ducking knob changed the port in jalv: the ducking meter lights" \
  || fail "the ducking meter stayed dark after the drag"

kill "$jalv_pid" 2> /dev/null
finish
