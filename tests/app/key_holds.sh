# Keys held down with xdotool, on whatever X display the test runs
# (Xvfb, or XWayland under a compositor, which hands them to its focused
# client).

# hold KEY SECONDS: for what does not depend on how many ticks see it (the
# game looks at the keyboard once a tick).
hold() {
  xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"
}

# hold_until KEY COMMAND...: KEY held down until COMMAND succeeds (30 s at
# most; false then), then let go. For whatever a test goes on to check:
# how many ticks the game reads in a second of a hold depends on how busy
# the machine is, so a key held for a time can be seen once too often (a
# held arrow repeats on its sixth tick) or not at all.
hold_until() {
  local key=$1 deadline=$((SECONDS + 30)) ok=0
  shift
  xdotool keydown "$key"
  until "$@"; do
    [ $SECONDS -lt $deadline ] || { ok=1; break; }
    sleep 0.05
  done
  xdotool keyup "$key"
  return $ok
}
