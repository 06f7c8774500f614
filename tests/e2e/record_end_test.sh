# Every way a recording game can end keeps its recording: a window closed as a window manager
# closes it or destroyed by another program, SIGTERM and SIGINT seal it and end with status 0; a
# killed game leaves every input but its last second. A file lost during the game is
# reported once.
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

for end in close windowclose TERM INT; do
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
