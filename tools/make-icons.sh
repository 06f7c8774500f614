#!/usr/bin/env bash
# The game's icon in the sizes an install carries (dist/icons/SIZE.png): stage 17 flying in,
# the dish tilted towards the viewer with its ringed planet, blue opponents and the player's
# green ball. Drawn by tumbra-snapshot on a private Xvfb display at 720 pixels, cut free of
# the black background and the texts, and scaled down.
#
#   tools/make-icons.sh [BUILD_DIR]      (default: build; builds what is missing)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" 2>/dev/null && pwd || echo "$root/build")

if [ "${ICONS_ON_XVFB:-}" != 1 ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S "$root" -B "$build" >/dev/null
    cmake --build "$build" -j 2 --target tumbra-snapshot
    ICONS_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build"
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Frame 60: 20 frames of the stage clear before, then two thirds of the fly-in.
"$build/tools/tumbra-snapshot" 17 60 "$work/frame.ppm" 720
# The middle of the window holds the dish; the texts stand in its top and bottom rows. The
# background is the cleared black around the dish, filled from a corner.
convert "$work/frame.ppm" -gravity center -crop 600x600+0+0 +repage \
        -alpha set -fuzz 2% -fill none -draw "color 0,0 floodfill" -trim +repage \
        "$work/dish.png"
side=$(identify -format '%[fx:max(w,h)]' "$work/dish.png")
for size in 48 64 128 256; do
    convert "$work/dish.png" -background none -gravity center -extent "${side}x${side}" \
            -filter Lanczos -resize "${size}x${size}" -strip \
            -define png:exclude-chunks=date,time "$root/dist/icons/$size.png"
done
echo "icons written to $root/dist/icons"
