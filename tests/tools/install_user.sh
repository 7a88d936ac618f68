#!/bin/sh
# `cmake --build BUILD --target install-user` installs for whoever runs it,
# reading HOME then: the plug-in and the handbook into ~/.vst, the LV2 bundle
# into ~/.lv2, nimbrel into ~/.local/bin, and says so when that is not on PATH. After it the README's
# nimbrel lines work as written.
#   install_user.sh BUILD
set -eu
build="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
failed() { echo "FAILED: $*" >&2; exit 1; }
unset NIMBREL_PLUGIN
export NIMBREL_DATA_DIR="$dir/data"
home="$dir/home"
mkdir "$home"

HOME="$home" PATH=/usr/bin:/bin cmake --build "$build" --target install-user > install.txt 2>&1 \
    || failed "install-user failed: $(cat install.txt)"
cmp "$home/.vst/Nimbrel.so" "$build/Nimbrel.so" || failed "the plug-in is not in ~/.vst"
cmp "$home/.vst/Nimbrel.pdf" "$build/Nimbrel.pdf" || failed "the handbook is not in ~/.vst"
[ -x "$home/.local/bin/nimbrel" ] || failed "nimbrel is not in ~/.local/bin"
for f in manifest.ttl nimbrel.ttl presets.ttl nimbrel_lv2.so nimbrel_lv2_ui.so Nimbrel.pdf; do
    cmp "$home/.lv2/Nimbrel.lv2/$f" "$build/Nimbrel.lv2/$f" || failed "$f is not in ~/.lv2/Nimbrel.lv2"
done
grep -q "$home/.local/bin is not on your PATH" install.txt || failed "no word about PATH: $(cat install.txt)"
ls -a "$home/.vst" "$home/.lv2" "$home/.local/bin" | grep -q "installing\|old" && failed "a partial copy was left"

# Installed again with ~/.local/bin on PATH: nothing to say about it.
HOME="$home" PATH="$home/.local/bin:/usr/bin:/bin" cmake --build "$build" --target install-user > again.txt 2>&1 \
    || failed "the second install failed: $(cat again.txt)"
! grep -q "not on your PATH" again.txt || failed "PATH note although it is on PATH"
[ "$(ls -A "$home/.lv2")" = "Nimbrel.lv2" ] || failed "the second install left more than the bundle: $(ls -A "$home/.lv2")"
cmp "$home/.lv2/Nimbrel.lv2/presets.ttl" "$build/Nimbrel.lv2/presets.ttl" || failed "the bundle was not replaced whole"

# The installed command finds the installed plug-in by itself.
cd "$dir"
export HOME="$home" PATH="$home/.local/bin:/usr/bin:/bin"
nimbrel --version | grep -qx "plug-in: $home/.vst/Nimbrel.so" || failed "nimbrel loads $(nimbrel --version)"
nimbrel render --demo out.wav --tail 0.1 --quiet || failed "the installed nimbrel cannot render"
nimbrel info | grep -q "^68 parameters" || failed "the installed nimbrel cannot tell its parameters"
echo "install-user: ok"
