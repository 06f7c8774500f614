#!/usr/bin/env bash
# How fast tumbra-replay plays a recording headless: frames per second over five runs, median,
# with the program's start (timed on a recording of no frames) taken off.
#
#   bench/replay_speed.sh [TUMBRA-REPLAY [RECORDING]]
#       defaults: build/tools/tumbra-replay, and the full-game recording in docs/ when there
#       is one, else 200,000 frames of the title demonstration sealed for the purpose.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tool=${1:-$root/build/tools/tumbra-replay}
recording=${2:-$root/docs/full_game.replay}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
: >"$work/none"
if [ ! -f "$recording" ]; then
    "$tool" --write "$work/title.replay" --frames 200000 "$work/none" >/dev/null
    recording=$work/title.replay
fi
"$tool" --write "$work/empty.replay" --frames 0 "$work/none" >/dev/null

# median_ns FILE: the median wall time of five runs of the tool on FILE, in nanoseconds.
median_ns() {
    local times=() start
    for _ in 1 2 3 4 5; do
        start=$(date +%s%N)
        "$tool" "$1" >"$work/out"
        times+=("$(($(date +%s%N) - start))")
    done
    printf '%s\n' "${times[@]}" | sort -n | sed -n 3p
}

startup=$(median_ns "$work/empty.replay")
playing=$(median_ns "$recording")
frames=$(tail -n 1 "$work/out" | sed 's/.*"frames":\([0-9]*\).*/\1/')
echo "$(basename "$recording"): $frames frames, $(wc -c <"$recording") bytes;" \
    "$((frames * 1000000000 / (playing - startup))) frames per second" \
    "(start $((startup / 1000000)) ms, whole run $((playing / 1000000)) ms)"
