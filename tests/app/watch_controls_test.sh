#!/usr/bin/env bash
# watch_controls_test.sh VORBLOX VORBLOX-REPLAY, under a virtual X display.
# The controls of a watched recording, keys sent to the window: pause,
# speeds, five seconds ahead and back (a fresh start of the program, run
# ahead), back to the start, and playing on from the moment shown, whose
# recording replays. Each watch ends on the replay runner's frame. Waits
# are for what the title says, never for a hold of so many milliseconds.
set -u; [ -n "${TRACE:-}" ] && set -x
vorblox=$(realpath "$1") replay=$(realpath "$2")
. "$(dirname "$0")/window_helpers.sh"
title="Vorblox v1.0"
out=$(mktemp -d); trap 'rm -rf "$out"; kill -9 "$pid" 2>/dev/null' EXIT
cd "$out"
pid=$$

# A game of a minute: moves, turns and drops, with waits between.
{
  echo '# A game of Vorblox: ticks (64 a second) and the keys held in them.'
  echo '1 F1'; echo '10 -'
  for i in $(seq 0 39); do
    echo "$((1 + i * 7 % 30)) LEFT"; echo '2 -'
    [ $((i % 2)) = 1 ] && { echo '1 UP'; echo '1 -'; }
    echo "$((20 + i * 13 % 70)) -"; echo "$((10 + i * 11 % 50)) DOWN"; echo '3 -'
  done
} >game.rec
total=$(awk '$1 ~ /^[0-9]+$/ {s += $1} END {print s}' game.rec)
"$replay" --frame end.bmp game.rec >/dev/null || fail "the replay runner does not play the recording"

tick() { xdotool getwindowname "$wid" 2>/dev/null | sed -n 's/.*(tick \([0-9]*\).*/\1/p'; }
until_title() {  # pattern, what: up to 10 s for the title to match
  for _ in $(seq 200); do
    # Going back starts the program again, in a window of its own.
    xdotool getwindowname "$wid" >/dev/null 2>&1 || wid=$(xdotool search --name "^$title" 2>/dev/null | head -n 1)
    xdotool getwindowname "$wid" 2>/dev/null | grep -qF -- "$1" && return 0
    kill -0 "$pid" 2>/dev/null || fail "$2: the game ended"
    sleep 0.05
  done
  fail "$2: the title is $(xdotool getwindowname "$wid" 2>/dev/null)"
}
key() { xdotool windowfocus --sync "$wid"; xdotool key "$@"; }
ends_on_replay_frame() {  # what
  for _ in $(seq 300); do [ "$(xdotool getwindowname "$wid")" = "$title" ] && break; sleep 0.05; done
  [ "$(xdotool getwindowname "$wid")" = "$title" ] || fail "$1: the watch did not end"
  sleep 0.3; shot "$1"
  [ "$(differs "$out/$1.png" end.bmp)" = 0 ] || fail "$1: the last frame differs from the replay runner's"
}

"$vorblox" --watch game.rec 2>err.txt & pid=$!
wait_window "^$title - watching game\.rec, .* \(tick [0-9]* of $total\), 1x; Space pause"

# Paused, the game stands still; Space plays on.
key space
until_title ", paused;" "Space pauses"
at=$(tick); sleep 0.5
[ "$(tick)" = "$at" ] || fail "paused, the game went on from tick $at to $(tick)"
key space
until_title ", 1x;" "Space plays on"

# Paused, ] and [ step through the speeds.
key space
until_title ", 1x, paused;" "Space pauses again"
key bracketright bracketright bracketright bracketright bracketright
until_title ", as fast as it goes, paused;" "] up to as fast as it goes"
key bracketleft bracketleft
until_title ", 4x, paused;" "[ back to four times"
key bracketleft bracketleft bracketleft bracketleft
until_title ", 1/2x, paused;" "[ down to half the speed"
key bracketright
until_title ", 1x, paused;" "] to the game's own speed"

# Ahead five seconds (320 ticks) in the same program; back five through a
# fresh start, which keeps the process and its pause.
at=$(tick)
key Right
until_title "(tick $((at + 320)) of" "Right jumps ahead"
key Left
until_title "(tick $at of" "Left jumps back"
sleep 0.3
until_title ", 1x, paused;" "back, still paused"
key Home
until_title "(tick 0 of" "Home goes to the start"

# From there at eight times the speed to the end: the replay runner's frame.
key bracketright bracketright bracketright space
ends_on_replay_frame watched-with-controls
[ -s err.txt ] && fail "the watch said: $(cat err.txt)"
key Escape; wait $pid || fail "Esc after the watch: exit $?"

# --from, --speed and --paused start there; Enter plays on, recorded.
"$vorblox" --watch game.rec --from 0:20 --paused --record mine.rec 2>err.txt & pid=$!
wait_window "^$title - watching game\.rec, 0:20 of .* \(tick 1280 of $total\), 1x, paused;"
key Return
wait_window "^$title\$"
xdotool windowfocus --sync "$wid"; xdotool keydown Down; sleep 1; xdotool keyup Down
sleep 0.5; shot played-on
key Escape; wait $pid || fail "playing on: exit $?"
ticks_of() { awk '$1 ~ /^[0-9]+$/ {for (i = 0; i < $1; ++i) print $2}' "$1"; }
[ "$(ticks_of mine.rec | head -n 1280)" = "$(ticks_of game.rec | head -n 1280)" ] ||
  fail "the recording does not begin with the watched game's first 1280 ticks"
ticks_of mine.rec | tail -n +1281 | grep -q DOWN || fail "the recording does not go on with the player's keys"
"$replay" --frame mine.bmp mine.rec >/dev/null || fail "the game played on does not replay"
[ "$(differs played-on.png mine.bmp)" = 0 ] || fail "the game played on replays to another frame"

# A recording from a pipe cannot go back, and says so.
"$vorblox" --watch - <game.rec & pid=$!
wait_window "watching a recording from the standard input"
key Left
until_title "a recording from a pipe cannot go back" "Left on a pipe"
key Escape; wait $pid || fail "Esc on a pipe: exit $?"
echo "watch controls: all checks passed"
