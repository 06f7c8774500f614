# Every way a recording game can end keeps its recording: a window closed as a window manager
# closes it or destroyed by another program, SIGTERM, SIGINT, SIGHUP and SIGQUIT seal it and end
# with status 0, also a signal that comes during the start; the four signals keep the
# automatic replay of the game being played, sealed, and its records. A killed game leaves
# every input but its last second. A file lost during the game is reported once, and a write
# past the file-size limit fails like any other while the game plays on.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"
REPLAY_TOOL=$BUILD/tools/tumbra-replay

# record_a_game FILE: starts recording and leaves the game in stage 1's play, keys given.
record_a_game() {
    start_game /s --record "$1"
    wait_for_text "Tumbra" 173 212
    press Right
    wait_for_text "READY ?" 168 198 15
    press 8
}

# expect_replays FILE SEALED: the recording replays headless; SEALED is true or false.
expect_replays() {
    local summary
    summary=$("$REPLAY_TOOL" "$1" 2>&1 | tail -n 1)
    [[ $summary == *"\"sealed\":$2"*'"match":true}' ]] || fail "$1 does not replay: $summary"
    grep -q ' key 56$' "$1" || fail "$1 lost the key 8"
}

for end in close windowclose TERM INT HUP QUIT; do
    recording=$WORK/$end.replay
    record_a_game "$recording"
    if [ $end = close ]; then
        "$BUILD/tests/tumbra-close-window" "$WINDOW"
    elif [ $end = windowclose ]; then
        xdotool windowclose "$WINDOW"
    else
        kill -s $end "$GAME_PID"
    fi
    wait_for_exit
    [ "$STATUS" -eq 0 ] || fail "$end: exit status $STATUS ($(cat "$GAME_STDERR"))"
    expect_replays "$recording" true
done

# Without --record every game is recorded into the replays folder.
replays=$HOME/.local/share/tumbra/replays
records=$HOME/.local/share/tumbra/records.toml
# The games recorded above count too.
played=$(sed -n 's/^games_played = //p' "$records")
for signal in TERM INT HUP QUIT; do
    rm -f "$replays"/*.replay
    start_game /s
    wait_for_text "Tumbra" 173 212
    press Right
    wait_for_text "READY ?" 168 198 15
    press 8
    played=$((played + 1))
    kill -s $signal "$GAME_PID"
    wait_for_exit
    [ "$STATUS" -eq 0 ] || fail "$signal: exit status $STATUS ($(cat "$GAME_STDERR"))"
    kept=$(ls "$replays"/*.replay 2>/dev/null)
    [ "$(echo "$kept" | wc -w)" -eq 1 ] || fail "$signal: the replays folder holds: $kept"
    "$REPLAY_TOOL" --require-sealed "$kept" >/dev/null 2>&1 && grep -q ' key 56$' "$kept" ||
        fail "$signal: the automatic replay is not sealed or does not verify: $(tail -n 2 "$kept")"
    grep -qx "games_played = $played" "$records" ||
        fail "$signal: the records are not saved: $(cat "$records")"
done

# A signal during the start (here as the window is created) ends the game as cleanly.
LD_PRELOAD=$BUILD/tests/libtumbra-hangup-at-window.so timeout 30 \
    "$TUMBRA" /s --record "$WORK/start.replay" 2>"$WORK/start.err"
status=$?
[ $status -eq 0 ] || fail "SIGHUP during the start: exit status $status ($(cat "$WORK/start.err"))"
"$REPLAY_TOOL" --require-sealed "$WORK/start.replay" >/dev/null ||
    fail "SIGHUP during the start left: $(cat "$WORK/start.replay")"

# A file-size limit (ulimit -f, a few hundred bytes): the recording outgrows it, its write fails
# with one line on stderr, and the game plays on to its usual end by Escape.
printf '#!/bin/sh\nulimit -f 1\nexec "%s" "$@"\n' "$TUMBRA" >"$WORK/limited"
chmod +x "$WORK/limited"
unlimited=$TUMBRA
TUMBRA=$WORK/limited
record_a_game "$WORK/limited.replay"
TUMBRA=$unlimited
for _ in $(seq 12); do
    press 4 6 4 6 4 6 4 6 4 6
done
deadline=$((SECONDS + 10))
until grep -q "File too large" "$GAME_STDERR" || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
press Escape
wait_for_exit
[[ $STATUS -eq 1 && $(cat "$GAME_STDERR") == *"limited.replay: cannot write: File too large"* ]] ||
    fail "a file-size limit: status $STATUS, stderr: $(cat "$GAME_STDERR")"

# kill -9: what was flushed a second or more ago is there.
record_a_game "$WORK/killed.replay"
wait_for_text "GO !!" 177 198
sleep 1.5
kill -9 "$GAME_PID"
wait "$GAME_PID" 2>/dev/null
GAME_PID=""
expect_replays "$WORK/killed.replay" false

# A folder removed during the game: one line on stderr, the game plays on, Escape ends it
# with its usual status.
mkdir "$WORK/gone"
record_a_game "$WORK/gone/game.replay"
rm -r "$WORK/gone"
deadline=$((SECONDS + 10))
until [ -s "$GAME_STDERR" ] || [ $SECONDS -ge $deadline ]; do sleep 0.1; done
press 2
wait_for_text "GO !!" 177 198
press Escape
wait_for_exit
[[ $STATUS -eq 1 && $(wc -l <"$GAME_STDERR") -eq 1 &&
    $(cat "$GAME_STDERR") == *"gone/game.replay: the file was removed"* ]] ||
    fail "a removed folder: status $STATUS, stderr: $(cat "$GAME_STDERR")"
echo "record_end: ok"
