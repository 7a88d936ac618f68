#!/bin/sh
# Installs Nimbrel for the user who runs it: the plug-in and its handbook into
# ~/.vst, where Linux hosts look for VST 2 plug-ins, the LV2 bundle into
# ~/.lv2, where they look for LV2 plug-ins, and the command line into
# ~/.local/bin. HOME is read now, when the install runs.
#   install-user.sh PLUGIN.so HANDBOOK.pdf NIMBREL BUNDLE.lv2
# (cmake --build build --target install-user runs it with the built files.)
set -eu
if [ $# -ne 4 ]; then
    echo "usage: install-user.sh PLUGIN.so HANDBOOK.pdf NIMBREL BUNDLE.lv2" >&2
    exit 2
fi
: "${HOME:?HOME is not set: whose home should Nimbrel go to?}"
vst="$HOME/.vst"
lv2="$HOME/.lv2"
bin="$HOME/.local/bin"
mkdir -p "$vst" "$lv2" "$bin"

# Each file is copied beside its place and renamed over it: a host that has
# the old plug-in loaded keeps its copy whole, and nothing is left half-copied.
partial=""
trap 'rm -rf "$partial"' EXIT
place() {  # file folder name mode
    partial="$2/.$3.installing-$$"
    cp "$1" "$partial"
    chmod "$4" "$partial"
    mv -f "$partial" "$2/$3"
    partial=""
}
place "$1" "$vst" Nimbrel.so 755
place "$2" "$vst" Nimbrel.pdf 644
place "$3" "$bin" nimbrel 755
# The bundle is a folder: copied whole beside its place, then put there in one
# rename after the old one is moved aside.
partial="$lv2/.Nimbrel.lv2.installing-$$"
rm -rf "$partial"
cp -RL "$4" "$partial"
if [ -e "$lv2/Nimbrel.lv2" ]; then
    old="$lv2/.Nimbrel.lv2.old-$$"
    mv "$lv2/Nimbrel.lv2" "$old"
    mv "$partial" "$lv2/Nimbrel.lv2"
    rm -rf "$old"
else
    mv "$partial" "$lv2/Nimbrel.lv2"
fi
partial=""
echo "Installed $vst/Nimbrel.so, its handbook $vst/Nimbrel.pdf, the LV2 bundle $lv2/Nimbrel.lv2 and the command $bin/nimbrel"

case ":${PATH:-}:" in
    *":$bin:"* | *":$bin/:"*) ;;
    *)
        echo "Note: $bin is not on your PATH, so the shell does not find nimbrel by name yet."
        echo "Debian's ~/.profile adds it when you next log in; until then, or elsewhere, run:"
        echo "    export PATH=\"\$HOME/.local/bin:\$PATH\""
        ;;
esac
