# Shared steps of the end-to-end scripts: start the real game, press keys, and wait until a
# text of the game stands at a given place in a screenshot of its window.
# Needs: TUMBRA (the binary), BUILD (the build directory), DISPLAY (a private X server).

FIND_TEXT="$BUILD/tests/tumbra-find-text"
WORK=$(mktemp -d)
GAME_PID=""
WINDOW=""
export SDL_AUDIODRIVER=dummy
# The game keeps settings and records in the player's home: never the real one in a test.
export HOME="$WORK/home"
unset XDG_CONFIG_HOME XDG_DATA_HOME
mkdir -p "$HOME"

stop_game() {
    if [ -n "$GAME_PID" ] && kill -0 "$GAME_PID" 2>/dev/null; then
        kill "$GAME_PID"
        wait "$GAME_PID" 2>/dev/null || true
    fi
    GAME_PID=""
}

cleanup() {
    stop_game
    rm -rf "$WORK"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    if [ -f "$WORK/shot.ppm" ]; then
        local kept="${TMPDIR:-/tmp}/tumbra-e2e-failure-$$.png"
        convert "$WORK/shot.ppm" "$kept" && echo "last screenshot: $kept" >&2
    fi
    exit 1
}

# Starts the game with the given options and waits for its window, moved to the screen's
# corner: without a window manager it opens at (-1, -1) and a screenshot would lose its
# first row and column. The game's stderr goes to $GAME_STDERR.
start_game() {
    GAME_STDERR="$WORK/stderr"
    "$TUMBRA" "$@" 2>"$GAME_STDERR" &
    GAME_PID=$!
    WINDOW=""
    for _ in $(seq 100); do
        WINDOW=$(xdotool search --name '^Tumbra -Velmorande 1997-$' 2>/dev/null | head -n 1)
        [ -n "$WINDOW" ] && break
        kill -0 "$GAME_PID" 2>/dev/null ||
            fail "the game ended before its window appeared: $(cat "$GAME_STDERR")"
        sleep 0.05
    done
    [ -n "$WINDOW" ] || fail "no game window"
    xdotool windowmove --sync "$WINDOW" 0 0
    # Without a window manager keys go to the window under the pointer.
    xdotool mousemove --window "$WINDOW" 10 10
}

# wait_for_exit: waits for the game to end (at most 10 s) and sets STATUS to its exit status.
wait_for_exit() {
    for _ in $(seq 100); do
        kill -0 "$GAME_PID" 2>/dev/null || break
        sleep 0.1
    done
    kill -0 "$GAME_PID" 2>/dev/null && fail "the game did not end"
    wait "$GAME_PID"
    STATUS=$?
    GAME_PID=""
}

# The window's size as WIDTHxHEIGHT.
window_size() {
    xwininfo -id "$WINDOW" | awk '/Width:/ {w = $2} /Height:/ {h = $2} END {print w "x" h}'
}

# Depth-buffer bits of the window's GLX visual, from glxinfo's table of visuals.
depth_bits() {
    local visual
    visual=$(xwininfo -id "$WINDOW" | awk '/Visual:/ {print $2}')
    glxinfo -t | awk -v v="$visual" 'tolower($1) == tolower(v) {print $17; exit}'
}

# xdotool warns on every key that the server (Xvfb, no window manager) reports no focus.
press() {
    xdotool key --window "$WINDOW" "$@" 2>/dev/null
}

# Bounded: import waits for good when the window closes in the middle of a capture.
shoot() {
    timeout 5 import -window "$WINDOW" -depth 8 "ppm:$WORK/shot.ppm" 2>/dev/null
}

# The places (x y, from the window's bottom left) where TEXT stands in the last screenshot.
places() {
    "$FIND_TEXT" "$WORK/shot.ppm" "$1"
}

# wait_for_text TEXT X Y [SECONDS]: screenshots until TEXT stands at (X, Y).
wait_for_text() {
    local deadline=$((SECONDS + ${4:-10}))
    while [ $SECONDS -lt $deadline ]; do
        shoot
        if places "$1" | grep -qx "$2 $3"; then
            return 0
        fi
        sleep 0.02
    done
    fail "\"$1\" not shown at ($2, $3); found at: $(places "$1" | tr '\n' ' ')"
}

# wait_until_gone TEXT [SECONDS]
wait_until_gone() {
    local deadline=$((SECONDS + ${2:-10}))
    while [ $SECONDS -lt $deadline ]; do
        shoot
        places "$1" >/dev/null || return 0
        sleep 0.02
    done
    fail "\"$1\" still shown"
}

expect_not_shown() {
    if places "$1" >/dev/null; then
        fail "\"$1\" shown unexpectedly"
    fi
}

# pixel X Y: "r g b" of the last screenshot at (X, Y), y from the window's bottom.
pixel() {
    local size
    size=$(identify -format '%h' "$WORK/shot.ppm")
    convert "$WORK/shot.ppm" -format \
        "%[fx:round(255*p{$1,$((size - 1 - $2))}.r)] %[fx:round(255*p{$1,$((size - 1 - $2))}.g)] %[fx:round(255*p{$1,$((size - 1 - $2))}.b)]" \
        info:
}

# expect_grey X Y: the lit field is at (X, Y) in the last screenshot. The demonstration's
# balls roll over the field, so a ball passing that spot is waited out with new screenshots.
expect_grey() {
    local r g b
    local deadline=$((SECONDS + 3))
    while :; do
        read -r r g b <<<"$(pixel "$1" "$2")"
        [ "$r" -eq "$g" ] && [ "$g" -eq "$b" ] && [ "$r" -ge 80 ] && return 0
        [ $SECONDS -lt $deadline ] || break
        sleep 0.1
        shoot
    done
    fail "($1, $2) is ($r, $g, $b), not the lit grey field"
}

# wait_for_size N: the window has become N by N pixels.
wait_for_size() {
    local deadline=$((SECONDS + 10))
    while [ $SECONDS -lt $deadline ]; do
        [ "$(window_size)" = "$1x$1" ] && return 0
        sleep 0.05
    done
    fail "window is $(window_size), not $1 by $1"
}
