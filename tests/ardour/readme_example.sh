#!/usr/bin/env bash
# The README's Ardour line, run as written from a checkout whose build folder holds the
# plug-in, with no NIMBREL_PLUGIN: it finds the built plug-in, matches the program name as
# the command line does, lets the tail ring out as `nimbrel render` does (the same samples,
# to the last bit), and --quiet leaves nothing on the screen. Without a build it takes the
# installed ~/.vst/Nimbrel.so.
#   readme_example.sh WORK PLUGIN WAVTOOL NIMBREL
set -uo pipefail
work="$1" plugin="$2" wavtool="$3" nimbrel="$4"
source_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
failed() { echo "FAILED: $*" >&2; exit 1; }

"$source_dir/scripts/run-in-ardour" --which-ardour > /dev/null || { echo "SKIP: Ardour is not installed"; exit 77; }

rm -rf "$work"
mkdir -p "$work/checkout/build" "$work/home"
# A checkout as the README's reader has it: the scripts, and the plug-in built into build/.
cp -r "$source_dir/scripts" "$work/checkout/"
ln -s "$plugin" "$work/checkout/build/Nimbrel.so"
unset NIMBREL_PLUGIN
export HOME="$work/home" NIMBREL_DATA_DIR="$work/data"

line="$(grep -m 1 '^    scripts/run-in-ardour ' "$source_dir/README.md" | sed 's/^    //')"
[[ "$line" == 'scripts/run-in-ardour in.wav out.wav '* ]] || failed "the README has no Ardour example: '$line'"
cd "$work/checkout"
"$wavtool" signal in.wav 44100 1.5 || failed "cannot make in.wav"
bash -c "$line" > example.txt 2>&1 || failed "the README's line failed: $line
$(cat example.txt)"
grep -q "^rendered: .*out.wav" example.txt || failed "no word of the render: $(cat example.txt)"

# The same as the command line renders it, tail and all.
read -r -a words <<< "$(sed 's/^scripts\/run-in-ardour in.wav out.wav //' <<< "$line")"
eval "args=(${words[*]})"
"$nimbrel" render in.wav cli.wav "${args[@]}" --quiet || failed "nimbrel render ${args[*]} failed"
"$wavtool" compare out.wav cli.wav || failed "Ardour's ring-out differs from nimbrel render's"
[ "$(stat -c %s out.wav)" -gt "$(stat -c %s in.wav)" ] || failed "no tail rang out"

# Program names in any case; --quiet says nothing when all goes well.
scripts/run-in-ardour in.wav lower.wav --program "mix echo space" --param Mix=0.6 --quiet > quiet.txt 2>&1 \
  || failed "a program name in lower case was refused: $(cat quiet.txt)"
[ ! -s quiet.txt ] || failed "--quiet printed: $(cat quiet.txt)"
"$wavtool" compare out.wav lower.wav || failed "the program named in lower case renders differently"

# No build: the installed plug-in; neither: a clear refusal.
rm build/Nimbrel.so
mkdir -p "$HOME/.vst"
cp "$plugin" "$HOME/.vst/Nimbrel.so"
scripts/run-in-ardour --scan-only > scan.txt 2>&1 || failed "the installed plug-in was not taken: $(cat scan.txt)"
rm "$HOME/.vst/Nimbrel.so"
scripts/run-in-ardour --scan-only > none.txt 2>&1 && failed "a scan without any plug-in succeeded"
grep -q "no plug-in found" none.txt || failed "no clear refusal: $(cat none.txt)"
echo "README's Ardour example: ok"
