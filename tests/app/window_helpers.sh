# Shared by the tests that play the game in a real X window. The caller sets
# $title (the game's window title), $pid (the game's process) and $out (where
# pictures go); wait_window sets $wid.

# The player's own bindings file, should the machine have one, stays out of it.
export XDG_CONFIG_HOME=/nonexistent/vorblox-tests

fail() { echo "FAIL: $*" >&2; exit 1; }
. "$(dirname "${BASH_SOURCE[0]}")/key_holds.sh"

wait_window() {  # [title pattern]
  local pattern=${1:-"^${title}\$"}
  for _ in $(seq 100); do
    wid=$(xdotool search --name "$pattern" 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended before a window titled $pattern appeared"
    sleep 0.1
  done
  fail "no window titled $pattern"
}

shot() { xwd -silent -id "$wid" | convert xwd:- "$out/$1.png"; }

differs() {  # number of differing pixels between two pictures
  compare -metric AE "$1" "$2" null: 2>&1 || true
}

# Conditions for hold_until.
gone() { ! kill -0 "$pid" 2>/dev/null; }  # the game has ended
in_file() { grep -q "$2" "$1" 2>/dev/null; }  # FILE PATTERN
titled() { [ "$(xdotool getwindowname "$wid" 2>/dev/null)" = "$1" ]; }
# The recording FILE (as far as it is written) plays to game over in the
# replay runner ($replay).
over() { "$replay" "$1" 2>/dev/null | grep -q '"active":0,"awaitingFirstGame":0'; }
# A screenshot NAME shows exactly the picture FILE.
showing() { shot "$1"; [ "$(differs "$out/$1.png" "$2")" = "0" ]; }
# A screenshot NAME differs from the picture FILE.
changed_from() { shot "$1"; [ "$(differs "$out/$1.png" "$2")" != "0" ]; }
# wait_until SECONDS COMMAND...: COMMAND succeeds within SECONDS.
wait_until() {
  local deadline=$((SECONDS + $1))
  shift
  until "$@"; do
    [ $SECONDS -lt $deadline ] || return 1
    sleep 0.1
  done
}
