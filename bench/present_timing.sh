#!/usr/bin/env bash
# How close the game's buffer swaps come to the ideal grid of its frame rate: the smooth
# frames with --refresh 60 and the classic frames at 30 a second, each for SECONDS on its own
# title screen, under one private Xvfb. Prints the 50th, 90th and 99th percentiles of the
# distance of each swap from the grid (its phase the median of all), in milliseconds. The
# swaps are caught by a preloaded library.
#
#   bench/present_timing.sh [BUILD_DIR [SECONDS]]     (defaults: build, 20)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
seconds=${2:-20}
warmup=2

if [ "${PRESENT_TIMING_ON_XVFB:-}" != 1 ]; then
    PRESENT_TIMING_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build" "$seconds"
fi

shim=$build/bench/libtumbra-swap-times.so
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# swap_offsets HZ OPTIONS...: the game's swaps over SECONDS after the warm-up, then the
# percentiles of their distance from a grid of HZ.
swap_offsets() {
    local hz=$1
    shift
    : >"$out"
    SWAP_TIMES_OUT=$out LD_PRELOAD=$shim SDL_AUDIODRIVER=dummy "$build/tumbra" -s "$@" &
    local game=$!
    sleep "$warmup"
    local from
    from=$(wc -l <"$out")
    sleep "$seconds"
    kill "$game"
    wait "$game" 2>/dev/null || true
    # Each swap's offset from the grid through the first, in seconds.
    tail -n +"$((from + 1))" "$out" | awk -v hz="$hz" '
        NR == 1 { t0 = $1 }
        { d = ($1 - t0) * hz; printf "%.9f\n", (d - int(d + 0.5)) / hz }' | sort -g >"$out.offsets"
    local n phase
    n=$(wc -l <"$out.offsets")
    phase=$(sed -n "$(((n + 1) / 2))p" "$out.offsets")
    awk -v phase="$phase" '{ e = $1 - phase; print (e < 0 ? -e : e) * 1000 }' "$out.offsets" |
        sort -g | awk '
        { q[NR] = $1 }
        END {
            printf "%d swaps: p50 %.3f ms, p90 %.3f ms, p99 %.3f ms, max %.3f ms\n", NR,
                q[int(NR * 0.5)], q[int(NR * 0.9)], q[int(NR * 0.99)], q[NR]
        }'
    rm -f "$out.offsets"
}

echo "smooth, --refresh 60: $(swap_offsets 60 --refresh 60)"
echo "classic, 30 a second: $(swap_offsets 30 --classic-frames)"
