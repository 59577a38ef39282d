#!/usr/bin/env bash
# The real game in GNOME's mutter, headless, natively (through libdecor's
# frame) and through mutter's XWayland: the window shows the replay runner's
# first frame at scale 1, 300 x 400, its title bar and close button on the
# screen; held to its size, Super+Up leaves it as it was. Then keyboards
# come and go while the game runs: each remote-desktop session plugs a
# virtual keyboard in and takes it away when it stops, and each presses a
# key.
# Screenshots through mutter's screen cast and PipeWire, keys through its
# remote desktop (mutter_remote.py beside this script).
# usage: mutter_window_test.sh VORBLOX VORBLOX_REPLAY FIND_PICTURE OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 find_picture=$3 out=$4
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in mutter pipewire wireplumber gst-launch-1.0 dbus-run-session convert xdotool xwininfo xprop; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no mutter test"; exit 0; }
done
remote=$(dirname "$(readlink -f "$0")")/mutter_remote.py
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null || { echo "python3-dbus or python3-gi is not installed: no mutter test"; exit 0; }
[ -e /usr/lib/x86_64-linux-gnu/gstreamer-1.0/libgstpipewire.so ] ||
  gst-inspect-1.0 pipewiresrc >/dev/null 2>&1 || { echo "gstreamer1.0-pipewire is not installed: no mutter test"; exit 0; }
mkdir -p "$out"

# A session bus of our own, which mutter's screen cast and remote desktop
# sit on. It starts no services: SDL would have it start the desktop
# portals, which outlive the bus.
if [ -z "${VORBLOX_MUTTER_BUS:-}" ]; then
  export XDG_RUNTIME_DIR=$out/runtime
  rm -rf "$XDG_RUNTIME_DIR"; mkdir -m 700 "$XDG_RUNTIME_DIR"
  cat >"$out/bus.conf" <<'BUS'
<busconfig>
  <type>session</type>
  <listen>unix:tmpdir=/tmp</listen>
  <policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/><allow own="*"/></policy>
</busconfig>
BUS
  VORBLOX_MUTTER_BUS=1 exec dbus-run-session --config-file="$out/bus.conf" -- "$0" "$@"
fi
export XDG_CONFIG_HOME=/nonexistent/vorblox-tests

pipewire="" wireplumber="" mutter="" pid=""
cleanup() {
  for p in "$pid" "$mutter" "$wireplumber" "$pipewire"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done
}
trap cleanup EXIT
pipewire >"$out/pipewire.log" 2>&1 &
pipewire=$!
wireplumber >"$out/wireplumber.log" 2>&1 &
wireplumber=$!
env -u DISPLAY -u WAYLAND_DISPLAY mutter --headless --virtual-monitor 1280x1024 --wayland >"$out/mutter.log" 2>&1 &
mutter=$!
display="" xdisplay=""
for _ in $(seq 200); do
  kill -0 "$mutter" 2>/dev/null || fail "mutter did not start: $(tail -5 "$out/mutter.log")"
  display=$(sed -n "s/.*Using Wayland display name '\(.*\)'.*/\1/p" "$out/mutter.log")
  xdisplay=$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$out/mutter.log")
  [ -n "$display" ] && [ -n "$xdisplay" ] && ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* >/dev/null 2>&1 && gdbus introspect --session -d org.gnome.Mutter.RemoteDesktop \
    -o /org/gnome/Mutter/RemoteDesktop >/dev/null 2>&1 && break
  sleep 0.1
done
[ -n "$display" ] && [ -n "$xdisplay" ] || fail "mutter named no Wayland or X11 display: $(tail -5 "$out/mutter.log")"
export WAYLAND_DISPLAY=$display
# mutter's XWayland lets in only who holds its cookie.
XAUTHORITY=$(ls "$XDG_RUNTIME_DIR"/.mutter-Xwaylandauth.* | head -n 1)
export XAUTHORITY

echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.ppm"

shot() { "$remote" shot "$out/$1.png" && convert "$out/$1.png" "$out/$1.ppm"; }
. "$(dirname "$0")/compositor_helpers.sh"
# The window at scale 1: the picture alone in a window of its size with
# the frame's title bar (libdecor's is 24 pixels; mutter's own frame around
# X11 windows says how tall it is) and close button, all on the screen.
check_window() {  # name how
  local x y title=24
  read -r x y <<<"$at"
  if [ "$2" = xwayland ]; then
    local wid geometry
    wid=$(DISPLAY=$xdisplay xdotool search --pid "$pid" --name '^Vorblox' | head -n 1)
    geometry=$(DISPLAY=$xdisplay xwininfo -id "$wid")
    grep -q 'Width: 300$' <<<"$geometry" && grep -q 'Height: 400$' <<<"$geometry" ||
      fail "$1: the X11 window is not 300x400: $(grep -E 'Width|Height' <<<"$geometry" | tr -s ' \n' ' ')"
    title=$(DISPLAY=$xdisplay xprop -id "$wid" _NET_FRAME_EXTENTS | sed -n 's/.*= *[0-9]*, *[0-9]*, *\([0-9]*\),.*/\1/p')
    [ -n "$title" ] || fail "$1: mutter gave the X11 window no frame"
  fi
  "$remote" frame "$out/$1.ppm" "$x" "$y" "$title" || fail "$1: the window's frame ($out/$1.png)"
}

try() {  # how: native or xwayland
  local how=$1
  if [ "$how" = native ]; then
    env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" 2>"$out/game-$how.err" &
  else
    env -u WAYLAND_DISPLAY DISPLAY="$xdisplay" SDL_VIDEODRIVER=x11 "$vorblox" 2>"$out/game-$how.err" &
  fi
  pid=$!
  wait_frame "$how-start" 1
  check_window "$how-start" "$how"
  echo "$how: the first frame at $at at scale 1"
  # mutter maximizes only windows it may resize: held to its size, the
  # game's window stays as it is.
  "$remote" keys Super_L+Up
  sleep 0.5
  wait_frame "$how-maximize-refused" 1
  check_window "$how-maximize-refused" "$how"
  echo "$how: Super+Up left the window as it was, the first frame at $at at scale 1"
  # The game's own full screen (F11): the picture at scale 2, centred on the
  # 1280 x 1024 monitor; F11 again brings the window back as it was. The
  # keyboard's lost first key is Return here, which the game ignores: Super
  # would stay down (mutter never tells its release) and make it Super+F11.
  "$remote" keys Return F11
  wait_frame "$how-fullscreen" 2
  [ "$at" = "340 112" ] || fail "$how: full screen, the picture shows at $at, not centred at 340 112"
  local full=$at
  "$remote" keys Return F11
  sleep 0.5
  wait_frame "$how-fullscreen-ended" 1
  check_window "$how-fullscreen-ended" "$how"
  echo "$how: F11 twice, full screen at $full at scale 2, then back at $at at scale 1"
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""
}

try native
try xwayland

# Keyboards that come and go: each key through a remote-desktop session of
# its own, whose virtual keyboard mutter plugs in when the session starts
# and takes away when it stops. The first key a new virtual keyboard
# presses reaches no window, under XWayland (xev) as natively: each first
# presses Super, which mutter keeps for itself.
env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" --record "$out/keyboards.rec" 2>"$out/game-keyboards.err" &
pid=$!
wait_frame keyboards-start 1
for key in F1 Left Right Left Right Down; do
  "$remote" keys Super_L "$key"
  lives_after "$key"
done
"$remote" keys Super_L Escape
for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "keyboards: the game did not end on Escape"
code=0; wait "$pid" || code=$?; pid=""
[ "$code" = 0 ] || fail "keyboards: exit code $code"
recorded_keys keyboards "$out/keyboards.rec" F1 LEFT RIGHT LEFT RIGHT DOWN ESC
echo "keyboards: seven plugged in and out, the game lived; recorded: $(tr '\n' ' ' <"$out/keyboards.rec")"
echo "mutter window: all checks passed; screenshots in $out"
