#!/usr/bin/env bash
# The real game in a headless sway (wlroots, the pixman renderer), natively
# and through XWayland: sway floats the window, held to one size, at 300 x
# 400 on the screen, showing the replay runner's first frame pixel for pixel;
# tiled, the picture is whole and centred at the largest whole scale; floated
# again, the window is 300 x 400 again, the first frame as at first; twice.
# Then keyboards come and go while the game runs (sway has none of its own
# here): virtual keyboards plugged in one after another, each pressing a
# key, and the game lives on.
# usage: sway_window_test.sh VORBLOX VORBLOX_REPLAY FIND_PICTURE OUTDIR
# sway refuses to run as root: as root, the script runs itself again as the
# user vorblox-test (.ci/setup test makes it).
set -euo pipefail
vorblox=$1 replay=$2 find_picture=$3 out=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in sway swaymsg grim wtype convert jq xdpyinfo; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no sway test"; exit 0; }
done
mkdir -p "$out"
if [ "$(id -u)" -eq 0 ]; then
  id vorblox-test >/dev/null 2>&1 || fail "no user vorblox-test to run sway as (.ci/setup test makes it)"
  chown -R vorblox-test "$out"
  exec runuser -u vorblox-test -- "$0" "$@"
fi

sway="" pid=""
cleanup() { for p in "$pid" "$sway"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

export XDG_RUNTIME_DIR=$out/runtime
rm -rf "$XDG_RUNTIME_DIR"; mkdir -m 700 "$XDG_RUNTIME_DIR"
cat >"$out/config" <<'CONFIG'
output HEADLESS-1 resolution 1280x1024 position 0,0 background #404040 solid_color
default_border normal
xwayland enable
CONFIG
WLR_BACKENDS=headless WLR_RENDERER=pixman WLR_LIBINPUT_NO_DEVICES=1 sway -c "$out/config" >"$out/sway.log" 2>&1 &
sway=$!
for _ in $(seq 200); do
  [ -S "$XDG_RUNTIME_DIR/wayland-1" ] && break
  kill -0 "$sway" 2>/dev/null || fail "sway did not start: $(tail -5 "$out/sway.log")"
  sleep 0.05
done
export WAYLAND_DISPLAY=wayland-1 SWAYSOCK
SWAYSOCK=$(ls "$XDG_RUNTIME_DIR"/sway-ipc.*.sock 2>/dev/null | head -n 1)
[ -n "$SWAYSOCK" ] || fail "no sway IPC socket"

echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.ppm"

shot() { grim "$out/$1.png"; convert "$out/$1.png" "$out/$1.ppm"; }
. "$(dirname "$0")/compositor_helpers.sh"
# The game's window in sway's tree: x y width height of its content.
rect() { swaymsg -t get_tree | jq -r "[.. | objects | select(.pid? == $pid)][0] | \"\(.rect.x) \(.rect.y) \(.window_rect.width) \(.window_rect.height)\""; }

floating() {  # how round: the window floats at 300 x 400, all on the screen
  wait_frame "$1-floating-$2" 1
  read -r x y width height <<<"$(rect)"
  [ "$width" = 300 ] && [ "$height" = 400 ] || fail "$1: floating ($2), the window is ${width}x$height, not 300x400"
  [ "$x" -ge 0 ] && [ "$y" -ge 0 ] && [ $((x + width)) -le 1280 ] && [ $((y + height)) -le 1024 ] ||
    fail "$1: floating ($2), the window at $x,$y is not all on the screen"
  echo "$1: floating ($2), window ${width}x$height at $x,$y, the first frame at $at"
}

try() {  # how: native or xwayland
  local how=$1
  if [ "$how" = native ]; then
    env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" 2>"$out/game-$how.err" &
  else
    env -u WAYLAND_DISPLAY DISPLAY="$xdisplay" SDL_VIDEODRIVER=x11 "$vorblox" 2>"$out/game-$how.err" &
  fi
  pid=$!
  # sway floats a window held to one size, as the game's is.
  floating "$how" 0
  for round in 1 2; do
    # Tiled: the whole output less the title bar, so twice the size fits.
    swaymsg "[pid=$pid] floating disable" >/dev/null
    wait_frame "$how-tiled-$round" 2
    echo "$how: tiled ($round), the first frame at $at at scale 2; window $(rect)"
    swaymsg "[pid=$pid] floating enable" >/dev/null
    floating "$how" "$round"
  done
  # Full screen imposed by sway: 1280 x 1024 holds the picture at scale 2.
  swaymsg "[pid=$pid] fullscreen enable" >/dev/null
  wait_frame "$how-fullscreen" 2
  [ "$at" = "340 112" ] || fail "$how: full screen, the picture shows at $at, not centred at 340 112"
  swaymsg "[pid=$pid] fullscreen disable" >/dev/null
  floating "$how" after-fullscreen
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""
}

try native

# Keyboards that come and go: each a new virtual keyboard that lives a
# moment, presses one key and goes. The first presses at once, so that its
# key is most often down already when the keyboard reaches the game's window:
# SDL 2.26.5 looks such a key up in the layout the compositor has not named
# yet (it names it only after), which the layer mends (README, Linux). The
# others press once they are there. Every key reaches the game, the first
# too: SDL takes a key already down as the keyboard arrives for none, and
# the layer tells it as pressed (README, Linux).
env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" --record "$out/keyboards.rec" 2>"$out/game-keyboards.err" &
pid=$!
wait_frame keyboards-start 1
wtype -P Left -s 200 -p Left
lives_after "Left, pressed at once"
for key in F1 Left Right Left Right Down; do
  wtype -s 300 -P "$key" -s 200 -p "$key"
  lives_after "$key"
done
wtype -s 300 -P Escape -s 100 -p Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
code=0; wait "$pid" || code=$?; pid=""
[ "$code" = 0 ] || fail "keyboards: exit code $code"
recorded_keys keyboards "$out/keyboards.rec" LEFT F1 LEFT RIGHT LEFT RIGHT DOWN ESC
echo "keyboards: seven plugged in and out, the game lived; recorded: $(tr '\n' ' ' <"$out/keyboards.rec")"
# sway starts XWayland on the first free display and gives its children
# that DISPLAY.
swaymsg exec "echo \$DISPLAY > $out/xdisplay" >/dev/null
xdisplay=""
for _ in $(seq 100); do
  xdisplay=$(cat "$out/xdisplay" 2>/dev/null || true)
  [ -n "$xdisplay" ] && break
  sleep 0.05
done
[ -n "$xdisplay" ] || fail "sway started no XWayland"
# It starts when first asked for, which takes a busy machine a while.
for _ in $(seq 300); do xdpyinfo -display "$xdisplay" >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo -display "$xdisplay" >/dev/null 2>&1 || fail "XWayland at $xdisplay does not answer"
try xwayland
echo "sway window: all checks passed; screenshots in $out"
