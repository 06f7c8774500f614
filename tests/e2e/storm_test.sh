# A storm of random keys (any but Escape), about 50 a second for 30 s, against the real game:
# it is still running at the end, its resident memory then is within 10 % of what it was
# after the first 5 s, and Escape still ends it with status 1. Memory is read with the
# window reduced to its smallest size, since the picture's buffers grow with the window.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

KEYS=(a b c d e f g h i j k l m n o p q r s t u v w x y z
      0 1 2 3 4 5 6 7 8 9 space Return Tab BackSpace Delete Insert Home End Prior Next
      Left Right Up Down F1 F2 F3 F4 F5 F6 F7 F8 F9 F10 F11 F12
      comma period minus plus slash asterisk equal A Q S Z)
KEYS_PER_SECOND=50
SCREEN=1024x768
FULLSCREEN=0 # whether the storm's F11 presses, an odd number of them, left it fullscreen

# storm SECONDS: random keys, one xdotool call for all of them.
storm() {
    local count=$(($1 * KEYS_PER_SECOND)) keys=()
    for _ in $(seq "$count"); do
        keys+=("${KEYS[RANDOM % ${#KEYS[@]}]}")
        [ "${keys[-1]}" = F11 ] && FULLSCREEN=$((1 - FULLSCREEN))
    done
    xdotool key --window "$WINDOW" --delay $((1000 / KEYS_PER_SECOND)) "${keys[@]}" 2>/dev/null
    kill -0 "$GAME_PID" 2>/dev/null || fail "the game ended during the storm"
}

# "r" does nothing to a fullscreen window: leave it first.
leave_fullscreen() {
    [ "$FULLSCREEN" -eq 1 ] || return 0
    press F11
    FULLSCREEN=0
    local deadline=$((SECONDS + 10))
    until [ "$(window_size)" != "$SCREEN" ] || [ $SECONDS -ge $deadline ]; do sleep 0.05; done
}

# Resident memory in KiB with the window at its smallest.
rss_at_smallest() {
    for _ in $(seq 20); do press r; done
    wait_for_size 100
    awk '/^VmRSS:/ {print $2}' "/proc/$GAME_PID/status"
}

start_game
wait_for_text "Tumbra" 173 212
storm 5
leave_fullscreen
early=$(rss_at_smallest)
storm 25
leave_fullscreen
late=$(rss_at_smallest)
echo "resident memory: $early KiB after 5 s, $late KiB after 30 s"
[ $((late * 10)) -le $((early * 11)) ] && [ $((late * 10)) -ge $((early * 9)) ] ||
    fail "resident memory went from $early KiB to $late KiB"
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "exit status $STATUS after the storm"
echo "storm: ok"
