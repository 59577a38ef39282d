#!/usr/bin/env bash
# A game played in a real window (under Xvfb) and recorded, then replayed by
# the replay runner and watched in the window: all three end on the same
# picture. The game is played to its end, so its last picture stands still.
# usage: record_watch_test.sh VORBLOX VORBLOX_REPLAY OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 out=$3
mkdir -p "$out"
rm -f "$out"/*.png "$out"/*.bmp "$out/game.rec"
title="Vorblox v1.0"

fail() { echo "FAIL: $*" >&2; exit 1; }
[ -n "${DISPLAY:-}" ] || fail "run me on a display: tools/virtual-display -- $0 ..."

wait_window() {
  for _ in $(seq 100); do
    wid=$(xdotool search --name "^${title}\$" 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && return 0
    kill -0 "$pid" 2>/dev/null || fail "the game ended before its window appeared"
    sleep 0.1
  done
  fail "no window titled $title"
}
shot() { xwd -silent -id "$wid" | convert xwd:- "$out/$1.png"; }
differs() { compare -metric AE "$1" "$2" null: 2>&1 || true; }
hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; }
ended() {  # waits up to 5 s for the game to exit; its exit code must be 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  set +e; wait "$pid"; code=$?; set -e
  [ $code -eq 0 ] || fail "$1: exit code $code"
}

# Record: move and turn the first piece, then hold Down until the well is
# full (about three seconds), and quit at the game-over picture.
"$vorblox" --record "$out/game.rec" & pid=$!
wait_window
xdotool windowfocus --sync "$wid"
sleep 0.3
hold F1 0.1
hold Left 0.3
hold Up 0.05
xdotool keydown Down
sleep 2
# A run of held keys is written out after a second, before the game ends.
grep -q "^64 DOWN$" "$out/game.rec" || fail "after two seconds of Down the file holds: $(cat "$out/game.rec")"
sleep 3
xdotool keyup Down
sleep 0.5
shot recorded
hold Escape 0.1
ended "recording"
echo "recording:"; cat "$out/game.rec"

# The replay runner ends on the same picture.
"$replay" --frame "$out/replayed.bmp" "$out/game.rec" >"$out/replayed.json"
grep -q '"active":0,"awaitingFirstGame":0' "$out/replayed.json" || fail "the replay is not at game over: $(cat "$out/replayed.json")"
[ "$(differs "$out/recorded.png" "$out/replayed.bmp")" = "0" ] || fail "the replay's last frame differs from the window's"

# Watching plays it at 64 ticks a second, keys pressed meanwhile changing
# nothing, and then stays on its last picture until Esc.
ticks=$(awk '$1 ~ /^[0-9]+$/ {s += $1} END {print s}' "$out/game.rec")
"$vorblox" --watch "$out/game.rec" & pid=$!
wait_window
xdotool windowfocus --sync "$wid"
sleep 0.5
hold Right 0.3
hold Up 0.1
sleep "$(awk -v t="$ticks" 'BEGIN {print t / 64 + 1}')"
shot watched
[ "$(differs "$out/recorded.png" "$out/watched.png")" = "0" ] || fail "the watched game's last frame differs"
hold Escape 0.1
ended "watching to the end"

# Esc stops watching at once.
"$vorblox" --watch "$out/game.rec" & pid=$!
wait_window
xdotool windowfocus --sync "$wid"
sleep 0.3
hold Escape 0.1
ended "Esc while watching"
echo "record and watch: all checks passed; pictures in $out"
