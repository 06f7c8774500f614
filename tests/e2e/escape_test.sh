# Escape ends the game at once with exit status 1, on the title, in play and while paused;
# with the audio device open SIGTERM still ends the game, as a closed window does (status 0).
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

start_game
wait_for_text "Tumbra" 173 212
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "on the title: exit status $STATUS"

start_game /s /d
press 8
wait_for_text "GO !!" 177 198 15
wait_until_gone "GO !!"
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "in play: exit status $STATUS"

start_game /s /d
press 8
wait_for_text "STAGE : 1" 11 380
press p
wait_for_text "PAUSE" 177 198
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "paused in a stage: exit status $STATUS"

# The disk driver creates its file when the device opens, beside the first frames.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" start_game
for _ in $(seq 100); do
    [ -s "$WORK/audio.raw" ] && break
    sleep 0.05
done
[ -s "$WORK/audio.raw" ] || fail "the audio device did not open"
kill -TERM "$GAME_PID"
wait_for_exit
[ "$STATUS" -eq 0 ] || fail "after SIGTERM: exit status $STATUS"
echo "escape: ok"
