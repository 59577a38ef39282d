#!/usr/bin/env bash
# The manners both Linux programs share: help (-h too) and version on stdout
# with exit 0, and a write failure of either reported with exit 1; every
# usage mistake one message on stderr, nothing on stdout, exit 2, before any
# window or any tick; --opt=value as --opt value; plainly written numbers
# only; quoted input shown escaped; a byte-order mark in a script accepted.
# usage: options_test.sh VORBLOX VORBLOX_REPLAY
set -uo pipefail
vorblox=$1 replay=$2
failed=0
export XDG_CONFIG_HOME=/nonexistent/vorblox-tests  # a bindings file of the machine's stays out
checks=0
fail() { echo "FAIL: $*" >&2; failed=1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# expect CODE STDOUT-PATTERN STDERR-PATTERN [ENV=VALUE...] -- PROGRAM ARGS... [<INPUT-FILE via $input]
input=/dev/null
literal() { sed 's/[].+*?[^$()|{}\\]/\\&/g' <<<"$1"; }  # a regular expression matching $1
expect() {
  local code=$1 out_pattern=$2 err_pattern=$3 envs=()
  shift 3
  while [ "$1" != -- ]; do envs+=("$1"); shift; done
  shift
  local out err got
  out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u VORBLOX_SCALE "${envs[@]}" timeout 20 "$@" <"$input" 2>"$work/err")
  got=$?
  err=$(cat "$work/err")
  checks=$((checks + 1))
  [ "$got" = "$code" ] || fail "${envs[*]} $*: exit $got, not $code (stderr: $err)"
  grep -qE -- "$out_pattern" <<<"$out" || fail "${envs[*]} $*: stdout '$out'"
  grep -qE -- "$err_pattern" <<<"$err" || fail "${envs[*]} $*: stderr '$err'"
}

for program in "$vorblox" "$replay"; do
  name=$(basename "$program")
  for help in --help -h; do expect 0 "^Usage: $name \\[OPTION\\]\\.\\.\\." '^$' -- "$program" "$help"; done
  expect 0 "^$name [0-9]+\\.[0-9]+\\.[0-9]+$" '^$' -- "$program" --version
  for asked in --help --version; do
    expect 1 '^$' "^$name: cannot write the ${asked#--}: No space left on device$" -- sh -c "exec \"\$0\" $asked >/dev/full" "$program"
  done
  expect 2 '^$' "^$name: --help takes no value" -- "$program" --help=yes
  expect 2 '^$' "^$name: unknown option '--windowed'$" -- "$program" --windowed
  expect 2 '^$' "^Try '$name --help' for more information\\.$" -- "$program" -x
  # What was typed comes back escaped, not as raw control characters.
  expect 2 '^$' "^$name: unknown option '--\\\\x1b\\[2J\\\\t'$" -- "$program" $'--\e[2J\t'
done

# The game: both ways of giving a value reach the display (there is none).
for scale in --scale=3 "--scale 3"; do
  # shellcheck disable=SC2086
  expect 1 '^$' '^vorblox: no display to show the game on' SDL_VIDEODRIVER= -- "$vorblox" $scale
done
expect 1 '^$' '^vorblox: no display to show the game on' SDL_VIDEODRIVER= VORBLOX_SCALE= -- "$vorblox"  # empty counts as unset
for bad in 0 5 x 2x '' ' 2' +2 02 2.0; do
  expect 2 '^$' "^vorblox: --scale wants a whole number from 1 to 4, not '$(literal "$bad")'$" -- "$vorblox" --scale "$bad"
done
# UTF-8 shows as it is; bytes that are not UTF-8, and invisible marks, as escapes.
expect 2 '^$' "^vorblox: --scale wants a whole number from 1 to 4, not 'deux→2'$" -- "$vorblox" --scale 'deux→2'
expect 2 '^$' "^vorblox: --scale wants a whole number from 1 to 4, not '\\\\xff\\\\xc3\\\\uFEFF2'$" \
  -- "$vorblox" --scale $'\xff\xc3\xef\xbb\xbf2'
expect 2 '^$' "^vorblox: --scale needs a whole number from 1 to 4" -- "$vorblox" --scale
expect 2 '^$' "^vorblox: unexpected argument 'level9'" -- "$vorblox" level9
expect 2 '^$' "^vorblox: unexpected argument '--scale'" -- "$vorblox" -- --scale
# A bad VORBLOX_SCALE stops the game, whether --scale is given or not.
expect 2 '^$' "^vorblox: VORBLOX_SCALE wants a whole number from 1 to 4, not '7'$" VORBLOX_SCALE=7 -- "$vorblox"
expect 2 '^$' "^vorblox: VORBLOX_SCALE wants a whole number from 1 to 4, not '02'$" VORBLOX_SCALE=02 -- "$vorblox" --scale 2
# The watch's options want a watch, and values they know.
expect 2 '^$' "^vorblox: --from, --speed and --paused are for --watch$" -- "$vorblox" --paused
expect 2 '^$' "^vorblox: --speed wants 1/2, 1, 2, 4, 8 or max, not '3'$" -- "$vorblox" --watch - --speed 3
expect 2 '^$' "^vorblox: --from wants a tick count .* not '1:5'$" -- "$vorblox" --watch - --from 1:5
# --watch - reads the standard input: a bad first step there is named so
# before the window opens (later ones as they are played); a script that
# begins with a byte-order mark plays (up to the display).
printf '# made by hand\n1 JUMP\n' >"$work/bad.rec"; input=$work/bad.rec
expect 2 '^$' "^vorblox: standard input: line 2: unknown key 'JUMP'" -- "$vorblox" --watch -
# Seconds are two digits, a zero among them too: the moment is taken, and
# the recording is read.
expect 2 '^$' "^vorblox: standard input: line 2: unknown key 'JUMP'" -- "$vorblox" --watch - --from 1:05
expect 2 '^$' "^vorblox: --from wants a tick count .* not '1:60'$" -- "$vorblox" --watch - --from 1:60
printf '\xef\xbb\xbf# made in an editor\n1 F1\n' >"$work/bom.rec"; input=$work/bom.rec
expect 1 '^$' '^vorblox: no display to show the game on' SDL_VIDEODRIVER= -- "$vorblox" --watch -
input=/dev/null
# --record - writes the recording to the standard output and nothing else:
# a start that fails leaves it empty, its messages on stderr.
expect 1 '^$' '^vorblox: no display to show the game on' SDL_VIDEODRIVER= -- "$vorblox" --record -
printf '2 LE\e]0;x\aFT\n1 F1\n' >"$work/control.rec"
expect 2 '^$' "line 1: unknown key 'LE\\\\x1b\\]0;x\\\\x07FT'" -- "$vorblox" --watch "$work/control.rec"
# A link in place of a recording, or in a file: a bad one is refused before
# any window, saying what is wrong with it; a good one plays (up to the display).
link=$("$replay" --link https://example.org/vorblox/ "$work/bom.rec")
expect 2 '^$' "^vorblox: the link is cut short: its last 3 characters are missing$" -- "$vorblox" --watch "${link%???}"
printf '%s\n' "${link}x%" >"$work/altered.link"
expect 2 '^$' "^vorblox: $(literal "$work")/altered.link: the link was altered: it has '%'" \
  -- "$vorblox" --watch "$work/altered.link"
printf '%s\n' "$link" >"$work/good.link"
for watched in "$link" "$work/good.link"; do
  expect 1 '^$' '^vorblox: no display to show the game on' SDL_VIDEODRIVER= -- "$vorblox" --watch "$watched"
done

# The replay runner.
for frame in "--frame=$work/a.bmp" "--frame $work/b.bmp"; do
  # shellcheck disable=SC2086
  expect 0 '^\{"ticks":0,' '^$' -- "$replay" $frame -
done
[ -s "$work/a.bmp" ] && [ -s "$work/b.bmp" ] || fail "--frame=FILE and --frame FILE did not both write their frame"
expect 0 '^\{"ticks":1,' '^$' -- "$replay" "$work/bom.rec" --frame-sums  # options after SCRIPT too
expect 2 '^$' "^vorblox-replay: one SCRIPT only, not 'a.rec' and 'b.rec'$" -- "$replay" a.rec b.rec
expect 2 '^$' "^vorblox-replay: no SCRIPT given" -- "$replay" --trace
expect 2 '^$' "^vorblox-replay: --frame needs a file name" -- "$replay" --frame
for bad in 05 +5 ' 5' -1 5x 1000000000001; do
  expect 2 '^$' "^vorblox-replay: --lose-surfaces wants a tick count, a whole number from 0 to 1000000000000, not '$(literal "$bad")'$" \
    -- "$replay" --lose-surfaces "$bad" -
done
for bad in 5 5:15 :16 05:16 5:016; do
  expect 2 '^$' "^vorblox-replay: --desktop-bits wants TICK:BITS" -- "$replay" --desktop-bits "$bad" -
done
# The frame's folder is looked at before the run: this script would take
# years to play.
printf '1000000000000 -\n' >"$work/long.rec"; input=$work/long.rec
expect 2 '^$' "^vorblox-replay: cannot write '$work/missing/end.bmp': No such file or directory$" \
  -- "$replay" --frame "$work/missing/end.bmp" -
expect 2 '^$' "^vorblox-replay: cannot write '$work': Is a directory$" -- "$replay" --frame "$work" -
input=/dev/null
expect 1 '^$' "^vorblox-replay: cannot write the output: No space left on device$" \
  -- sh -c 'exec "$0" - >/dev/full' "$replay"
expect 1 '^\{"ticks":0,' "^vorblox-replay: cannot save the frame: /dev/full: No space left on device$" \
  -- "$replay" --frame /dev/full -
# A frame is put in place by renaming a new file over the old one; a device
# is written where it is, never replaced.
[ -c /dev/full ] || fail "--frame /dev/full took the device away"
printf '1 F1\n100 DOWN\n' >"$work/trace.rec"; input=$work/trace.rec
expect 1 '^$' "^vorblox-replay: cannot write the output: No space left on device$" \
  -- sh -c 'exec "$0" --trace - >/dev/full' "$replay"
input=/dev/null
# --link prints a link holding the script's game and plays nothing.
expect 0 '^https://example\.org/vorblox/#watch=1[A-Za-z0-9_-]+$' '^$' \
  -- "$replay" --link https://example.org/vorblox/ "$work/bom.rec"
expect 2 '^$' "^vorblox-replay: --link wants the page's address \(such as https://example.org/vorblox/\) without a # part" \
  -- "$replay" --link 'https://example.org/#top' "$work/bom.rec"
expect 2 '^$' "^vorblox-replay: --link plays nothing: it does not go with --trace$" \
  -- "$replay" --link https://example.org/ --trace "$work/bom.rec"
expect 2 '^$' "^vorblox-replay: standard input: line 2: unknown key 'JUMP'" \
  -- sh -c 'exec "$0" --link https://example.org/ - <"$1"' "$replay" "$work/bad.rec"
expect 2 '^$' "^vorblox-replay: the link holds no game: it has no #watch= part$" -- "$replay" https://example.org/vorblox/

[ $failed = 0 ] && echo "options: all $checks checks passed"
exit $failed
