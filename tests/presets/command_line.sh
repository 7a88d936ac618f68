#!/bin/sh
# The command line's program and bank files, through the built plug-in:
#   command_line.sh NIMBREL
set -eu
. "$(dirname "$0")/../tools/common.sh"

# A bank saved, loaded and saved again is the same file; a saved program is
# the same image as its slot in the bank ("REV Hall Big" is program 30).
"$nimbrel" save-bank factory --quiet
[ "$(wc -c < factory.fxb)" -eq 59196 ] || failed "bank size"
"$nimbrel" save-bank --bank factory.fxb again.fxb --quiet
cmp factory.fxb again.fxb || failed "bank round trip"
"$nimbrel" save-program "REV Hall Big" hall --quiet
dd if=factory.fxb bs=1 skip=$((156 + 328 * 30)) count=328 2>/dev/null | cmp - hall.fxp || failed "program image"

# A program file and a bank slot render the same audio.
"$nimbrel" render --demo a.wav --program 30 --tail 0.2 --quiet
"$nimbrel" render --demo b.wav --preset hall.fxp --tail 0.2 --quiet
"$nimbrel" render --demo c.wav --bank factory.fxb --program 30 --tail 0.2 --quiet
cmp a.wav b.wav && cmp a.wav c.wav || failed "rendering from files"

# Files that are not ours are refused with a reason, and nothing is written.
printf 'CcnK\0\0\0\0FxCk\0\0\0\1XyZw\0\0\0\1\0\0\0\0' > other.fxp
head -c 1000 factory.fxb > cut.fxb
expect_refused "another plug-in" "$nimbrel" save-program 0 out.fxp --preset other.fxp
expect_refused "a bank file" "$nimbrel" save-program 0 out.fxp --preset factory.fxb
expect_refused "damaged" "$nimbrel" save-bank out.fxb --bank cut.fxb
expect_refused "not a VST preset" "$nimbrel" save-bank out.fxb --bank err.txt
[ ! -e out.fxp ] && [ ! -e out.fxb ] || failed "a refused load wrote a file"
echo "command line presets: ok"
