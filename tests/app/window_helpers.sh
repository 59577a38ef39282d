# Shared by the tests that play the game in a real X window. The caller sets
# $title (the game's window title), $pid (the game's process) and $out (where
# pictures go); wait_window sets $wid.

# The player's own bindings file, should the machine have one, stays out of it.
export XDG_CONFIG_HOME=/nonexistent/vorblox-tests

fail() { echo "FAIL: $*" >&2; exit 1; }

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

hold() {  # key, seconds: the game looks at the keyboard once a tick
  xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"
}
