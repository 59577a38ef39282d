#!/usr/bin/env bash
# The real game as a native Wayland client, in a Weston that runs in a
# window of an X server of our own, at output scale 1 and 2: the window
# appears with the replay runner's first frame pixel for pixel (each pixel
# as 2 x 2 at scale 2, never blurred), keys typed into Weston reach the
# game, Esc ends it with exit 0, and so does the close button of the frame
# Weston's client draws.
# usage: wayland_window_test.sh VORBLOX VORBLOX_REPLAY FIND_PICTURE OUTDIR
set -euo pipefail
. "$(dirname "$0")/key_holds.sh"
vorblox=$1 replay=$2 find_picture=$3 out=$4
mkdir -p "$out"

fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in Xvfb weston xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no Wayland test"; exit 0; }
done

xvfb="" weston="" pid=""
cleanup() {
  for p in "$pid" "$weston" "$xvfb"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

start_desktop() {  # output scale
  : >"$out/display"
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 1024x1280x24 3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb=$!
  local number=""
  for _ in $(seq 300); do
    number=$(head -n 1 "$out/display" || true)
    [[ $number =~ ^[0-9]+$ ]] && break
    kill -0 "$xvfb" 2>/dev/null || fail "Xvfb did not start: $(cat "$out/xvfb.log")"
    sleep 0.05
  done
  [[ $number =~ ^[0-9]+$ ]] || fail "Xvfb did not start"
  export DISPLAY=:$number
  export XDG_RUNTIME_DIR=$out/runtime
  rm -rf "$XDG_RUNTIME_DIR"; mkdir -m 700 "$XDG_RUNTIME_DIR"
  weston --backend=x11-backend.so --socket=vorblox-test --idle-time=0 --width=480 --height=600 --scale="$1" \
    >"$out/weston-$1.log" 2>&1 &
  weston=$!
  for _ in $(seq 200); do
    [ -S "$XDG_RUNTIME_DIR/vorblox-test" ] && break
    kill -0 "$weston" 2>/dev/null || fail "Weston did not start: $(cat "$out/weston-$1.log")"
    sleep 0.05
  done
  # Weston's output: the window it opened on our X server.
  for _ in $(seq 100); do
    output=$(xwininfo -root -tree 2>/dev/null | awk '/"Weston Compositor/ {print $1; exit}' || true)
    if [ -n "$output" ]; then
      # Weston's pointer out of the way, on its panel.
      xdotool windowfocus "$output" mousemove --window "$output" 2 2
      return 0
    fi
    sleep 0.05
  done
  fail "no Weston window on the X server"
}

stop_desktop() {
  for p in $weston $xvfb; do kill -KILL "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  weston="" xvfb=""
}

shot() { import -window "$output" "$out/$1.png"; convert "$out/$1.png" "$out/$1.ppm"; }

# Where the picture lies in the screenshot, or nothing.
find_frame() { "$find_picture" "$out/$1.ppm" "$2" "$3" 2>/dev/null || true; }

start_game() {  # name [option...]
  local name=$1; shift
  env -u DISPLAY WAYLAND_DISPLAY=vorblox-test SDL_VIDEODRIVER=wayland "$vorblox" "$@" 2>"$out/game-$name.err" &
  pid=$!
}

ended() {  # waits up to 5 s for the game to exit with code 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  set +e; wait "$pid"; code=$?; set -e
  pid=""
  [ $code -eq 0 ] || fail "$1: exit code $code; stderr: $(cat "$out/game-$2.err")"
}
gone() { ! kill -0 "$pid" 2>/dev/null; }
started() { grep -q '^# A game of Vorblox' "$out/game.rec" 2>/dev/null; }
# The recording so far plays to game over in the replay runner.
over() { "$replay" "$out/game.rec" 2>/dev/null | grep -q '"active":0,"awaitingFirstGame":0'; }

# Waits until the screenshot holds `picture` enlarged by `scale` (for 5 s,
# or as many as given).
wait_frame() {  # name picture.ppm scale [seconds]
  local deadline=$((SECONDS + ${4:-5}))
  while :; do
    shot "$1"
    [ -n "$(find_frame "$1" "$2" "$3")" ] && return 0
    [ $SECONDS -lt $deadline ] || break
    sleep 0.1
  done
  fail "$1: the screen does not show $2 ($out/$1.png)"
}

# A game recorded in the window, with Down held until the recording so far
# plays to game over, so that the last picture stands still; then watched
# to its end. How long the other keys are held does not matter: the replay
# plays what the recording says the game read.
record_and_watch() {
  rm -f "$out/game.rec"
  start_game record --record "$out/game.rec"
  wait_frame record-start "$out/start-replay.ppm" 2
  hold_until F1 started || fail "recording: F1 started no game"
  hold Left 0.3
  hold Up 0.05
  hold_until Down over || fail "recording: Down held and no game over"
  "$replay" --frame "$out/recorded-replay.bmp" "$out/game.rec" >/dev/null
  convert "$out/recorded-replay.bmp" "$out/recorded-replay.ppm"
  wait_frame recorded "$out/recorded-replay.ppm" 2
  hold_until Escape gone || fail "recording: Esc did not end the game"
  ended "recording" record
  local ticks
  ticks=$(awk '$1 ~ /^[0-9]+$/ {s += $1} END {print s}' "$out/game.rec")
  start_game watch --watch "$out/game.rec"
  # The last frame shows only once the whole recording has played.
  wait_frame watched "$out/recorded-replay.ppm" 2 60
  hold_until Escape gone || fail "watching: Esc did not end it"
  ended "watching" watch
  echo "recorded and watched: $ticks ticks, both ending on the replay's last frame"
}

echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.ppm"

for scale in 1 2; do
  start_desktop "$scale"
  start_game "$scale"
  at=""
  for _ in $(seq 100); do
    kill -0 "$pid" 2>/dev/null || fail "scale $scale: the game ended: $(cat "$out/game-$scale.err")"
    shot "start-$scale"
    at=$(find_frame "start-$scale" "$out/start-replay.ppm" "$scale")
    [ -n "$at" ] && break
    sleep 0.1
  done
  [ -n "$at" ] || fail "scale $scale: the replay's first frame is nowhere on the screen ($out/start-$scale.png):" \
    "$("$find_picture" "$out/start-$scale.ppm" "$out/start-replay.ppm" "$scale" 2>&1)"
  echo "scale $scale: the first frame at $at, pixel for pixel"
  playing() { shot "playing-$scale"; [ -z "$(find_frame "playing-$scale" "$out/start-replay.ppm" "$scale")" ]; }
  hold_until F1 playing || fail "scale $scale: F1 changed nothing"
  hold_until Escape gone || fail "scale $scale: Esc did not end the game"
  ended "scale $scale: Esc" "$scale"

  # The close button: the top right of the frame above the picture.
  start_game "$scale-close"
  at=""
  for _ in $(seq 100); do
    shot "close-$scale"
    at=$(find_frame "close-$scale" "$out/start-replay.ppm" "$scale")
    [ -n "$at" ] && break
    sleep 0.1
  done
  [ -n "$at" ] || fail "scale $scale: no window for the close button"
  read -r x y <<<"$at"
  xdotool mousemove --window "$output" $((x + (300 - 16) * scale)) $((y - 12 * scale)) click 1
  ended "scale $scale: the close button" "$scale-close"
  if [ "$scale" = 2 ]; then record_and_watch; fi
  stop_desktop
done
echo "wayland window: all checks passed; screenshots in $out"
