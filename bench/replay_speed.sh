#!/usr/bin/env bash
# How fast tumbra-replay plays a recording headless: frames per second over five runs, median.
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
if [ ! -f "$recording" ]; then
    : >"$work/none"
    "$tool" --write "$work/title.replay" --frames 200000 "$work/none" >/dev/null
    recording=$work/title.replay
fi

rates=()
for _ in 1 2 3 4 5; do
    start=$(date +%s%N)
    summary=$("$tool" "$recording" | tail -n 1)
    end=$(date +%s%N)
    frames=$(sed 's/.*"frames":\([0-9]*\).*/\1/' <<<"$summary")
    rates+=("$((frames * 1000000000 / (end - start)))")
done
median=$(printf '%s\n' "${rates[@]}" | sort -n | sed -n 3p)
echo "$(basename "$recording"): $frames frames, $(wc -c <"$recording") bytes;" \
    "$median frames per second (median of ${rates[*]})"
