#!/usr/bin/env bash
# recording_test.sh VORBLOX VORBLOX-REPLAY, under a virtual X display.
# What a player keeps is not lost or misread: a recording replaces its file
# only once a game starts and never mixes with another game's; signals, a
# size limit and closed standard streams keep it whole; scripts are read as
# they play, bad or endless input refused at once.
set -u; [ -n "${TRACE:-}" ] && set -x
vorblox=$(realpath "$1") replay=$(realpath "$2")
. "$(dirname "$0")/window_helpers.sh"
title="Vorblox v1.0"
out=$(mktemp -d); trap 'rm -rf "$out"' EXIT
cd "$out"
header='# A game of Vorblox: ticks (64 a second) and the keys held in them.'

# The runner: bad and endless input refused at once, with the line's number.
printf '%0500d\n' 1 >long.rec
msg=$("$replay" long.rec 2>&1); [ $? = 2 ] || fail "a 500-byte line: exit not 2"
grep -q "^vorblox-replay: long.rec: line 1 is longer than 400 bytes: '0\{40\}'...$" <<<"$msg" || fail "long line: $msg"
timeout 20 "$replay" /dev/zero 2>/dev/null; [ $? = 2 ] || fail "/dev/zero is not refused with exit 2"
timeout 20 "$replay" - </dev/zero 2>/dev/null; [ $? = 2 ] || fail "- </dev/zero is not refused with exit 2"
"$replay" - <&- 2>/dev/null; [ $? = 2 ] || fail "a closed standard input is not refused"
"$replay" - </tmp 2>/dev/null; [ $? = 2 ] || fail "a directory as standard input is not refused"
printf '1 F1\n' >one.rec
msg=$("$replay" one.rec 2>&1 >&-); [ $? = 1 ] || fail "a closed standard output: exit not 1"
grep -q "the standard output is closed" <<<"$msg" || fail "closed output: $msg"
"$replay" --frame "" one.rec >/dev/null 2>&1; [ $? = 2 ] || fail "--frame '' is not refused with exit 2"
ln -s made.bmp link.bmp; "$replay" --frame link.bmp one.rec >/dev/null && [ -s made.bmp ] || fail "--frame does not follow a link"
[ "$(printf '000000000000000000005 -\n' | "$replay" - | grep -o '"ticks":[0-9]*')" = '"ticks":5' ] || fail "leading zeros"
# A recording cut in the middle of its last line plays the whole lines.
printf '%s\n1 F1\n10 DOWN\n5 LEFT+DO' "$header" >cut.rec
msg=$("$replay" cut.rec 2>&1 >cut.out); [ $? = 0 ] || fail "a cut recording: $msg"
grep -q '"ticks":11,' cut.out || fail "a cut recording plays: $(cat cut.out)"
grep -q "line 4 is cut short" <<<"$msg" || fail "a cut line is not reported: $msg"

# An existing recording stays byte for byte until a game starts (F1), and
# a second game cannot record into the same file meanwhile.
printf 'kept\n' >keep.rec
"$vorblox" --record keep.rec & pid=$!
wait_window
msg=$("$vorblox" --record keep.rec 2>&1); [ $? = 2 ] || fail "a second game recording into the same file: exit not 2"
grep -q "another game is recording into 'keep.rec' already" <<<"$msg" || fail "second game: $msg"
xdotool windowfocus --sync "$wid"; hold_until Escape gone; wait $pid
[ "$(cat keep.rec)" = kept ] || fail "Esc at the prompt changed the file: $(cat keep.rec)"
[ "$(ls -A | grep -c keep)" = 1 ] || fail "files left beside it: $(ls -A)"

# SIGTERM ends the game as the close button does: every tick written, the
# file replays, the exit says the signal.
"$vorblox" --record keep.rec & pid=$!
wait_window; xdotool windowfocus --sync "$wid"
hold_until F1 in_file keep.rec "^$header\$" || fail "F1 did not put the recording in place"
hold Down 1
kill -TERM $pid; wait $pid; code=$?
[ $code = 143 ] || fail "SIGTERM: exit $code, not 143"
[ "$(tail -c 1 keep.rec | od -An -c | tr -d ' ')" = '\n' ] || fail "SIGTERM left a cut line"
"$replay" keep.rec >/dev/null || fail "the recording ended by SIGTERM does not replay"

# A size limit stops the recording with one message; the game goes on.
(ulimit -f 1; exec "$vorblox" --record small.rec 2>small.err) & pid=$!
wait_window; xdotool windowfocus --sync "$wid"
hold_until F1 in_file small.rec "^$header\$" || fail "F1 did not start the recording under a size limit"
# Each press and release that a tick sees is a line: keys go on until the
# limit is met (some hundred and fifty presses), however many ticks the
# game gives each.
for _ in $(seq 1000); do
  in_file small.err 'File too large' && break
  hold Left 0.03; hold Right 0.03
done
kill -0 $pid || fail "the size limit ended the game"
hold_until Escape gone; wait $pid; code=$?
[ $code = 0 ] || fail "under a size limit: exit $code"
[ "$(grep -c 'File too large; recording stopped after the last whole line' small.err)" = 1 ] || fail "size limit: $(cat small.err)"
"$replay" small.rec >/dev/null || fail "the cut-back recording does not replay"

# A closed standard error: nothing of the game lands in the recording.
"$vorblox" --scale 4 --record closed.rec 2>&- & pid=$!
wait_window; xdotool windowfocus --sync "$wid"
hold_until F1 in_file closed.rec "^$header\$"; hold_until Escape gone; wait $pid
[ "$(head -n 1 closed.rec)" = "$header" ] || fail "with stderr closed the recording begins: $(head -c 40 closed.rec | od -c | head -2)"
"$vorblox" --watch - <&- 2>/dev/null; [ $? = 2 ] || fail "--watch - with a closed standard input is not refused"

# The live view: a game recorded into a pipe is watched as it is played.
("$vorblox" --record - | "$vorblox" --watch -) & pipe=$!; pid=$pipe
wait_window "^${title}\$"; player=$wid
xdotool windowfocus --sync "$player"; hold F1 0.2; hold Down 1
wait_window "watching a recording from the standard input"
player_gone() { ! xdotool getwindowname "$player" >/dev/null 2>&1; }
xdotool windowfocus --sync "$player"; hold_until Escape player_gone || fail "Esc did not end the player"
wait_window "^${title}\$"  # the watcher's own title once the recording ends
xdotool windowfocus --sync "$wid"; hold_until Escape gone; wait $pipe

# A link to a game plays in the window as a recording does, under a name
# of its own (the link itself is no name), and then the player's keys take over.
printf '1 F1\n400 DOWN\n' >shared.rec
"$vorblox" --watch "$("$replay" --link https://example.org/vorblox/ shared.rec)" & pid=$!
wait_window "watching a shared game"
wait_window "^${title}\$"
xdotool windowfocus --sync "$wid"; hold Escape 0.2; wait $pid || fail "watching a link: exit $?"

# A window destroyed from outside ends the game in one line.
"$vorblox" & pid=$!
wait_window; xdotool windowclose "$wid"; wait $pid
echo "recordings: all cases passed"
