# What the command line's shell tests share; sourced with the path to nimbrel
# as the first argument. Each test works in a fresh folder of its own, removed
# at the end, with the plug-in's trace log inside it.
nimbrel="$1"
dir="$(mktemp -d)"
trap 'rm -rf "$dir"' EXIT
export NIMBREL_DATA_DIR="$dir/data"
cd "$dir"
failed() { echo "FAILED: $*" >&2; exit 1; }
# expect_refused TEXT COMMAND...: the command fails with status 1 and says TEXT.
expect_refused() {
    want="$1"; shift
    status=0
    "$@" > out.txt 2> err.txt || status=$?
    [ "$status" -eq 1 ] || failed "exit status $status, not 1, for: $* ($(cat err.txt))"
    grep -q -- "$want" err.txt || failed "message for $*: $(cat err.txt)"
}
