#!/usr/bin/env bash
# Keys of the player's choosing, in a real X window (under Xvfb): bad
# bindings files refused by file and line with exit 2 before any window;
# then a game played with the keys of the player's own file, recorded as the
# game's keys, and replayed by the replay runner to the window's picture;
# watching it, the bound quit key stops.
# usage: bindings_window_test.sh VORBLOX VORBLOX_REPLAY OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 out=$3
mkdir -p "$out"
title="Vorblox v1.0"
. "$(dirname "$0")/window_helpers.sh"
[ -n "${DISPLAY:-}" ] || fail "run me on a display: tools/virtual-display -- $0 ..."
config=$(mktemp -d)
trap 'rm -rf "$config"' EXIT
export XDG_CONFIG_HOME=$config

refused() {  # expected message, then the file's lines (or - and the arguments)
  local message=$1 err code
  shift
  if [ "$1" = - ]; then
    shift
    set +e; err=$(timeout 10 "$vorblox" "$@" 2>&1 >/dev/null); code=$?; set -e
  else
    printf '%s\n' "$@" >"$out/bad"
    set +e; err=$(timeout 10 "$vorblox" --bindings "$out/bad" 2>&1 >/dev/null); code=$?; set -e
  fi
  [ $code -eq 2 ] || fail "exit $code, not 2, for $*: $err"
  [ "$err" = "vorblox: $message" ] || fail "for $*: '$err', not 'vorblox: $message'"
}
bad="bindings file '$out/bad'"
refused "$bad: line 2: unknown action 'jump' (the actions: new-game quit left right turn-ccw turn-cw drop)" \
  "# mine" "jump = Space"
refused "$bad: line 1: unknown key 'Enterr' (keys go by SDL's names, as A, Left, Left Shift, Keypad 4, Space or Comma; game controller controls start with pad:)" \
  "drop = S, Enterr"
refused "$bad: line 3: 'S' drops already (line 1); one key does one thing" "drop = S" "" "left = A, S"
refused "$bad: line 1: 'Right' moves right by default; give right other keys to free it" "left = Right"
refused "$bad: line 1: 'pad:start' starts a new game by default; give new-game other controller controls to free it" \
  "quit = pad:start"
refused "$bad: line 1: expected ACTION = KEY, KEY..., not '\\x01\\xff garbage'" $'\x01\xff garbage'
refused "$bad: line 1: a key is missing (between commas, or after the =)" "drop = S,, D"
refused "cannot read the bindings file '$out/none': No such file or directory" - --bindings "$out/none"
mkdir -p "$config/vorblox"
printf 'drop = S\ndrop = D\n' >"$config/vorblox/bindings"
refused "bindings file '$config/vorblox/bindings': line 2: drop has its line already (line 1); list all its keys there" -

# The player's own file: WASD, Space turns the other way, F2 and Q, with
# the arrows and Shift left out by it.
cat >"$config/vorblox/bindings" <<'EOF'
# WASD, one hand
new-game = F2
quit = Q
left = A
right = D
turn-ccw = W, pad:leftshoulder
turn-cw = Space
drop = S
EOF
rm -f "$out/game.rec"
"$vorblox" --record "$out/game.rec" & pid=$!
wait_window
xdotool windowfocus --sync "$wid"
sleep 0.3
# How long each key is held does not matter: the replay below plays what
# the recording says the game read. Each bound key is held until the
# recording has it as the game's key (a run still held is written after
# 64 ticks); the keys that must do nothing are only tapped.
recorded() { in_file "$out/game.rec" "^[0-9][0-9]* \([A-Z0-9]*+\)*$1\(+\|\$\)"; }
hold_until F2 in_file "$out/game.rec" '^# A game of Vorblox' || fail "F2, bound to new-game, started no game"
hold_until A recorded LEFT || fail "A, bound to left, is not in the recording"
hold_until W recorded UP || fail "W, bound to turn-ccw, is not in the recording"
hold Shift_L 0.05
hold Up 0.05
hold_until space recorded LCTRL || fail "Space, bound to turn-cw, is not in the recording"
hold_until D recorded RIGHT || fail "D, bound to right, is not in the recording"
hold Escape 0.1
xdotool keydown s
wait_until 60 over "$out/game.rec" || { xdotool keyup s; fail "S, bound to drop, held for a minute and no game over"; }
xdotool keyup s
"$replay" --frame "$out/over.bmp" "$out/game.rec" >/dev/null
wait_until 5 showing bound "$out/over.bmp" || fail "the window does not show the recorded game's end"
kill -0 $pid || fail "Escape, bound to nothing, quit the game"
hold_until q gone || fail "Q, bound to quit, did not end the game"
wait $pid || fail "the game's exit code was $?"
echo "recorded:"; cat "$out/game.rec"
for key in F1 LEFT UP RIGHT LCTRL DOWN ESC; do
  grep -Eq "^[0-9]+ ([A-Z0-9]+\\+)*$key(\\+|$)" "$out/game.rec" || fail "the recording has no $key"
done
grep -v '^#' "$out/game.rec" | grep -Eq 'LSHIFT|RSHIFT|F2|\b[AWDSQ]\b' && fail "the recording holds keys other than the game's"
"$replay" --frame "$out/replayed.bmp" "$out/game.rec" >"$out/replayed.json"
grep -q '"active":0,"awaitingFirstGame":0' "$out/replayed.json" || fail "the replay is not at game over"
[ "$(differs "$out/bound.png" "$out/replayed.bmp")" = "0" ] || fail "the replay's last frame differs from the window's"

# Watching it, the bound quit key stops the watching.
"$vorblox" --watch "$out/game.rec" & pid=$!
wait_window "^${title} - watching game\\.rec, .*, Q quits\$"
xdotool windowfocus --sync "$wid"
sleep 0.3
hold_until q gone || fail "Q did not stop the watching"
wait $pid || fail "watching: exit code $?"
echo "bindings window: all checks passed; screenshots in $out"
