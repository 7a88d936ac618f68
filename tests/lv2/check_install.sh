#!/bin/sh
# `cmake --install BUILD --prefix P` puts the bundle in P/lib/lv2/Nimbrel.lv2,
# whole, where LV2 hosts find it (lv2ls lists it on that path alone); the
# plug-in's library needs no window system or drawing library, the editor's does.
#   check_install.sh BUILD
set -eu
build="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failed() { echo "FAILED: $*" >&2; exit 1; }

cmake --install "$build" --prefix "$dir/prefix" > "$dir/install.txt" 2>&1 || failed "cmake --install: $(cat "$dir/install.txt")"
bundle="$dir/prefix/lib/lv2/Nimbrel.lv2"
for f in manifest.ttl nimbrel.ttl presets.ttl nimbrel_lv2.so nimbrel_lv2_ui.so Nimbrel.pdf; do
    cmp "$bundle/$f" "$build/Nimbrel.lv2/$f" || failed "$f is not installed in $bundle"
done

needed() { readelf -d "$1" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p'; }
if needed "$bundle/nimbrel_lv2.so" | grep -E '^lib(X11|xcb|cairo)'; then
    failed "the plug-in's library needs a window system or drawing library"
fi
needed "$bundle/nimbrel_lv2_ui.so" | grep -q '^libX11' || failed "the editor's library does not link X11"

if command -v lv2ls > /dev/null; then
    LV2_PATH="$bundle/.." lv2ls > "$dir/listed.txt" 2>&1
    grep -qx "https://orvane.example/lv2/nimbrel" "$dir/listed.txt" || failed "lv2ls does not list it: $(cat "$dir/listed.txt")"
fi
echo "install: ok ($bundle)"
