# Escape ends the game at once with exit status 1, on the title, in play and while paused.
set -u
tumbra=$1
source "$(dirname "$0")/game_window.sh"

start_game
send_key Escape
wait_for_exit
[ "$status" -eq 1 ] || fail "on the title: exit status $status"

start_game /s /d
send_key 8
sleep 0.5
send_key p
sleep 0.3
send_key Escape
wait_for_exit
[ "$status" -eq 1 ] || fail "paused in a stage: exit status $status"

# The open audio device must not take over the terminal's signals: SIGTERM still ends the game.
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$e2e_work/audio.raw" start_game
kill -TERM "$game"
wait_for_exit
[ "$status" -eq 143 ] || fail "after SIGTERM: exit status $status"
echo "escape: ok"
