#!/bin/sh
# The folder picture as the includes draw it: each folder of the tree may
# include only the folders listed for it, so dependencies point one way
# (formats and the editor above the instance, the instance above the
# engines, everything above base/). Tools, tests and benchmarks may include
# anything.
#
#   check_includes.sh SOURCE_DIR     checks the tree; exit 1 on a wrong include
#   check_includes.sh --self-test    shows that a wrong include is caught
set -u

allowed() {
    case "$1" in
    base) echo "base" ;;
    dsp) echo "base dsp" ;;
    platform) echo "base platform" ;;
    gui) echo "base platform gui" ;;
    host) echo "base dsp platform host" ;;
    presets) echo "base platform gui host presets" ;;
    editor) echo "base dsp platform gui host presets resources editor" ;;
    # Build-time generators and what they make: the skin generator reads the
    # editor's control table (the editor embeds the bitmaps) and writes the
    # toolkit's packed picture form.
    resources) echo "base gui host editor resources" ;;
    vst2) echo "base platform gui host presets editor vst2" ;;
    lv2) echo "base platform gui host presets editor resources lv2" ;;
    *) echo "?" ;;
    esac
}

check() {
    root=$1
    status=0
    for dir in "$root"/*/; do
        folder=$(basename "$dir")
        case "$folder" in tools|tests|bench|docs|scripts|build*) continue ;; esac
        ok=$(allowed "$folder")
        files=$(find "$dir" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.inc' \))
        [ -n "$files" ] || continue
        if [ "$ok" = "?" ]; then
            echo "$folder/: a folder of code the include rules do not know; add it to $0"
            status=1
            continue
        fi
        for file in $files; do
            grep -o '^[[:space:]]*#[[:space:]]*include[[:space:]]*"[^"]*/[^"]*"' "$file" |
                sed 's/.*"\([^/"]*\)\/.*/\1/' | sort -u |
                while read -r target; do
                    case " $ok " in
                    *" $target "*) ;;
                    *) echo "${file#"$root"/} includes $target/, which $folder/ may not use"; echo x >&3 ;;
                    esac
                done 3>>"$root/.include-errors.$$"
        done
    done
    if [ -s "$root/.include-errors.$$" ]; then status=1; fi
    rm -f "$root/.include-errors.$$"
    return $status
}

if [ "${1:-}" = "--self-test" ]; then
    tmp=$(mktemp -d)
    trap 'rm -rf "$tmp"' EXIT
    mkdir -p "$tmp/host" "$tmp/dsp" "$tmp/tools"
    echo '#include "dsp/reverb.h"' > "$tmp/host/good.cpp"
    echo '#include "tools/x.h"' > "$tmp/tools/anything.cpp"
    check "$tmp" > /dev/null || { echo "self-test: a clean tree was refused"; exit 1; }
    echo '#  include "vst2/aeffect.h"' > "$tmp/host/bad.cpp"
    out=$(check "$tmp") && { echo "self-test: an include of vst2/ from host/ was let through"; exit 1; }
    echo "$out" | grep -q 'host/bad.cpp includes vst2/' || { echo "self-test: wrong report: $out"; exit 1; }
    rm "$tmp/host/bad.cpp"
    mkdir -p "$tmp/newthing" && echo '' > "$tmp/newthing/a.h"
    check "$tmp" > /dev/null && { echo "self-test: an unknown folder was let through"; exit 1; }
    echo "self-test passed"
    exit 0
fi

check "${1:?usage: $0 SOURCE_DIR | --self-test}" && echo "every include points down"
