# The real window on today's desktops: any shape keeps the scene square and centred, F11 and
# Alt+Enter toggle fullscreen and leaving it brings the size back, -F starts in it, the
# desktop finds the window's class, process and icon, and --timedemo times a recording.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"
SOURCE=$(cd "$(dirname "$0")/../.." && pwd)
SCREEN=1024x768

start_game -s
wait_for_text "Tumbra" 173 212
class=$(xprop -id "$WINDOW" WM_CLASS)
[ "$class" = 'WM_CLASS(STRING) = "tumbra", "example.tumbra.Tumbra"' ] || fail "class: $class"
pid=$(xprop -id "$WINDOW" _NET_WM_PID)
[ "$pid" = "_NET_WM_PID(CARDINAL) = $GAME_PID" ] || fail "pid: $pid, not $GAME_PID"
icons=$(xprop -id "$WINDOW" _NET_WM_ICON | grep -c 'Icon (')
[ "$icons" -eq 2 ] || fail "$icons window icons"

# The square's centre moves to the window's; the margins stay black.
xdotool windowsize --sync "$WINDOW" 900 400
wait_for_text "Tumbra" 423 212
expect_grey 450 100
[ "$(pixel 120 200)" = "0 0 0" ] || fail "left margin is $(pixel 120 200)"

xdotool windowsize --sync "$WINDOW" 500 300
for key in F11 alt+Return; do
    press "$key"
    deadline=$((SECONDS + 10))
    until [ "$(window_size)" = "$SCREEN" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
    [ "$(window_size)" = "$SCREEN" ] || fail "$key: window is $(window_size), not fullscreen"
    wait_for_text "Tumbra" 485 396
    press e
    press "$key"
    deadline=$((SECONDS + 10))
    until [ "$(window_size)" = "500x300" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
    [ "$(window_size)" = "500x300" ] || fail "$key: back to $(window_size), not 500x300"
done
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "Escape: exit status $STATUS"

start_game -s -F --classic-frames
deadline=$((SECONDS + 10))
until [ "$(window_size)" = "$SCREEN" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
[ "$(window_size)" = "$SCREEN" ] || fail "-F: window is $(window_size)"
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "Escape in fullscreen: exit status $STATUS"

recording=$SOURCE/tests/replays/stage_clear_pad_pause_speed_give_up.replay
summary=$(timeout 60 "$TUMBRA" --timedemo "$recording" 2>/dev/null)
status=$?
[ "$status" -eq 0 ] || fail "timedemo: exit status $status"
[[ $summary =~ ^$recording:\ [0-9]+\ frames\ in\ [0-9.]+\ s:\ [0-9.]+\ frames\ per\ second\;\ checksum\ matches$ ]] ||
    fail "timedemo said: $summary"
echo "display: ok"
