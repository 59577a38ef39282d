#!/usr/bin/env bash
# The X server goes away under the running game (a desktop session ends, a
# forwarded connection drops): the game must end within a second with one
# line on stderr and a non-zero exit code, and never spin on the dead
# connection. The server is killed at several moments: while the game
# starts, right after its window appears, while it waits idle at the start
# prompt, and during play with a key held down. When Weston is installed, a
# Wayland compositor (Weston in a window of our X server) is killed too.
# usage: display_lost_test.sh VORBLOX OUTDIR
set -euo pipefail
vorblox=$1 out=$2
mkdir -p "$out"
title="Vorblox v1.0"
failures=0

fail() { echo "FAIL: $*" >&2; exit 1; }
command -v Xvfb >/dev/null || fail "Xvfb is not installed"

xvfb="" pid="" weston=""
cleanup() {
  for p in "$pid" "$weston" "$xvfb"; do [ -z "$p" ] || kill -KILL "$p" 2>/dev/null || true; done
}
trap cleanup EXIT

# An X server of our own, so that we can kill it; it picks a free number.
start_server() {
  : >"$out/display"
  # -noreset as in tools/virtual-display.
  Xvfb -displayfd 3 -nolisten tcp -noreset -screen 0 640x480x24 3>"$out/display" >"$out/xvfb.log" 2>&1 &
  xvfb=$!
  for _ in $(seq 300); do
    number=$(head -n 1 "$out/display" || true)
    if [[ $number =~ ^[0-9]+$ ]]; then
      export DISPLAY=:$number
      return 0
    fi
    kill -0 "$xvfb" 2>/dev/null || break
    sleep 0.05
  done
  fail "Xvfb did not start: $(cat "$out/xvfb.log")"
}

wait_window() {
  for _ in $(seq 200); do
    xdotool search --name "^${title}\$" >/dev/null 2>&1 && return 0
    kill -0 "$pid" 2>/dev/null || fail "$1: the game ended before its window appeared"
    sleep 0.05
  done
  fail "$1: no window titled $title"
}

# CPU time (clock ticks) the process has used so far.
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat" 2>/dev/null || echo 0; }

# Kills the display server (the compositor, when there is one), then checks
# how the game ends.
kill_server_and_check() {
  local name=$1 start now elapsed code lines
  kill -KILL "${weston:-$xvfb}"
  start=$(date +%s%N)
  # Up to three seconds, so that a game that hangs on is measured.
  while kill -0 "$pid" 2>/dev/null && [ $(( $(date +%s%N) - start )) -lt 3000000000 ]; do sleep 0.01; done
  now=$(date +%s%N)
  elapsed=$(( (now - start) / 1000000 ))
  for p in $weston $xvfb; do kill -KILL "$p" 2>/dev/null || true; wait "$p" 2>/dev/null || true; done
  xvfb="" weston=""
  if kill -0 "$pid" 2>/dev/null; then
    local before after
    before=$(cpu_ticks "$pid"); sleep 1; after=$(cpu_ticks "$pid")
    echo "FAIL: $name: still running ${elapsed} ms after the server died, using $(( after - before ))% of a core" >&2
    kill -KILL "$pid"; wait "$pid" 2>/dev/null || true; pid=""
    failures=$((failures + 1))
    return
  fi
  set +e; wait "$pid"; code=$?; set -e
  pid=""
  lines=$(wc -l <"$out/$name.err")
  echo "$name: exit code $code after ${elapsed} ms; stderr: $(cat "$out/$name.err")"
  local problem=""
  # Killed before SDL held its connection, the start-up fails instead and
  # says so (exit code 1 as well); that may take SDL's lines with it.
  if [ "$name" = starting ] && grep -q "Too old or no DirectX installed" "$out/$name.err"; then
    lines=1
  else
    grep -q "lost the connection to the display " "$out/$name.err" || problem+=" no reason given;"
  fi
  [ "$code" -ne 0 ] || problem+=" exit code 0;"
  [ "$code" -lt 128 ] || problem+=" killed by signal $((code - 128));"
  [ "$lines" -eq 1 ] || problem+=" $lines lines on stderr, not one;"
  [ "$elapsed" -le 1000 ] || problem+=" took ${elapsed} ms;"
  if [ -n "$problem" ]; then
    echo "FAIL: $name:$problem" >&2
    failures=$((failures + 1))
  fi
}

# Weston, in a window of the X server, with a socket of its own.
start_compositor() {
  export XDG_RUNTIME_DIR=$out/runtime
  rm -rf "$XDG_RUNTIME_DIR"; mkdir -m 700 "$XDG_RUNTIME_DIR"
  weston --backend=x11-backend.so --socket=vorblox-test --idle-time=0 --width=640 --height=480 \
    >"$out/weston.log" 2>&1 &
  weston=$!
  for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/vorblox-test" ] && return 0
    kill -0 "$weston" 2>/dev/null || break
    sleep 0.05
  done
  fail "Weston did not start: $(cat "$out/weston.log")"
}

run_case() {
  local name=$1
  start_server
  if [ "$name" = wayland ]; then
    start_compositor
    env -u DISPLAY WAYLAND_DISPLAY=vorblox-test SDL_VIDEODRIVER=wayland "$vorblox" 2>"$out/$name.err" &
  else
    "$vorblox" 2>"$out/$name.err" &
  fi
  pid=$!
  case $name in
    starting)  # in the start-up, once the game holds a connection
      for _ in $(seq 200); do
        ls -l "/proc/$pid/fd" 2>/dev/null | grep -q socket && break
        sleep 0.005
      done ;;
    window-shown) wait_window "$name" ;;
    idle) wait_window "$name"; sleep 1.5 ;;  # asleep in its message wait
    playing)
      wait_window "$name"
      wid=$(xdotool search --name "^${title}\$" | head -n 1)
      xdotool windowfocus --sync "$wid"
      # F1 starts one game however long it is held: both stay down until
      # the server goes, so that neither can fall between two reads.
      xdotool keydown F1
      xdotool keydown Left
      sleep 0.5 ;;
    wayland) sleep 2 ;;  # no xdotool there: time to reach the start prompt
  esac
  if [[ $name = starting || $name = wayland ]] && ! kill -0 "$pid" 2>/dev/null; then
    fail "$name: the game ended before the server was killed"
  fi
  kill_server_and_check "$name"
}

moments=(starting window-shown idle playing)
if command -v weston >/dev/null; then moments+=(wayland); else echo "Weston is not installed: no Wayland case"; fi
for moment in "${moments[@]}"; do run_case "$moment"; done
[ "$failures" -eq 0 ] || fail "$failures of ${#moments[@]} moments went wrong"
echo "display lost: all checks passed"
