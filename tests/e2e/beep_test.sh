# The real game's beeps, heard through SDL's disk audio driver: giving up right after a stage
# starts gives eleven game-over beeps. Under "/s" nothing sounds; without a sound card the
# game runs silently and prints nothing.
set -u
tumbra=$1
source "$(dirname "$0")/game_window.sh"

# Starts a stage, gives up, lets the game-over screen run out and quits.
give_up_once() {
    start_game "$@"
    send_key 8
    sleep 0.5
    send_key q
    sleep 1.5
    send_key Escape
    wait_for_exit
    [ "$status" -eq 1 ] || fail "exit status $status"
}

audible_bytes() {
    [ -f "$1" ] || { echo 0; return; }
    tr -d '\000' <"$1" | wc -c
}

export SDL_AUDIODRIVER=disk
export SDL_DISKAUDIOFILE="$e2e_work/beeps.raw"
give_up_once
audible=$(audible_bytes "$e2e_work/beeps.raw")
echo "audible bytes: $audible"
[ "$audible" -gt 1000 ] || fail "no beep was written"

export SDL_DISKAUDIOFILE="$e2e_work/silent.raw"
give_up_once /s
[ "$(audible_bytes "$e2e_work/silent.raw")" -eq 0 ] || fail "a beep sounded under /s"

# A sound card that does not exist.
export SDL_AUDIODRIVER=alsa AUDIODEV=hw:99
give_up_once
[ -s "$game_stderr" ] && fail "messages without a sound card: $(cat "$game_stderr")"
echo "beep: ok"
