#!/usr/bin/env bash
# The real game on a 1366 x 768 screen (run on such a virtual display):
# asked for twice its size (--scale 2, VORBLOX_SCALE=3), which does not
# fit, it comes at its own size with one line on stderr saying so, all of
# the window on the screen, its picture whole; and under a window manager
# that gives it a tile of another size, the picture shows whole and
# centred in the tile, the rest black, and the game plays.
# usage: small_screen_test.sh VORBLOX VORBLOX_REPLAY TILING_WM OUTDIR
set -euo pipefail
vorblox=$1 replay=$2 tiling_wm=$3 out=$4
mkdir -p "$out"
title="Vorblox v1.0"

. "$(dirname "$0")/window_helpers.sh"
[ -n "${DISPLAY:-}" ] || fail "run me on a display: tools/virtual-display -screen 0 1366x768x24 -- $0 ..."

pid="" wm=""
cleanup() { for p in "$pid" "$wm"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done; }
trap cleanup EXIT

geometry() { xwininfo -id "$wid" | awk -F: "/$1/ {gsub(/ /, \"\", \$2); print \$2}"; }

ended() {  # waits up to 5 s for the game to exit with code 0
  for _ in $(seq 50); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  kill -0 "$pid" 2>/dev/null && fail "$1: the game did not end"
  set +e; wait "$pid"; code=$?; set -e
  pid=""
  [ $code -eq 0 ] || fail "$1: exit code $code"
}

# Waits until the window shows `expected`; fails naming the case otherwise.
shows() {  # case expected
  for _ in $(seq 50); do
    # Found by its name, the window may not be mapped yet.
    if shot "$1" 2>/dev/null && [ "$(differs "$out/$1.png" "$2")" = "0" ]; then return 0; fi
    sleep 0.1
  done
  fail "$1: the window does not show $2 (see $out/$1.png)"
}

screen_width=$(xwininfo -root | awk '/Width:/ {print $2}')
screen_height=$(xwininfo -root | awk '/Height:/ {print $2}')
echo "1 -" | "$replay" --frame "$out/start-replay.bmp" - >/dev/null
convert "$out/start-replay.bmp" "$out/start-replay.png"

# Too large: the game says so once and comes at its own size, on screen.
for asked in "--scale 2" "VORBLOX_SCALE=3"; do
  name=${asked//[ =]/-}
  if [[ $asked == --* ]]; then "$vorblox" $asked 2>"$out/$name.err" & else env "$asked" "$vorblox" 2>"$out/$name.err" & fi
  pid=$!
  wait_window
  shows "$name" "$out/start-replay.png"
  width=$(geometry Width) height=$(geometry Height)
  left=$(geometry "Absolute upper-left X") top=$(geometry "Absolute upper-left Y")
  [ "$width x $height" = "300 x 400" ] || fail "$asked: a client of $width x $height"
  [ "$left" -ge 0 ] && [ "$top" -ge 0 ] && [ $((left + width)) -le "$screen_width" ] &&
    [ $((top + height)) -le "$screen_height" ] || fail "$asked: the client at $left, $top is not all on the screen"
  xdotool windowfocus --sync "$wid"
  hold_until Escape gone
  ended "$asked"
  lines=$(wc -l <"$out/$name.err")
  grep -q "scale ${asked: -1} (${asked%%[ =]*}).*using scale 1" "$out/$name.err" && [ "$lines" -eq 1 ] ||
    fail "$asked: stderr does not say what was used, in one line: $(cat "$out/$name.err")"
  echo "$asked: $(cat "$out/$name.err")"
done

# A tile of 700 x 560 for the 300 x 400 client: the picture in its middle.
"$tiling_wm" 10 10 700 560 >"$out/wm.log" 2>&1 & wm=$!
for _ in $(seq 50); do grep -q ready "$out/wm.log" && break; sleep 0.1; done
grep -q ready "$out/wm.log" || fail "the tiling window manager did not start: $(cat "$out/wm.log")"
convert -size 700x560 xc:black "$out/start-replay.bmp" -geometry +200+80 -composite "$out/tiled-replay.png"
"$vorblox" & pid=$!
wait_window
shows tiled "$out/tiled-replay.png"
xdotool windowfocus --sync "$wid"
hold_until F1 changed_from tiled-playing "$out/tiled-replay.png" || fail "tiled: F1 changed nothing"
# Outside the picture all stays black.
convert "$out/tiled-playing.png" -fill black -draw "rectangle 200,80 499,479" -format "%[fx:maxima]" info: \
  >"$out/tiled-outside" 2>&1
[ "$(cat "$out/tiled-outside")" = "0" ] || fail "tiled: something drawn outside the picture"
hold_until Escape gone
ended tiled
echo "small screen: all checks passed; screenshots in $out"
