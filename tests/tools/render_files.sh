#!/bin/sh
# What `nimbrel render` does with the user's files:
#   render_files.sh NIMBREL
set -eu
. "$(dirname "$0")/common.sh"

# The same command gives the same bytes, whenever it runs: float WAV files
# carry no time stamp.
"$nimbrel" render --demo first.wav --tail 0.1 --quiet
sleep 1.1
"$nimbrel" render --demo second.wav --tail 0.1 --quiet
cmp first.wav second.wav || failed "two renders of one command differ"
! grep -q PEAK first.wav || failed "a PEAK chunk was written"
"$nimbrel" render first.wav third.wav --tail 0.1 --quiet
sleep 1.1
"$nimbrel" render first.wav fourth.wav --tail 0.1 --quiet
cmp third.wav fourth.wav || failed "two renders of one file differ"

# A lone file that exists is taken for the input and refused, unchanged;
# the message shows both ways to say what was meant.
cp first.wav take.wav
expect_refused "exists" "$nimbrel" render take.wav --quiet
grep -q -- "--demo OUT" err.txt && grep -q "render IN OUT\|render the file IN" err.txt || failed "usage in: $(cat err.txt)"
cmp first.wav take.wav || failed "the lone input file was changed"
expect_refused "render wants IN and OUT" "$nimbrel" render missing.wav --quiet
[ ! -e missing.wav ] || failed "a lone missing file was written"
expect_refused "wants only OUT" "$nimbrel" render --demo a.wav b.wav --quiet

# The output is never the input, however it is named.
expect_refused "input file itself" "$nimbrel" render take.wav take.wav --quiet
expect_refused "input file itself" "$nimbrel" render take.wav ./take.wav --quiet
ln take.wav hard.wav
expect_refused "input file itself" "$nimbrel" render take.wav hard.wav --quiet
ln -s take.wav soft.wav
expect_refused "input file itself" "$nimbrel" render soft.wav take.wav --quiet
cmp first.wav take.wav || failed "the input was changed by a refused render"

# Only regular files are replaced: not a folder, a pipe, or a link to a device.
mkdir folder.wav
expect_refused "not a regular file" "$nimbrel" render take.wav folder.wav --quiet
[ -d folder.wav ] || failed "the folder went"
mkfifo pipe.wav
expect_refused "not a regular file" "$nimbrel" render take.wav pipe.wav --quiet
[ -p pipe.wav ] || failed "the pipe went"
ln -s /dev/null null.wav
expect_refused "not a regular file" "$nimbrel" render take.wav null.wav --quiet
[ -L null.wav ] || failed "the link went"
ls ./*.partial-* 2> /dev/null && failed "a temporary file was left"
echo "render files: ok"
