# The real game's beeps, heard through SDL's disk audio driver: giving up right after a stage
# starts gives eleven game-over beeps. Under "/s" nothing sounds; without a sound card the
# game runs silently and prints nothing.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

# Starts a stage, gives up, lets the game-over screen run out and quits.
give_up_once() {
    start_game "$@"
    press 8
    sleep 0.5
    press q
    sleep 1.5
    press Escape
    wait_for_exit
    [ "$STATUS" -eq 1 ] || fail "exit status $STATUS"
}

audible_bytes() {
    [ -f "$1" ] || { echo 0; return; }
    tr -d '\000' <"$1" | wc -c
}

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$WORK/beeps.raw"
give_up_once
audible=$(audible_bytes "$WORK/beeps.raw")
echo "audible bytes: $audible"
[ "$audible" -gt 1000 ] || fail "no beep was written"

export SDL_DISKAUDIOFILE="$WORK/silent.raw"
give_up_once /s
[ "$(audible_bytes "$WORK/silent.raw")" -eq 0 ] || fail "a beep sounded under /s"

# A sound card that does not exist.
export SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
give_up_once
[ -s "$GAME_STDERR" ] && fail "messages without a sound card: $(cat "$GAME_STDERR")"
echo "beep: ok"
