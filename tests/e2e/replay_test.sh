# A game recorded in the real window with --record replays to the same state headless and in
# the window with --replay, where other keys are ignored and the end gives the title back to
# the player; a replay that departs from its recording ends with status 3.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"
REPLAY_TOOL=$BUILD/tools/tumbra-replay

recording=$WORK/game.replay

start_game /s --record "$recording"
wait_for_text "Tumbra" 173 212
press Right
wait_for_text "READY ?" 168 198 15
# Three levels slower: the replay keeps them, and shows "GO !!" for a second.
press 8 s s s
# No key while "GO !!" shows: the replay below presses keys then.
wait_for_text "GO !!" 177 198
wait_until_gone "GO !!"
press Left q
wait_for_text "GAME OVER" 160 198
wait_for_text "VELMORANDE 1997" 133 183
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "Escape while recording: exit status $STATUS"

summary=$("$REPLAY_TOOL" "$recording" 2>&1 | tail -n 1)
[[ $summary == *'"stagesCleared":0,"livesLost":0,"lives":4,"sealed":true,'*'"match":true}' ]] ||
    fail "the recording does not replay headless: $summary"

start_game /s --replay "$recording"
wait_for_text "GO !!" 177 198 15
# Were these keys taken, the game would pause and depart from the recording: status 3.
press p Down
wait_for_text "GAME OVER" 160 198 15
wait_for_text "VELMORANDE 1997" 133 183
# Once the recording is over the title is the player's: a direction key starts stage 1.
deadline=$((SECONDS + 10))
until places "READY ?" >/dev/null; do
    kill -0 "$GAME_PID" 2>/dev/null || { wait "$GAME_PID"; fail "the replay ended with status $? ($(cat "$GAME_STDERR"))"; }
    [ $SECONDS -lt $deadline ] || fail "keys not taken after the replay"
    press Right
    sleep 0.1
    shoot
done
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "Escape after the replay: exit status $STATUS"

# A recording whose end record does not match: stderr and status 3 once it has played.
echo "5 key 56" >"$WORK/events"
"$REPLAY_TOOL" --write "$WORK/short.replay" --frames 30 "$WORK/events" >/dev/null
sed -i 's/^end 30 .*/end 30 0123456789abcdef/' "$WORK/short.replay"
timeout 30 "$TUMBRA" /s --replay "$WORK/short.replay" 2>"$WORK/err"
status=$?
[[ $status -eq 3 && $(cat "$WORK/err") == *"checksum mismatch: recorded 0123456789abcdef"* ]] ||
    fail "a mismatch: status $status, stderr: $(cat "$WORK/err")"
echo "replay: ok"
