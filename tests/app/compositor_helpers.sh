# Shared by the tests that play the game in a Wayland compositor (sway,
# mutter, KWin). The caller defines fail and shot NAME (the screen into
# $out/NAME.ppm and .png) and sets $out, $pid (the game's process) and
# $find_picture; $out/start-replay.ppm is the replay runner's first frame.

find_frame() { "$find_picture" "$out/$1.ppm" "$out/start-replay.ppm" "$2" 2>/dev/null || true; }
wait_frame() {  # name scale: until the screen shows the first frame at that scale ($at)
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || fail "$1: the game ended"
    shot "$1" || fail "$1: no screenshot"
    at=$(find_frame "$1" "$2")
    [ -n "$at" ] && return 0
    sleep 0.1
  done
  fail "$1: the screen does not show the first frame at scale $2 ($out/$1.png)"
}
lives_after() {  # KEY: the game still runs after that keyboard's key
  kill -0 "$pid" 2>/dev/null || { wait "$pid" || code=$?; fail "keyboards: the game ended (exit ${code:-0}) after $1"; }
}
recorded_keys() {  # part recording KEY...: the keys played reached the game, each once, in that order
  local part=$1 recording=$2 got
  shift 2
  got=$(awk '!/^#/ && $2 != "-" {print $2}' "$recording" | uniq | tr '\n' ' ')
  [ "$got" = "$* " ] || fail "$part: the game got the keys ${got:-(none)}instead of $*"
}
