# The real game's beeps, heard through SDL's disk audio driver: giving up once stage 1 is in
# play gives eleven separate game-over pips at 880 Hz (besides the deep pips of collisions).
# Under "/s" nothing sounds; without a sound card the game runs silently and prints nothing.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

# give_up_once play|intro [OPTIONS...]: starts stage 1, gives up once it is in play (or
# while it flies in), waits for the title and quits.
give_up_once() {
    local when=$1
    shift
    start_game "$@"
    wait_for_text "Tumbra" 173 212
    press 8
    if [ "$when" = play ]; then
        wait_for_text "GO !!" 177 198 15
        wait_until_gone "GO !!"
    else
        wait_for_text "STAGE : 1" 11 380
    fi
    press q
    wait_for_text "GAME OVER" 160 198
    wait_for_text "Tumbra" 173 212
    press Escape
    wait_for_exit
    [ "$STATUS" -eq 1 ] || fail "exit status $STATUS"
}

# pips FILE [LOW HIGH]
pips() {
    [ -f "$1" ] || { echo 0; return; }
    "$BUILD/tests/tumbra-count-bursts" "$@"
}

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/beeps.raw"
give_up_once play
heard=$(pips "$WORK/beeps.raw" 700 1100)
echo "game-over pips: $heard of $(pips "$WORK/beeps.raw")"
[ "$heard" -eq 11 ] || fail "$heard game-over pips, not 11"

export SDL_DISKAUDIOFILE="$WORK/silent.raw"
give_up_once intro /s
[ "$(pips "$WORK/silent.raw")" -eq 0 ] || fail "a beep sounded under /s"

# A sound card that does not exist.
export SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
give_up_once intro
[ -s "$GAME_STDERR" ] && fail "messages without a sound card: $(cat "$GAME_STDERR")"
echo "beep: ok"
