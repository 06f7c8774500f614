# "e" enlarges and "r" reduces the real window, square, between 100 and 2000 pixels.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

check_sizes() {
    local key=$1
    shift
    start_game
    [ "$(window_size)" = "400x400" ] || fail "start size $(window_size)"
    for size in "$@"; do
        press "$key"
        wait_for_size "$size"
    done
    press Escape
    wait_for_exit
}

check_sizes e 500 625 781 976 1220 1525 1906 2000 2000
# The size chosen is the player's setting: the next start opens at it.
start_game
wait_for_size 2000
press Escape
wait_for_exit
rm "$HOME/.config/tumbra/settings.toml"
check_sizes r 320 256 204 163 130 104 100 100
echo "window keys: ok"
