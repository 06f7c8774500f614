# The real game under Xvfb, driven with xdotool: title, a stage started with an arrow key,
# pause, giving up and back to the title. Places are in pixels of the 400 by 400 window.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

start_game /s

wait_for_text "Tumbra" 173 212
wait_for_text "VELMORANDE 1997" 133 183
expect_not_shown "STAGE : "
expect_not_shown "PLAYER : "

press Right
wait_for_text "READY ?" 168 198 15
wait_for_text "STAGE : 1" 11 380
wait_for_text "PLAYER : " 264 15
wait_for_text "GO !!" 177 198
wait_until_gone "GO !!"
wait_for_text "STAGE : 1" 11 380

press p
wait_for_text "PAUSE" 177 198
sleep 0.5
shoot
places "PAUSE" | grep -qx "177 198" || fail "pause did not hold"
press p
wait_until_gone "PAUSE"

press q
wait_for_text "GAME OVER" 160 198
wait_for_text "Tumbra" 173 212
wait_for_text "VELMORANDE 1997" 133 183
expect_not_shown "STAGE : "

# Escape ends the program with status 1.
press Escape
wait "$GAME_PID"
status=$?
GAME_PID=""
[ "$status" -eq 1 ] || fail "escape gave exit status $status"
echo "play: ok"
