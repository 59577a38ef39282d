#!/usr/bin/env bash
# The real game in a real X window (under Xvfb): the window's title and
# size, its first picture, keys sent as a person would, and both ways out;
# then a game recorded, replayed by the replay runner and watched in the
# window, all three ending on the same picture; and the picture at twice
# its size.
# usage: real_window_test.sh VORBLOX VORBLOX_REPLAY CLOSE_WINDOW OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 close_window=$3 out=$4
mkdir -p "$out"
title="Vorblox v1.0"

. "$(dirname "$0")/window_helpers.sh"

# Without any display the game says so in one line, and exits 1.
set +e
nodisplay=$(env -u DISPLAY -u WAYLAND_DISPLAY -u XDG_RUNTIME_DIR SDL_VIDEODRIVER= "$vorblox" 2>&1)
code=$?
set -e
[ $code -eq 1 ] || fail "without a display the exit code was $code"
[ "$nodisplay" = "vorblox: no display to show the game on (neither DISPLAY nor WAYLAND_DISPLAY is set)" ] ||
  fail "without a display the game said: $nodisplay"
echo "without a display: $nodisplay"

[ -n "${DISPLAY:-}" ] || fail "run me on a display: tools/virtual-display -- $0 ..."

# The first tick presents the start prompt.
echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null

# Run 1: look, play a little, quit with Esc.
"$vorblox" & pid=$!
wait_window
sleep 0.5
geometry=$(xwininfo -id "$wid")
grep -q "Width: 300" <<<"$geometry" || fail "client width: $geometry"
grep -q "Height: 400" <<<"$geometry" || fail "client height: $geometry"
# The frame cannot be dragged to another size: the desktop's hints hold it
# to the game's own from the first show.
hints=$(xprop -id "$wid" WM_NORMAL_HINTS)
grep -q "program specified minimum size: 300 by 400" <<<"$hints" &&
  grep -q "program specified maximum size: 300 by 400" <<<"$hints" || fail "size hints: $hints"
# The first frame comes with the first tick; give a busy machine time.
for _ in $(seq 50); do
  shot start
  [ "$(differs "$out/start.png" "$out/start-replay.bmp")" = "0" ] && break
  sleep 0.1
done
[ "$(differs "$out/start.png" "$out/start-replay.bmp")" = "0" ] || fail "the start prompt differs from the replay's frame"

xdotool windowfocus --sync "$wid"
hold_until F1 changed_from playing "$out/start.png" || fail "F1 changed nothing on screen"
hold_until Left changed_from moved "$out/playing.png" || fail "Left changed nothing on screen"
hold_until Escape gone || fail "Esc did not end the game"
set +e
wait $pid
code=$?
set -e
[ $code -eq 0 ] || fail "Esc: exit code $code"

# Run 2: closing the window ends the game too; recorded on the standard
# output, which then holds the recording and nothing else.
"$vorblox" --record - >"$out/closed.rec" & pid=$!
wait_window
sleep 0.3
"$close_window" "$title"
set +e
wait $pid
code=$?
set -e
[ $code -eq 0 ] || fail "closing the window: exit code $code"
"$replay" "$out/closed.rec" >/dev/null || fail "the recording on the standard output does not replay: $(cat "$out/closed.rec")"

ended() {  # waits up to 5 s for the game to exit with code 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  set +e; wait "$pid"; code=$?; set -e
  [ $code -eq 0 ] || fail "$1: exit code $code"
}

# Run 3, recorded: move and turn the first piece, then hold Down until the
# recording so far plays to game over, so that the last picture stands
# still. How long each key is held does not matter: the replay plays what
# the recording says the game read.
rm -f "$out/game.rec"
"$vorblox" --record "$out/game.rec" & pid=$!
wait_window
xdotool windowfocus --sync "$wid"
sleep 0.3
hold_until F1 in_file "$out/game.rec" '^# A game of Vorblox' || fail "F1 started no recorded game"
hold Left 0.3
hold Up 0.05
xdotool keydown Down
# A run of held keys is written out after a second, before the game ends.
wait_until 30 in_file "$out/game.rec" '^64 DOWN$' ||
  { xdotool keyup Down; fail "with Down held the recording holds: $(cat "$out/game.rec")"; }
wait_until 60 over "$out/game.rec" || { xdotool keyup Down; fail "Down held for a minute and no game over"; }
xdotool keyup Down
"$replay" --frame "$out/over.bmp" "$out/game.rec" >/dev/null
wait_until 5 showing recorded "$out/over.bmp" || fail "the window does not show the recorded game's end"
hold_until Escape gone || fail "Esc did not end the game"
ended "recording"
echo "recorded:"; cat "$out/game.rec"
"$replay" --frame "$out/replayed.bmp" "$out/game.rec" >"$out/replayed.json"
grep -q '"active":0,"awaitingFirstGame":0' "$out/replayed.json" || fail "the replay is not at game over"
[ "$(differs "$out/recorded.png" "$out/replayed.bmp")" = "0" ] || fail "the replay's last frame differs from the window's"

# Run 4: watched under a title that says so, keys pressed meanwhile changing
# nothing; at its end the title is the game's own again, and the last
# picture stays until Esc.
"$vorblox" --watch "$out/game.rec" & pid=$!
wait_window "^${title} - watching game\.rec, 0:0.* of 0:0.*, 1x; .*, Esc quits\$"
xdotool windowfocus --sync "$wid"
sleep 0.5
hold Down 0.3
hold Up 0.1
wait_until 60 titled "$title" || fail "a minute on, the title is: $(xdotool getwindowname "$wid")"
wait_until 5 showing watched "$out/recorded.png" || fail "the watched game's last frame differs"
hold_until Escape gone || fail "Esc did not end the game after watching"
ended "watching to the end"

# Run 5: Esc stops watching at once; a recording from the standard input.
"$vorblox" --watch - <"$out/game.rec" & pid=$!
wait_window "^${title} - watching a recording from the standard input, .*, Esc quits\$"
xdotool windowfocus --sync "$wid"
sleep 0.3
hold_until Escape gone || fail "Esc did not stop the watching"
ended "Esc while watching"

# Run 6: at scale 2 the window is twice as large and shows the same picture,
# each pixel as two by two.
convert "$out/start-replay.bmp" -scale 200% "$out/start-replay-2x.png"
"$vorblox" --scale 2 & pid=$!
wait_window
geometry=$(xwininfo -id "$wid")
grep -q "Width: 600" <<<"$geometry" || fail "client width at scale 2: $geometry"
grep -q "Height: 800" <<<"$geometry" || fail "client height at scale 2: $geometry"
for _ in $(seq 50); do
  shot start-2x
  [ "$(differs "$out/start-2x.png" "$out/start-replay-2x.png")" = "0" ] && break
  sleep 0.1
done
[ "$(differs "$out/start-2x.png" "$out/start-replay-2x.png")" = "0" ] ||
  fail "at scale 2 the start prompt differs from the replay's frame scaled up"
"$close_window" "$title"
ended "closing at scale 2"
echo "real window: all checks passed; screenshots in $out"
