#!/usr/bin/env bash
# The bundle in lv2file (Debian's lv2file): renders WAV files with a factory
# preset, with port values and at several block sizes, each equal bit for bit
# to the command-line host's render of the same input, program, values and
# block size through the VST 2 plug-in.
#
#   check_lv2file.sh BUNDLE NIMBREL VST_PLUGIN WAVTOOL
# Exit status 77 (skipped) when lv2file is not installed.
set -uo pipefail
bundle="$1" nimbrel="$2" vst="$3" wavtool="$4"
. "$(dirname "${BASH_SOURCE[0]}")/hosts_common.sh"
need lv2file
setup_work "$bundle"
export NIMBREL_PLUGIN="$vst"
uri="https://orvane.example/lv2/nimbrel"

"$wavtool" signal "$work/in48.wav" 48000 1.5 || { echo "cannot make the input"; exit 1; }
"$wavtool" signal "$work/in44.wav" 44100 1.2 || { echo "cannot make the input"; exit 1; }

# lv2file -p takes SYMBOL:VALUE, nimbrel --param NAME=VALUE: the symbols are the short names.
# Arguments: name input block program [SYMBOL=VALUE...]
render_both() {
  local name="$1" input="$2" block="$3" program="$4"
  shift 4
  local lv2_args=() cli_args=() p
  for p in "$@"; do
    lv2_args+=(-p "${p%%=*}:${p#*=}")
    cli_args+=(--param "$p")
  done
  # lv2file runs whole blocks (the last one padded), sends no tempo (120 BPM)
  # and writes as many frames as it read: the command line renders no tail.
  # Without --ignore-clipping it would clip the samples beyond +-1.
  if ! lv2file --ignore-clipping -i "$input" -o "$work/$name-lv2.wav" -b "$block" -P "$program" "${lv2_args[@]}" "$uri" \
      > "$work/$name-lv2file.log" 2>&1; then
    fail "$name: lv2file failed: $(cat "$work/$name-lv2file.log")"
    return
  fi
  if ! "$nimbrel" render "$input" "$work/$name-cli.wav" --program "$program" "${cli_args[@]}" --block "$block" \
      --tail 0 --format float --quiet; then
    fail "$name: nimbrel render failed"
    return
  fi
  if "$wavtool" compare "$work/$name-cli.wav" "$work/$name-lv2.wav"; then
    pass "$name: lv2file (blocks of $block, \"$program\"${*:+, $*}) equals nimbrel render bit for bit"
  else
    fail "$name: lv2file differs from nimbrel render"
  fi
  # The check of the check: the plug-in changed the sound.
  if "$wavtool" compare "$input" "$work/$name-lv2.wav" > /dev/null 2>&1; then
    fail "$name: the output equals the input"
  fi
}

render_both preset "$work/in48.wav" 512 "MIX Echo Space"
render_both values "$work/in48.wav" 1024 "REV Hall Big" Mix=0.55 RSize=0.7 MTime=0.3 MFeedba=0.625 DLevel=0.3
render_both small-blocks "$work/in44.wav" 64 "DEL Duck 0.5" GThresh=0.4 Surround=0.9 Route=1
render_both odd-blocks "$work/in44.wav" 333 "TAP Doted"

# lv2file lists the 180 presets by name.
count="$(lv2file -L "$uri" 2> /dev/null | grep -c '^Preset: ')"
[ "$count" -eq 180 ] && pass "lv2file lists 180 presets" || fail "lv2file lists $count presets, not 180"
finish
