#!/usr/bin/env bash
# Drawing speed: the committed whole game played with --timedemo (every simulation frame
# drawn and swapped, no pacing, no sound) at 400 by 400 and at 1080 by 1080, under one
# private Xvfb with a screen large enough for both.
#
#   bench/timedemo.sh [BUILD_DIR [RECORDING]]     (defaults: build, docs/full_game.replay)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
recording=${2:-$root/docs/full_game.replay}

if [ "${TIMEDEMO_ON_XVFB:-}" != 1 ]; then
    export XVFB_SCREEN=1920x1200x24
    TIMEDEMO_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build" "$recording"
fi

for size in 400 1080; do
    echo "${size}x$size: $(SDL_AUDIODRIVER=dummy "$build/tumbra" --timedemo "$recording" \
        -geometry "${size}x$size")"
done
