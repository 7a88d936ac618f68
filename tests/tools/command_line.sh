#!/bin/sh
# The command line as a user meets it: help, slips, values in units, bad
# input, clipping, many files at once.
#   command_line.sh NIMBREL
set -eu
. "$(dirname "$0")/common.sh"
no_partial_files() { ! ls ./*.partial-* ./*/*.partial-* 2> /dev/null || failed "a temporary file was left: $*"; }

# Help: every command, both spellings, exit 0, on standard output.
"$nimbrel" --help > commands.txt
for command in render ir info programs save-program save-bank; do
    grep -q "^  $command " commands.txt || failed "the command list lacks $command"
    for flag in --help -h; do
        "$nimbrel" $command $flag > help.txt || failed "$command $flag failed"
        grep -q "^usage: nimbrel $command" help.txt || failed "$command $flag: $(head -3 help.txt)"
        grep -q "^examples:" help.txt || failed "$command $flag shows no examples"
    done
done
"$nimbrel" help render | grep -q -- "--out-dir DIR" || failed "help render"
"$nimbrel" render --programm 3 --help > /dev/null || failed "--help does not win over a slip"
"$nimbrel" --version | grep -q "^nimbrel [0-9][0-9.]*$" || failed "--version: $("$nimbrel" --version)"
"$nimbrel" --version | grep -q "^plug-in: .*Nimbrel.so$" || failed "--version names no plug-in"

# Slips get the nearest names.
expect_refused 'did you mean "render"' "$nimbrel" rendr
expect_refused 'did you mean --program?' "$nimbrel" render --demo x.wav --programm 3
expect_refused 'did you mean "REV Hall Big"' "$nimbrel" render --demo x.wav --program "REV Hal Big"
expect_refused 'did you mean "Mix"' "$nimbrel" info --param Mixx=0.5
expect_refused "does not apply to info" "$nimbrel" info --tail 3
[ ! -e x.wav ] || failed "a refused render wrote its output"

# programs WORD: the names that hold WORD, in any case.
"$nimbrel" programs > all.txt
"$nimbrel" programs HALL > hall.txt
[ "$(wc -l < all.txt)" -eq 180 ] || failed "programs lists $(wc -l < all.txt)"
[ "$(wc -l < hall.txt)" -eq "$(cut -c6-24 all.txt | grep -ci hall)" ] || failed "programs HALL: $(cat hall.txt)"
grep -q "REV Hall Big" hall.txt || failed "programs HALL misses REV Hall Big"
expect_refused 'no program name contains "zzqx"' "$nimbrel" programs zzqx

# Numbers out of range say what is accepted, without contradicting themselves.
expect_refused "above 0 and at most 1000" "$nimbrel" render --demo x.wav --tempo 0
! grep -q "0\.\.1000" err.txt || failed "--tempo 0 is refused by a range that holds 0: $(cat err.txt)"
expect_refused "1\.\.65536" "$nimbrel" render --demo x.wav --block 0
expect_refused "0\.\.600" "$nimbrel" render --demo x.wav --tail -1
expect_refused "8000\.\.768000" "$nimbrel" render --demo x.wav --rate 100
expect_refused "float, pcm16 or pcm24" "$nimbrel" render --demo x.wav --format mp3
expect_refused "1\.\.64" "$nimbrel" render --demo --out-dir o x.wav --jobs 0
expect_refused "goes with --out-dir" "$nimbrel" render a.wav x.wav --jobs 2
expect_refused "needs a value" "$nimbrel" render --demo x.wav --tempo
# After "--" a name that starts with "-" is a file.
expect_refused "cannot read -in.wav: No such file" "$nimbrel" render -- -in.wav x.wav
[ ! -e x.wav ] || failed "a refused render wrote its output"

# Values in units; info shows what each became.
"$nimbrel" info --param Mix=60% --param GThresh=-20dB --param RHiCut=5kHz --param MTime=1/8 \
    --param Route=serial --param Volume=0dB > info.txt
for line in 'Mix=60%: Mix is 0.6000, shown as "60.0%"' 'GThresh=-20dB: GThresh is 0.3160, shown as "-20.0 dB"' \
            'MTime=1/8: MTime is 0.1000, shown as "1/8"' 'Route=serial: Route is 1.0000, shown as "serial"' \
            'Volume=0dB: Volume is 0.5000, shown as "0.0 dB"'; do
    grep -qF "$line" info.txt || failed "info lacks: $line"
done
grep -q '^RHiCut=5kHz: RHiCut is 0.53.., shown as "5000"$' info.txt || failed "RHiCut=5kHz: $(grep RHiCut= info.txt)"
expect_refused "RSize takes 2 .. 50 m" "$nimbrel" info --param RSize=60
expect_refused "1/16, 1/8" "$nimbrel" info --param MTime=5/16
# A value in units renders as the same value typed 0..1.
"$nimbrel" render --demo a.wav --tail 0.1 --quiet --param Mix=60% --param RDecay=80%
"$nimbrel" render --demo b.wav --tail 0.1 --quiet --param Mix=0.6 --param RDecay=0.8
cmp a.wav b.wav || failed "Mix=60% and Mix=0.6 render differently"
"$nimbrel" render a.wav c.wav --tail 0 --rate 48000 --quiet 2> err.txt
grep -q "warning: --rate is for --demo; a file renders at its own sample rate" err.txt || failed "--rate with a file: $(cat err.txt)"

# Files that cannot be read say why.
expect_refused "No such file or directory" "$nimbrel" render missing.wav x.wav
echo "words, not sound" > words.wav
expect_refused "cannot read words.wav: ." "$nimbrel" render words.wav x.wav
mkfifo pipe.wav
mkdir takes
expect_refused "a named pipe" timeout 20 "$nimbrel" render pipe.wav x.wav
expect_refused "cannot read missing.fxp: No such file or directory" "$nimbrel" info --preset missing.fxp
expect_refused "cannot read takes: it is a folder" "$nimbrel" info --bank takes
expect_refused "is a folder; to render every audio file in it, give --out-dir" "$nimbrel" render takes x.wav
# A header's sample rate far from what the plug-in is for (2147483647 Hz).
printf 'RIFF\054\0\0\0WAVEfmt \020\0\0\0\001\0\001\0\377\377\377\177\376\377\377\377\002\0\020\0data\010\0\0\0\0\0\0\0\0\0\0\0' > huge-rate.wav
expect_refused "2147483647 Hz; nimbrel renders 8000 to 768000 Hz" "$nimbrel" render huge-rate.wav x.wav
[ ! -e x.wav ] || failed "a refused input left an output"
no_partial_files "after refused inputs"

# Clipping: whole-number files report it once, float files hold everything.
"$nimbrel" render --demo loud16.wav --tail 0 --param Volume=1 --param Mix=0 --format pcm16 --quiet 2> warn.txt
grep -q "warning: loud16.wav: [0-9]* samples clipped at full scale (peak [0-9.]*, +[0-9.]* dBFS)" warn.txt \
    || failed "no clipping report: $(cat warn.txt)"
grep -q "format float" warn.txt || failed "no suggestion: $(cat warn.txt)"
[ "$(wc -l < warn.txt)" -eq 1 ] || failed "the clipping report is not one line: $(cat warn.txt)"
"$nimbrel" render --demo loud.wav --tail 0 --param Volume=1 --param Mix=0 --quiet 2> warn.txt
[ ! -s warn.txt ] || failed "a float file reported clipping: $(cat warn.txt)"

# Many files at once: each as a single render would make it, one line each,
# the failures counted while the others are still done.
cp a.wav takes/one.wav
cp b.wav takes/two.wav
cp words.wav takes/broken.wav
"$nimbrel" render --demo takes/three.aiff --tail 0.1 --quiet
"$nimbrel" render takes/one.wav single-one.wav --tail 0.2 --program 142 --quiet
status=0
"$nimbrel" render takes --out-dir wet --tail 0.2 --program 142 --jobs 2 > batch.txt 2> batch-err.txt || status=$?
[ "$status" -eq 1 ] || failed "a batch with a broken file exited $status"
for name in one.wav two.wav three.aiff; do
    [ -s "wet/$name" ] || failed "the batch did not write wet/$name: $(cat batch.txt batch-err.txt)"
    grep -q "^takes/$name -> wet/$name: [0-9.]* s at 44100 Hz$" batch.txt || failed "no line for $name: $(cat batch.txt)"
done
cmp wet/one.wav single-one.wav || failed "a batch render differs from the single render"
[ "$(wc -l < batch.txt)" -eq 3 ] || failed "batch lines: $(cat batch.txt)"
grep -q "takes/broken.wav: cannot read" batch-err.txt || failed "no line for the broken file: $(cat batch-err.txt)"
grep -q "1 of 4 files failed" batch-err.txt || failed "no count of failures: $(cat batch-err.txt)"
[ ! -e wet/broken.wav ] || failed "the broken file left an output"
"$nimbrel" render takes/one.wav takes/two.wav --out-dir wet2 --quiet > quiet.txt || failed "a good batch failed"
[ ! -s quiet.txt ] && [ -s wet2/one.wav ] && [ -s wet2/two.wav ] || failed "quiet batch"
expect_refused "would both be written to wet3/one.wav" "$nimbrel" render takes/one.wav takes/../takes/one.wav --out-dir wet3
expect_refused "would be replaced by its own render" "$nimbrel" render takes/one.wav --out-dir takes
expect_refused "is not a folder" "$nimbrel" render takes/one.wav --out-dir a.wav
expect_refused 'did you mean "REV Hall Big"' "$nimbrel" render takes/one.wav --out-dir wet4 --program "REV Hal Big"
[ ! -e wet4 ] || [ -z "$(ls wet4)" ] || failed "a batch with bad settings wrote files"
no_partial_files "after the batches"
echo "command line: ok"
