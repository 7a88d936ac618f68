#!/usr/bin/env bash
# The plug-in in a real host: Debian's Ardour 7 scans it, keeps it in a session across a
# save and a reload, and renders through it the same samples as the command-line host.
#
# Usage: check.sh CHECK WORK PLUGIN WAVTOOL [NIMBREL [VST_PLUGIN]]
#   CHECK: scan | passthrough | session | tempo | lv2-session | lv2-tempo
#   (session makes, reloads and bounces one session, then checks the reload and the bounce;
#   the lv2 checks do the same with the LV2 bundle as PLUGIN, and render the command line's
#   side through VST_PLUGIN)
#   Each check keeps its files in WORK/CHECK, so checks never read each other's files.
# Exit status 77 (skipped) when Ardour is not installed.
set -uo pipefail

check="$1" work="$2" plugin="$3" wavtool="$4" nimbrel="${5:-}" vst="${6:-}"
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
runner="$here/../../scripts/run-in-ardour"

if ! ardour="$("$runner" --which-ardour)"; then
  echo "SKIP: Ardour is not installed (scripts/setup.sh --tests installs it)"
  exit 77
fi
ardour_version="${ardour%% *}"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }; exit 0; }

# The session: a factory program by name, then parameter changes, among them the ducker (a
# per-sample control) and the multitap's time (tempo-synced). No gate: it would silence the
# tails, and with them most of what there is to compare.
program="MIX Echo Space"
params=(--param RSize=0.7 --param MFeedba=0.625 --param MTime=0.3 --param DLevel=0.3
        --param Mix=0.55)
tail_seconds=1.5
rate=48000

work="$work/$check"
rm -rf "$work"
mkdir -p "$work"
session_dir="$work/session"
# Each check keeps the plug-in's trace log to itself: checks may run side by side, and
# each new instance starts the log afresh.
export NIMBREL_DATA_DIR="$work/data"

# The lv2 checks are the session and tempo checks with the LV2 bundle in Ardour; the
# command line renders their other side through the VST 2 plug-in.
format=(--plugin "$plugin") cli_plugin="$plugin" lv2=0
case "$check" in
lv2-*)
  format=(--lv2 --plugin "$plugin") cli_plugin="$vst" lv2=1
  check="${check#lv2-}"
  ;;
esac

case "$check" in
scan)
  # Ardour's scanner asks for the sample rate and block size and gets 0, then suspends and
  # closes the plug-in without resuming it: the plug-in must come out of that whole.
  dir="$work/scan"
  "$runner" --scan-only --plugin "$plugin" --work "$dir" --quiet
  status=$?
  [ "$status" -eq 0 ] || fail "run-in-ardour --scan-only ended with $status"
  grep -q "Found Plugin: .* Nimbrel" "$dir/scan.log" && pass "the scanner found Nimbrel" \
    || fail "the scanner did not report Nimbrel: $(cat "$dir/scan.log")"
  info="$(cat "$dir"/home/.cache/ardour$ardour_version/vst/*.v2i 2>/dev/null)"
  expect_attr() {
    if grep -q "$1=\"$2\"" <<<"$info"; then pass "$1 is $2"; else fail "$1 is not $2 in: $info"; fi
  }
  expect_attr name Nimbrel
  expect_attr creator orvane.example
  expect_attr category Effect
  expect_attr n_inputs 2
  expect_attr n_outputs 2
  expect_attr has_editor 1
  expect_attr is_instrument 0
  expect_attr can_process_replace 1
  # 'OvRV' packed first character highest: 0x4F765256.
  expect_attr id 1333154390
  log="$NIMBREL_DATA_DIR/NimbrelLog.txt"
  if grep -q "OvAudio::OvAudio end" "$log" 2>/dev/null && grep -q "OvAudio::~OvAudio end" "$log"; then
    pass "the scanner's instance was built and destroyed whole"
  else
    fail "the trace log does not show the scanner's instance built and destroyed: $(cat "$log" 2>/dev/null)"
  fi
  # The check of the check: a library that is no plug-in is turned down.
  "$runner" --scan-only --plugin "$wavtool" --work "$work/scan-not-a-plugin" --quiet >/dev/null 2>&1
  status=$?
  [ "$status" -eq 2 ] && pass "a file that is no plug-in is rejected" \
    || fail "scanning a file that is no plug-in gave status $status, not 2"
  finish
  ;;

passthrough)
  # The same session without the plug-in must give back the input exactly; otherwise a
  # difference below could be Ardour's own doing (fades, gain, conversions).
  "$wavtool" signal "$work/input-pass.wav" "$rate" 1.5 || { echo "cannot make the input"; exit 1; }
  "$runner" --no-plugin --tail 0 --work "$work/passthrough" --quiet "$work/input-pass.wav" "$work/passthrough.wav" \
    || fail "run-in-ardour --no-plugin failed"
  "$wavtool" compare "$work/input-pass.wav" "$work/passthrough.wav" && pass "Ardour without the plug-in returns the input bit for bit" \
    || fail "Ardour without the plug-in changes the input"
  finish
  ;;

session)
  "$wavtool" signal "$work/input.wav" "$rate" 1.5 || { echo "cannot make the input"; exit 1; }
  rm -f "$work/ardour.wav"
  "$runner" "${format[@]}" --program "$program" "${params[@]}" --tail "$tail_seconds" \
    --work "$session_dir" --quiet "$work/input.wav" "$work/ardour.wav" \
    && pass "Ardour made, saved, reloaded and bounced the session" \
    || fail "run-in-ardour failed"
  [ -s "$work/ardour.wav" ] || { fail "no bounce written"; finish; }

  # What the reload kept.
  before="$session_dir/values-before.txt" after="$session_dir/values-after.txt"
  [ -s "$before" ] && [ -s "$after" ] || { fail "no values from the session run"; finish; }
  # Ardour shows a VST program as "<index> - <name>" when loaded and by its stored name
  # after a reload, an LV2 preset by its name; the parameters must be the same to the last
  # bit. Each line is "index label value", the label Ardour's (the LV2 port's long name).
  if diff <(grep -v '^preset ' "$before") <(grep -v '^preset ' "$after") >/dev/null; then
    pass "all $(grep -vc '^preset ' "$after") parameters read back the same after save and reload"
  else
    fail "parameters changed across save and reload:"
    diff <(grep -v '^preset ' "$before") <(grep -v '^preset ' "$after")
  fi
  [ "$(grep -vc '^preset ' "$after")" -eq 68 ] || fail "not 68 parameters in: $(cat "$after")"
  presets="$session_dir/presets.txt"
  [ "$(wc -l < "$presets")" -eq 180 ] && pass "Ardour offers 180 presets" \
    || fail "Ardour offers $(wc -l < "$presets") presets, not 180"
  loaded="3 - $program"
  [ "$lv2" -eq 0 ] || loaded="$program"
  grep -qx "preset $loaded" "$before" && grep -qx "preset $program" "$after" \
    && pass "the program is still \"$program\" after the reload" \
    || fail "program before/after: $(grep '^preset' "$before") / $(grep '^preset' "$after")"
  # Each changed value as the plug-in holds it (the nearest 32-bit float, 9 digits).
  for expected in "0 0.550000012" "6 0.699999988" "23 0.625" "22 0.300000012" "19 0.300000012"; do
    grep -qE "^${expected% *} .* ${expected#* }$" "$after" && pass "reloaded: parameter $expected" \
      || fail "after the reload, parameter ${expected% *} is not ${expected#* }: $(grep "^${expected% *} " "$after")"
  done
  # A value the program sets and no --param touched: program 3's multitap mix, not the init value.
  grep -q "^21 " "$after" && ! grep -qE "^21 .* 1$" "$after" && pass "program values are in place" \
    || fail "MMix does not show the program's value: $(grep '^21 ' "$after")"
  if [ "$lv2" -eq 0 ]; then
    # The session file holds one value per parameter (no chunk).
    grep -q '<parameters param-0="0.55000001192092896"' "$session_dir/session/nimbrel.ardour" \
      && pass "the session stores the values as parameters" || fail "the session file does not hold param-0 = 0.55"
  else
    # The plug-in's state as the reload left it (saved as the snapshot "reloaded") still
    # holds the program: its number and name.
    state_dir="$(sed -n 's/.*<lv2 [^>]*state-dir="\([^"]*\)".*/\1/p' "$session_dir/session/reloaded.ardour" | head -1)"
    state="$(ls "$session_dir"/session/plugins/*/"$state_dir"/state.ttl 2> /dev/null | head -1)"
    if [ -n "$state" ] && grep -q 'nimbrel#programIndex> "3"^^xsd:int' "$state" \
        && grep -q "nimbrel#programName> \"$program\"" "$state"; then
      pass "the reloaded plug-in's state holds program 3, \"$program\""
    else
      fail "the reloaded plug-in's state does not hold the program: $(cat "$state" 2> /dev/null)"
    fi
  fi

  # What the bounce holds.
  # Ardour bounces in blocks of 8192 frames; the render must not depend on the block size,
  # so the command line renders with its own default and must still match.
  NIMBREL_PLUGIN="$cli_plugin" "$nimbrel" render "$work/input.wav" "$work/cli.wav" --program "$program" \
    "${params[@]}" --tail "$tail_seconds" --format float --quiet || { fail "nimbrel render failed"; finish; }
  "$wavtool" compare "$work/ardour.wav" "$work/cli.wav" \
    && pass "Ardour's bounce equals nimbrel render bit for bit" \
    || fail "Ardour's bounce differs from nimbrel render"
  # The check of the check: the plug-in really changed the sound.
  if "$wavtool" compare "$work/input.wav" "$work/ardour.wav" --prefix >/dev/null; then
    fail "the bounce equals the input: the plug-in did nothing"
  else
    pass "the bounce is not the input"
  fi
  finish
  ;;

tempo)
  # The delay's time follows the host's tempo: a session at 90 BPM must match the command
  # line at 90 BPM and differ from it at 120.
  "$wavtool" signal "$work/input-tempo.wav" 44100 1.0 || { echo "cannot make the input"; exit 1; }
  tempo_params=(--param MTime=0.3 --param MFeedba=0.5)
  "$runner" "${format[@]}" --program 17 "${tempo_params[@]}" --tempo 90 --tail 1 \
    --work "$work/tempo" --quiet "$work/input-tempo.wav" "$work/ardour-90.wav" || { fail "run-in-ardour at 90 BPM failed"; finish; }
  export NIMBREL_PLUGIN="$cli_plugin"
  "$nimbrel" render "$work/input-tempo.wav" "$work/cli-90.wav" --program 17 "${tempo_params[@]}" --tempo 90 --tail 1 --format float --quiet \
    && "$nimbrel" render "$work/input-tempo.wav" "$work/cli-120.wav" --program 17 "${tempo_params[@]}" --tempo 120 --tail 1 --format float --quiet \
    || { fail "nimbrel render failed"; finish; }
  "$wavtool" compare "$work/ardour-90.wav" "$work/cli-90.wav" && pass "at 90 BPM Ardour's bounce equals nimbrel render" \
    || fail "at 90 BPM Ardour's bounce differs from nimbrel render --tempo 90"
  if "$wavtool" compare "$work/ardour-90.wav" "$work/cli-120.wav" >/dev/null; then
    fail "the 90 BPM bounce equals a 120 BPM render: the host's tempo did not reach the delay"
  else
    pass "the host's tempo reaches the delay"
  fi
  finish
  ;;

*)
  echo "unknown check $check"
  exit 2
  ;;
esac
