#!/usr/bin/env bash
# docs/stage17.gif, the README's moving picture: stage 17 played from its fly-in to "STAGE
# CLEAR !!" with the keys of its committed schedule (tools/solutions/stage17.txt), every
# second frame of the game's own flow and display (tumbra-snapshot on a private Xvfb display)
# at 15 pictures a second, so in real time. 128 colours keep the file well under 1 MB.
#
#   tools/make-animation.sh [BUILD_DIR]      (default: build; builds what is missing)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "$root/build")

if [ "${ANIMATION_ON_XVFB:-}" != 1 ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" -j 2 --target tumbra-snapshot
    ANIMATION_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Frame 40 is a third into the fly-in (20 frames of the stage clear come first); the stage is
# cleared on frame 153 and "STAGE CLEAR !!" stands until frame 173. The tool runs every
# picture's frames from the stage's start: the flow is deterministic.
schedule="$root/tools/solutions/stage17.txt"
for frame in $(seq 40 2 176); do
    "$build/tools/tumbra-snapshot" 17 "$frame" "$work/$(printf %04d "$frame").ppm" 400 "$schedule"
done
out="$root/docs/stage17.gif"
convert -delay 1x15 -loop 0 "$work"/*.ppm +dither -colors 128 -layers Optimize "$out"
echo "$out: $(stat -c %s "$out") bytes"
