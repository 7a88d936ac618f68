# Shared by the real-host checks (sourced by bash): a private work folder,
# the bundle alone on a private LV2 path, and private servers (a JACK server
# of our own name on the dummy back end, an X display of our own) that are
# stopped when the check ends, however it ends.

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
finish() { [ "$failures" -eq 0 ] || { echo "$failures check(s) failed"; exit 1; }; exit 0; }
skip() { echo "SKIP: $*"; exit 77; }
need() {
  local tool
  for tool in "$@"; do
    command -v "$tool" > /dev/null || skip "$tool is not installed (scripts/setup.sh --tests installs it)"
  done
}

started_pids=()
cleanup() {
  local pid
  for pid in "${started_pids[@]+"${started_pids[@]}"}"; do kill "$pid" 2> /dev/null; done
  for pid in "${started_pids[@]+"${started_pids[@]}"}"; do wait "$pid" 2> /dev/null; done
  [ -z "${work:-}" ] || [ -n "${KEEP_WORK:-}" ] || rm -rf "$work"
}
trap cleanup EXIT

# work: a fresh folder; LV2_PATH: a folder holding only our bundle.
setup_work() {
  local bundle="$1"
  work="$(mktemp -d "${TMPDIR:-/tmp}/nimbrel-lv2-check.XXXXXX")"
  mkdir -p "$work/lv2" "$work/data" "$work/home"
  ln -s "$(realpath "$bundle")" "$work/lv2/Nimbrel.lv2"
  export LV2_PATH="$work/lv2"
  # The plug-in's trace log and the editor's marker file stay in here, as does
  # what the hosts keep in the home folder.
  export NIMBREL_DATA_DIR="$work/data" HOME="$work/home"
  export XDG_CONFIG_HOME="$HOME/.config" XDG_CACHE_HOME="$HOME/.cache" XDG_DATA_HOME="$HOME/.local/share"
}

# Waits until a command succeeds, for at most $1 seconds.
wait_for() {
  local seconds="$1"
  shift
  local tries=$((seconds * 10))
  while [ "$tries" -gt 0 ]; do
    "$@" > /dev/null 2>&1 && return 0
    sleep 0.1
    tries=$((tries - 1))
  done
  return 1
}

# A JACK server of our own (dummy back end, no sound card, no real-time
# privileges); clients reach it through JACK_DEFAULT_SERVER and never start one.
# JACK keeps its servers in one registry per machine with room for eight, and
# frees an entry left by a server that died only when a server of the same
# name starts: so the names come from a pool of eight, and a name another
# check is using now (the server exits at once) passes to the next.
start_jack() {
  local rate="$1" period="$2" slot pid
  export JACK_NO_START_SERVER=1 JACK_NO_AUDIO_RESERVATION=1
  for slot in 0 1 2 3 4 5 6 7; do
    export JACK_DEFAULT_SERVER="nimbrel-check-$slot"
    jackd --no-realtime --name "$JACK_DEFAULT_SERVER" --silent -d dummy -r "$rate" -p "$period" \
      > "$work/jackd.log" 2>&1 &
    pid=$!
    started_pids+=("$pid")
    local tries=200
    while [ "$tries" -gt 0 ] && kill -0 "$pid" 2> /dev/null; do
      # Ours only while it still runs: a client may reach another check's server of that name.
      if jack_lsp > /dev/null 2>&1 && kill -0 "$pid" 2> /dev/null; then return 0; fi
      sleep 0.1
      tries=$((tries - 1))
    done
    kill "$pid" 2> /dev/null
    wait "$pid" 2> /dev/null
  done
  cat "$work/jackd.log"
  echo "the private JACK server did not start"
  exit 1
}

# An X display of our own: Xvfb picks a free number and reports it.
start_xvfb() {
  local numfile="$work/display"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3> "$numfile" 2> "$work/xvfb.log" &
  started_pids+=($!)
  wait_for 20 test -s "$numfile" || { echo "Xvfb did not start"; exit 1; }
  export DISPLAY=":$(head -n 1 "$numfile")"
}

# Runs a program in the background with its output in a file; its pid in $last_pid.
start_logged() {
  local log="$1"
  shift
  "$@" > "$log" 2>&1 &
  last_pid=$!
  started_pids+=("$last_pid")
}
