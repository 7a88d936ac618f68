#!/bin/sh
# Every nimbrel line of the README and of the handbook runs as written, in
# order, from a folder holding the files they name.
#   documented_examples.sh NIMBREL SOURCE_DIR
set -eu
nimbrel="$1"
source_dir="$2"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
export NIMBREL_DATA_DIR="$dir/data"
failed() { echo "FAILED: $*" >&2; exit 1; }

mkdir "$dir/bin" "$dir/work"
ln -s "$nimbrel" "$dir/bin/nimbrel"
export PATH="$dir/bin:$PATH"
cd "$dir/work"
# The recordings the examples name, short ones.
nimbrel render --demo in.wav --rate 8000 --tail 0 --quiet
for name in take2.wav take.wav; do cp in.wav "$name"; done
mkdir takes
cp in.wav takes/one.wav

for document in README.md resources/handbook.txt; do
    grep '^    nimbrel ' "$source_dir/$document" | sed 's/^    //' > lines.txt
    [ "$(wc -l < lines.txt)" -ge 5 ] || failed "$document has only $(wc -l < lines.txt) nimbrel lines"
    while IFS= read -r line; do
        sh -c "$line" > output.txt 2>&1 < /dev/null || failed "$document: $line
$(cat output.txt)"
    done < lines.txt
    echo "$document: $(wc -l < lines.txt) lines ran"
done
