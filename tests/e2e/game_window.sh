# Shared by the end-to-end scripts: start the real game, find its window, send it keys.
# Needs $tumbra (the binary) and a display.

readonly window_name='^Tumbra -Velmorande 1997-$'
e2e_work=$(mktemp -d)
trap 'rm -rf "$e2e_work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# start_game [OPTIONS...]: runs the game in the background; sets $game (pid) and $window.
# Its stderr goes to $game_stderr.
start_game() {
    game_stderr="$e2e_work/stderr"
    "$tumbra" "$@" 2>"$game_stderr" &
    game=$!
    window=""
    for _ in $(seq 100); do
        window=$(xdotool search --onlyvisible --name "$window_name" 2>/dev/null | head -n 1)
        [ -n "$window" ] && break
        kill -0 "$game" 2>/dev/null || fail "the game ended before its window appeared: $(cat "$game_stderr")"
        sleep 0.1
    done
    [ -n "$window" ] || fail "no game window"
    # Without a window manager keys go to the window under the pointer.
    xdotool mousemove --window "$window" 10 10
    xdotool windowfocus --sync "$window"
}

send_key() {
    xdotool key "$@"
}

# The window's size as WIDTHxHEIGHT.
window_size() {
    xdotool getwindowgeometry "$window" | awk '/Geometry:/ { print $2 }'
}

# wait_for_size SIZE: until the window has that size (at most 5 s).
wait_for_size() {
    for _ in $(seq 50); do
        [ "$(window_size)" = "$1" ] && return 0
        sleep 0.1
    done
    return 1
}

# Waits for the game to end (at most 10 s) and sets $status to its exit status.
wait_for_exit() {
    for _ in $(seq 100); do
        kill -0 "$game" 2>/dev/null || break
        sleep 0.1
    done
    if kill -0 "$game" 2>/dev/null; then
        kill "$game"
        fail "the game did not end"
    fi
    wait "$game"
    status=$?
}
