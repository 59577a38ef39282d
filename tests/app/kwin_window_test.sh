#!/usr/bin/env bash
# The real game in KDE's KWin (kwin_wayland --virtual, 1280 x 1024), natively
# and through KWin's XWayland: the window shows the replay runner's first
# frame at scale 1, 300 x 400 and all on the screen, its frame and close
# button too, and KWin lets the frame be neither dragged nor maximized
# (asked to maximize, it leaves the window as it was). Keys play, from KWin's
# XWayland and from keyboards plugged in mid-game.
# KWin is driven through its scripting D-Bus interface (a script per step,
# whose print() lines reach KWin's log), and photographed through its
# ScreenShot2 interface (kwin_screenshot.py).
# usage: kwin_window_test.sh VORBLOX VORBLOX_REPLAY FIND_PICTURE OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 find_picture=$3 out=$4
here=$(cd "$(dirname "$0")" && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
for tool in kwin_wayland dbus-run-session gdbus convert xdpyinfo xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "$tool is not installed: no KWin test"; exit 0; }
done
/usr/bin/python3 -c 'import dbus' 2>/dev/null || { echo "python3-dbus is not installed: no KWin test"; exit 0; }
# XWayland puts its socket there and does not make the directory itself.
if [ ! -d /tmp/.X11-unix ]; then
  [ "$(id -u)" -eq 0 ] || fail "no /tmp/.X11-unix for KWin's XWayland"
  mkdir -m 1777 /tmp/.X11-unix
fi
rm -rf "$out"; mkdir -p "$out"
kwin="" pid="" kwin_pid="" session_pid=""
# KWin itself goes by its process id (its session script tells it), and then
# dbus-run-session ends with its bus; killed first, it would leave both.
cleanup() {
  for p in "$pid" "$session_pid" "$kwin_pid"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done
  [ -z "$kwin" ] || { timeout 5 tail --pid="$kwin" -f /dev/null || kill -KILL "$kwin" 2>/dev/null || true; }
}
trap cleanup EXIT

export XDG_RUNTIME_DIR=$out/runtime XDG_CONFIG_HOME=$out/config
mkdir -m 700 "$XDG_RUNTIME_DIR"; mkdir "$XDG_CONFIG_HOME"
# The packaged binary carries a file capability that a container may not
# grant: a plain copy runs anywhere.
cp "$(command -v kwin_wayland)" "$out/kwin_wayland"
# KWin runs this inside its session: it tells the script KWin's process, its
# own (sleep's, after exec), the session bus and the X display, and keeps the
# session open.
cat >"$out/session.sh" <<SESSION
#!/bin/sh
echo "\$PPID \$\$ \$DBUS_SESSION_BUS_ADDRESS \$DISPLAY" >"$out/session.tmp" && mv "$out/session.tmp" "$out/session"
exec sleep 600
SESSION
chmod +x "$out/session.sh"
# Screenshots and the fake input keyboards need no permission here.
KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1 KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 QT_LOGGING_RULES="kwin_scripting=true" \
  dbus-run-session -- "$out/kwin_wayland" --virtual --xwayland --width 1280 --height 1024 --socket vorblox-kwin \
  --no-lockscreen --no-global-shortcuts --no-kactivities --exit-with-session "$out/session.sh" >"$out/kwin.log" 2>&1 &
kwin=$!
for _ in $(seq 300); do
  [ -s "$out/session" ] && break
  kill -0 "$kwin" 2>/dev/null || fail "KWin did not start: $(tail -5 "$out/kwin.log")"
  sleep 0.1
done
[ -s "$out/session" ] || fail "KWin started no session: $(tail -5 "$out/kwin.log")"
read -r kwin_pid session_pid DBUS_SESSION_BUS_ADDRESS xdisplay <"$out/session"
export DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY=vorblox-kwin
[ -n "$xdisplay" ] || fail "KWin started no XWayland"
for _ in $(seq 100); do xdpyinfo -display "$xdisplay" >/dev/null 2>&1 && break; sleep 0.1; done

echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.ppm"

shot() { /usr/bin/python3 "$here/kwin_screenshot.py" "$out/$1.ppm" && convert "$out/$1.ppm" "$out/$1.png"; }
. "$(dirname "$0")/compositor_helpers.sh"
# kwin_step STEP JS: runs JS in KWin with `w` the game's window, and waits
# for the line it says (say(...)) in KWin's log: $line.
scripts=0
kwin_step() {
  local step=$1 body=$2 file="$out/step-$scripts.js"
  scripts=$((scripts + 1))
  cat >"$file" <<SCRIPT
function say(text) { print("vorblox-step-$scripts " + text); }
var all = workspace.clientList(), w = null;
for (var i = 0; i < all.length; ++i) if (all[i].pid == $pid) w = all[i];
if (!w) say("none");
else { $body }
SCRIPT
  gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.loadScript "$file" "step$scripts" >/dev/null
  gdbus call --session -d org.kde.KWin -o /Scripting -m org.kde.kwin.Scripting.start >/dev/null
  for _ in $(seq 50); do
    line=$(grep -a "vorblox-step-$scripts " "$out/kwin.log" | tail -n 1 || true)
    [ -n "$line" ] && break
    sleep 0.1
  done
  line=${line#*vorblox-step-$scripts }
  [ -n "$line" ] && [ "$line" != none ] || fail "$step: KWin's script found no window of the game ($file)"
}
# The window as KWin has it: frame x y width height, then the client's
# (buffer) x y width height, maximizable, resizeable, min and max sizes.
state() {
  kwin_step "$1" "var f = w.frameGeometry, b = w.bufferGeometry;
    say([f.x, f.y, f.width, f.height, b.x, b.y, b.width, b.height, w.maximizable,
      w.resizeable, w.minSize.width + 'x' + w.minSize.height, w.maxSize.width + 'x' + w.maxSize.height].join(' '));"
  read -r fx fy fw fh bx by bw bh maximizable resizeable minsize maxsize <<<"$line"
  # An X11 window's buffer is KWin's frame, title bar and all: the client is
  # the game's own X window.
  if [ -n "${wid:-}" ]; then
    local info
    info=$(xwininfo -display "$xdisplay" -id "$wid")
    bx=$(awk '/Absolute upper-left X/ {print $NF}' <<<"$info")
    by=$(awk '/Absolute upper-left Y/ {print $NF}' <<<"$info")
    bw=$(awk '/Width:/ {print $NF}' <<<"$info")
    bh=$(awk '/Height:/ {print $NF}' <<<"$info")
  fi
}
# Never to drag the frame to another size: KWin holds it to the game's own
# (and so offers no maximize, which it gives only to windows it may resize).
check_limits() {  # step
  [ "$resizeable" = false ] && [ "$maximizable" = false ] ||
    fail "$1: KWin lets the frame be dragged or maximized (min $minsize, max $maxsize, resizeable $resizeable, maximizable $maximizable)"
}
check_restored() {  # step
  state "$1"
  [ "$bw" = 300 ] && [ "$bh" = 400 ] || fail "$1: the window is ${bw}x$bh, not 300x400"
  [ "$fx" -ge 0 ] && [ "$fy" -ge 0 ] && [ $((fx + fw)) -le 1280 ] && [ $((fy + fh)) -le 1024 ] ||
    fail "$1: the frame ${fw}x$fh at $fx,$fy is not all on the screen"
  # The title bar (and its close button) lies above the client.
  [ "$by" -gt "$fy" ] || fail "$1: no title bar above the window (frame at $fy, client at $by)"
  [ "$at" = "$bx $by" ] || fail "$1: the first frame shows at $at, the window's client at $bx $by"
  check_limits "$1"
}

full_screen() {  # name
  wait_frame "$1" 2
  [ "$at" = "340 112" ] || fail "$1: the picture shows at $at, not centred at 340 112"
}
press_f11() {  # how
  if [ "$1" = native ]; then keyboard --wait 0.3 87; else DISPLAY=$xdisplay xdotool key F11; fi
}

try() {  # how: native or xwayland
  local how=$1
  if [ "$how" = native ]; then
    env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" 2>"$out/game-$how.err" &
  else
    env -u WAYLAND_DISPLAY DISPLAY="$xdisplay" SDL_VIDEODRIVER=x11 "$vorblox" 2>"$out/game-$how.err" &
  fi
  pid=$! wid=""
  wait_frame "$how-before" 1
  if [ "$how" = xwayland ]; then
    wid=$(DISPLAY=$xdisplay xdotool search --pid "$pid" --name '^Vorblox' | head -n 1)
    [ -n "$wid" ] || fail "$how: no X window of the game"
  fi
  check_restored "$how: at first"
  echo "$how: at first, ${bw}x$bh at $bx,$by (frame ${fw}x$fh at $fx,$fy), min $minsize max $maxsize"
  # Asked all the same, KWin leaves the window as it is.
  kwin_step "$how: maximize" "w.setMaximize(true, true); say('done');"
  sleep 0.5
  wait_frame "$how-maximize-refused" 1
  check_restored "$how: maximize refused"
  # Full screen, imposed by KWin and then the game's own (F11): the picture
  # whole and centred at scale 2 on the 1280 x 1024 screen, and the window
  # back to its own size when it ends.
  # (KWin offers no full screen of its own to an X window held to one size.)
  kwin_step "$how: KWin's full screen" "say(w.fullScreenable ? (w.fullScreen = true, 'set') : 'refused');"
  if [ "$line" = set ]; then
    full_screen "$how-kwin-fullscreen"
    kwin_step "$how: KWin's full screen ended" "w.fullScreen = false; say('done');"
    sleep 0.5
    wait_frame "$how-kwin-fullscreen-ended" 1
    check_restored "$how: after KWin's full screen"
  else
    echo "$how: KWin offers no full screen"
  fi
  press_f11 "$how"
  full_screen "$how-f11"
  press_f11 "$how"
  sleep 0.5
  wait_frame "$how-f11-ended" 1
  check_restored "$how: after F11 twice"
  kill "$pid"; wait "$pid" 2>/dev/null || true; pid=""
}

# Keys through KWin's XWayland, sent with XTEST (KWin 5.27 offers no
# virtual keyboard to an ordinary Wayland client; its fake input protocol
# adds a keyboard that goes with the client that made it).
keys() {
  env -u WAYLAND_DISPLAY DISPLAY="$xdisplay" SDL_VIDEODRIVER=x11 "$vorblox" --record "$out/keys.rec" 2>"$out/game-keys.err" &
  pid=$!
  wait_frame keys-start 1
  for key in F1 Left Right Down Escape; do
    DISPLAY=$xdisplay xdotool key --delay 150 "$key"
    sleep 0.2
  done
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  code=0; wait "$pid" || code=$?; pid=""
  [ "$code" = 0 ] || fail "keys: exit code $code"
  recorded_keys keys "$out/keys.rec" F1 LEFT RIGHT DOWN ESC
  echo "keys: recorded $(tr '\n' ' ' <"$out/keys.rec"), exit 0"
}

# Keyboards plugged in mid-game, natively: each a client of KWin's fake
# input that lives a moment, presses keys and goes (evdev codes: F1 59,
# Left 105, Right 106, Down 108, Esc 1). The first presses at once, before
# the game's window can have heard of it.
keyboard() { timeout 10 /usr/bin/python3 "$here/kwin_keyboard.py" "$@" || fail "keyboards: the keyboard with keys $* failed"; }
keyboards() {
  # Each fake input client brings a pointer too. The first pointer to come
  # over the window has SDL look up the cursor's size (D-Bus) and load its
  # theme, which holds the game up for half a second here, once; the keys
  # are what is tried, so the pointer waits in a corner, off the window.
  keyboard --pointer 1279 1023
  env -u DISPLAY SDL_VIDEODRIVER=wayland "$vorblox" --record "$out/keyboards.rec" 2>"$out/game-keyboards.err" &
  pid=$!
  wait_frame keyboards-start 1
  keyboard 105
  lives_after "Left, pressed at once"
  for key in 59 105 106 105 106 108; do
    keyboard --wait 0.3 "$key"
    lives_after "key $key"
  done
  keyboard --wait 0.3 1
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  code=0; wait "$pid" || code=$?; pid=""
  [ "$code" = 0 ] || fail "keyboards: exit code $code"
  recorded_keys keyboards "$out/keyboards.rec" LEFT F1 LEFT RIGHT LEFT RIGHT DOWN ESC
  echo "keyboards: eight plugged in and out, the game lived; recorded: $(tr '\n' ' ' <"$out/keyboards.rec")"
}

keys
keyboards
try native
try xwayland
echo "KWin window: all checks passed; screenshots in $out"
