#!/usr/bin/env bash
# Pictures of the game's main screens for the documentation, taken on a private Xvfb display:
#   docs/title.png     the title screen over the demonstration (the real game, xdotool)
#   docs/gameover.png  "GAME OVER" after giving up stage 1 (the real game, xdotool)
#   docs/intro.png     stage 1 flying in
#   docs/play.png      stage 8 in play
#   docs/credits.png   a page of the ending's credits
# The last three come from tumbra-snapshot, which runs the game's own frames from a stage's
# start: playing there by hand would take long.
#
#   tools/screenshots.sh [BUILD_DIR]      (default: build; builds what is missing)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "$root/build")

if [ "${SCREENSHOTS_ON_XVFB:-}" != 1 ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" -j 2 --target tumbra tumbra-snapshot tumbra-find-text
    SCREENSHOTS_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build"
fi

docs="$root/docs"
mkdir -p "$docs"
TUMBRA="$build/tumbra"
BUILD="$build"
source "$root/tests/support/e2e_lib.sh"

# snapshot STAGE FRAMES NAME: the game's FRAMES-th frame from the start of STAGE.
snapshot() {
    "$build/tools/tumbra-snapshot" "$1" "$2" "$WORK/snapshot.ppm"
    convert "$WORK/snapshot.ppm" "$docs/$3.png"
}

start_game /s
wait_for_text "Tumbra" 173 212
sleep 2 # let the demonstration's balls get going
shoot
convert "$WORK/shot.ppm" "$docs/title.png"

press Right
wait_for_text "READY ?" 168 198 15
press q
wait_for_text "GAME OVER" 160 198
convert "$WORK/shot.ppm" "$docs/gameover.png"
stop_game

snapshot 1 50 intro    # 20 frames of the stage clear before, then half the fly-in
snapshot 8 160 play    # 121 frames to the start of play, then 39 frames of it
snapshot 23 520 credits # 20 frames of all clear, then 500 of the ending: "STAGE DESIGN"
echo "screenshots written to $docs"
