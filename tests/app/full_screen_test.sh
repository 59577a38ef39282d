#!/usr/bin/env bash
# Full screen on X11 under openbox, a window manager that honours full-screen
# requests: F11 makes the window the whole screen with the replay runner's
# first frame whole in its middle at the largest whole scale; Alt+Enter gives
# the window back its size and place, the frame pixel for pixel; the game
# then starts with F1 and quits with Esc as before. --fullscreen starts so.
# Run on a virtual display of 1280 x 1024.
# usage: full_screen_test.sh VORBLOX VORBLOX_REPLAY FIND_PICTURE OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 find_picture=$3 out=$4
mkdir -p "$out"
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in openbox xdotool xwininfo import convert; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no full-screen test"; exit 0; }
done
wm="" pid=""
cleanup() { for p in "$pid" "$wm"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT
openbox --config-file /dev/null >"$out/openbox.log" 2>&1 &
wm=$!
sleep 0.5

echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.ppm"
shot() { import -window root "$out/$1.png"; convert "$out/$1.png" "$out/$1.ppm"; }
wait_frame() {  # name scale
  for _ in $(seq 50); do
    kill -0 "$pid" 2>/dev/null || fail "$1: the game ended"
    shot "$1"
    at=$("$find_picture" "$out/$1.ppm" "$out/start-replay.ppm" "$2" 2>/dev/null || true)
    [ -n "$at" ] && return 0
    sleep 0.1
  done
  fail "$1: the screen does not show the first frame at scale $2 ($out/$1.png)"
}
geometry() { xwininfo -id "$wid" | awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4} /Width/ {w=$2} /Height/ {h=$2} END {print x, y, w, h}'; }
start() {
  "$vorblox" "$@" 2>"$out/game.err" &
  pid=$!
  wid=""
  for _ in $(seq 100); do
    wid=$(xdotool search --name '^Vorblox v1.0$' 2>/dev/null | head -n 1 || true)
    [ -n "$wid" ] && break
    sleep 0.1
  done
  [ -n "$wid" ] || fail "no game window"
}
# Esc held until the game ends: the game reads the keyboard once a tick,
# and a tap can fall between two reads.
quit() {
  timeout 5 xdotool windowfocus "$wid"; sleep 0.2
  timeout 5 xdotool keydown Escape
  for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.05; done
  timeout 5 xdotool keyup Escape
  code=0; wait "$pid" || code=$?; pid=""
  [ "$code" = 0 ] || fail "$1: exit code $code"
}

start
wait_frame window 1
before=$(geometry)
echo "window: $before, the first frame at $at"
timeout 5 xdotool windowfocus "$wid"; sleep 0.2; timeout 5 xdotool key F11
wait_frame full 2
[ "$(geometry)" = "0 0 1280 1024" ] || fail "full screen: the window is at $(geometry)"
# 1280 x 1024 holds 600 x 800 once: centred.
[ "$at" = "340 112" ] || fail "full screen: the first frame at $at, not centred"
echo "full screen: $(geometry), the first frame at $at at scale 2"
timeout 5 xdotool windowfocus "$wid"; sleep 0.2; timeout 5 xdotool key alt+Return
wait_frame back 1
[ "$(geometry)" = "$before" ] || fail "back from full screen: $(geometry), not $before"
echo "back: $(geometry), the first frame at $at"
quit "after full screen"

start --fullscreen
wait_frame started-full 2
echo "--fullscreen: $(geometry), the first frame at $at at scale 2"
quit "--fullscreen"
echo "full screen: all checks passed; screenshots in $out"
