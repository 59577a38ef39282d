#!/usr/bin/env bash
# The Linux game's options: help and version on stdout with exit 0; bad
# usage a message on stderr, nothing on stdout and exit 2, before any window.
# usage: options_test.sh VORBLOX
set -uo pipefail
vorblox=$1
failed=0
fail() { echo "FAIL: $*" >&2; failed=1; }

# expect CODE STDOUT-PATTERN STDERR-PATTERN [ENV=VALUE...] -- ARGS...
expect() {
  local code=$1 out_pattern=$2 err_pattern=$3 envs=()
  shift 3
  while [ "$1" != -- ]; do envs+=("$1"); shift; done
  shift
  local out err got
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY "${envs[@]}" "$vorblox" "$@" 2>/tmp/options_test.$$)
  got=$?
  err=$(cat /tmp/options_test.$$); rm -f /tmp/options_test.$$
  [ "$got" = "$code" ] || fail "$* ${envs[*]}: exit $got, not $code"
  grep -qE -- "$out_pattern" <<<"$out" || fail "$* ${envs[*]}: stdout '$out'"
  grep -qE -- "$err_pattern" <<<"$err" || fail "$* ${envs[*]}: stderr '$err'"
}

expect 0 '^  --scale N ' '^$' -- --help
expect 0 '^vorblox [0-9]+\.[0-9]+\.[0-9]+$' '^$' -- --version
# The command line beats the environment: the game gets as far as finding
# no display.
expect 1 '^$' 'DirectX' VORBLOX_SCALE=9 SDL_VIDEODRIVER= -- --scale=3
for bad in 0 5 x 2x ''; do
  expect 2 '^$' "^vorblox: --scale wants a whole number from 1 to 4, not '$bad'$" -- --scale "$bad"
done
expect 2 '^$' "^vorblox: --scale needs a whole number from 1 to 4" -- --scale
expect 2 '^$' "^vorblox: unknown option '--fullscreen'" -- --fullscreen
expect 2 '^$' "^vorblox: unexpected argument 'level9'" -- level9
expect 2 '^$' "^vorblox: --help takes no value" -- --help=yes
expect 2 '^$' "^vorblox: VORBLOX_SCALE wants a whole number from 1 to 4, not '7'" VORBLOX_SCALE=7 --
[ $failed = 0 ] && echo "options: all checks passed"
exit $failed
