#!/usr/bin/env bash
# The real game on a private display: the window's title, size and buffers, and Escape.
# Usage: window_test.sh TUMBRA BUILD_DIR (DISPLAY already set by with_xvfb.sh)
set -u
game=$1
title='^Tumbra -Velmorande 1997-$'
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# Waits for the game's window and prints its id.
find_window() {
    for _ in $(seq 100); do
        wid=$(xdotool search --name "$title" 2>/dev/null | head -n 1)
        [ -n "$wid" ] && { echo "$wid"; return 0; }
        sleep 0.1
    done
    return 1
}

# Depth-buffer bits of the window's GLX visual, from glxinfo's visual table.
depth_bits() {
    visual=$(xwininfo -id "$1" | awk '/Visual:/ {print $2}')
    glxinfo -t | awk -v v="$visual" 'tolower($1) == tolower(v) {print $17; exit}'
}

# Starts the game with the given options, checks its window, ends it with Escape.
# Prints the depth bits of its window.
run_game() {
    "$game" "$@" >/dev/null 2>&1 &
    pid=$!
    if ! wid=$(find_window); then
        fail "no window titled 'Tumbra -Velmorande 1997-' with options '$*'"
        kill "$pid" 2>/dev/null
        return
    fi
    size=$(xwininfo -id "$wid" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
    [ "$size" = "400x400" ] || fail "window is $size, not 400x400 (options '$*')"
    bits=$(depth_bits "$wid")
    xdotool windowfocus --sync "$wid" key Escape
    wait "$pid"
    status=$?
    [ "$status" -eq 1 ] || fail "Escape gave exit status $status, not 1 (options '$*')"
    echo "options '$*': window $size, depth bits $bits, exit status $status"
    last_depth_bits=$bits
}

last_depth_bits=""
run_game
[ "$last_depth_bits" = "0" ] || fail "without /d the window has depth bits '$last_depth_bits'"
run_game /d
[ -n "$last_depth_bits" ] && [ "$last_depth_bits" -gt 0 ] ||
    fail "with /d the window has no depth buffer ('$last_depth_bits')"
run_game /D /x -d
[ "$last_depth_bits" = "0" ] || fail "/D, /x and -d must be ignored"

[ "$failures" -eq 0 ] && echo "window test passed"
exit "$failures"
