# Escape ends the game at once with exit status 1, on the title, in play and while paused;
# the open audio device leaves the terminal's signals alone.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

start_game
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "on the title: exit status $STATUS"

start_game /s /d
press 8
sleep 0.5
press p
sleep 0.3
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "paused in a stage: exit status $STATUS"

SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$WORK/audio.raw" start_game
kill -TERM "$GAME_PID"
wait_for_exit
[ "$STATUS" -eq 143 ] || fail "after SIGTERM: exit status $STATUS"
echo "escape: ok"
