#!/bin/sh
# The bundle's Turtle through the LV2 tools:
#   check_turtle.sh BUNDLE_DIR
# every file parses with serdi (lv2_validate reports a syntax error yet may go on),
# and lv2_validate finds no error and prints no warning, as for Debian's own
# plug-ins (/usr/lib/lv2/a-reverb.lv2 gets neither).
set -eu
bundle="$1"
for tool in serdi lv2_validate; do
    command -v "$tool" > /dev/null || { echo "SKIP: $tool is not installed (scripts/setup.sh --tests)"; exit 77; }
done
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
failed() { echo "FAILED: $*" >&2; exit 1; }

files=$(ls "$bundle"/*.ttl)
[ "$(echo "$files" | wc -l)" -ge 3 ] || failed "expected manifest.ttl, nimbrel.ttl and presets.ttl in $bundle"
for f in $files; do
    serdi -i turtle -o ntriples "$f" > "$work/triples" 2> "$work/err" || failed "serdi on $f: $(cat "$work/err")"
    [ ! -s "$work/err" ] || failed "serdi on $f: $(cat "$work/err")"
    [ -s "$work/triples" ] || failed "no statements in $f"
done

# shellcheck disable=SC2086
lv2_validate $files > "$work/report" 2>&1 || failed "lv2_validate: $(cat "$work/report")"
grep -q "^Found 0 errors among" "$work/report" || failed "lv2_validate: $(cat "$work/report")"
# Anything beyond the summary and the skipped vocabulary documentation is a finding.
if grep -v -e "^Found 0 errors among" -e "^Skipping file .*/lv2core\.doap\.ttl$" "$work/report" > "$work/findings"; then
    failed "lv2_validate: $(cat "$work/findings")"
fi
echo "serdi and lv2_validate: $(echo "$files" | wc -l) files, $(grep "^Found" "$work/report")"
