#!/bin/sh
# Every nimbrel line of the README and of the handbook, and every example of
# the commands' help, runs as written, in order, from a folder holding the
# files they name.
#   documented_examples.sh NIMBREL SOURCE_DIR
set -eu
source_dir="$(cd "$2" && pwd)"
. "$(dirname "$0")/common.sh"

mkdir "$dir/bin" "$dir/work"
ln -s "$nimbrel" "$dir/bin/nimbrel"
export PATH="$dir/bin:$PATH"
cd "$dir/work"
# The recordings the examples name, short ones.
nimbrel render --demo in.wav --rate 8000 --tail 0 --quiet
for name in take2.wav take.wav; do cp in.wav "$name"; done
mkdir takes
cp in.wav takes/one.wav
nimbrel save-bank factory.fxb --quiet

for command in render ir info programs save-program save-bank; do
    nimbrel $command --help | sed -n '/^examples:/,$p' | grep '^  nimbrel ' | sed 's/^/  /' > "help-$command.txt"
done
for document in README.md resources/handbook.txt help-*.txt; do
    if [ -f "$document" ]; then from="$document"; else from="$source_dir/$document"; fi
    grep '^    nimbrel ' "$from" | sed 's/^    //' > lines.txt
    [ "$(wc -l < lines.txt)" -ge 2 ] || failed "$document has only $(wc -l < lines.txt) nimbrel lines"
    while IFS= read -r line; do
        sh -c "$line" > output.txt 2>&1 < /dev/null || failed "$document: $line
$(cat output.txt)"
    done < lines.txt
    echo "$document: $(wc -l < lines.txt) lines ran"
done
