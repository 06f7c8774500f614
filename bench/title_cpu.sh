#!/usr/bin/env bash
# Processor time the game takes on its title screen, as a share of one core, at its start
# size of 400 by 400 under Xvfb. Runs on a private Xvfb display of its own. Options after
# the seconds go to the game: --classic-frames, --refresh 60.
#
#   bench/title_cpu.sh [TUMBRA [SECONDS [OPTION...]]]     (defaults: build/tumbra, 30)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
tumbra=${1:-$root/build/tumbra}
seconds=${2:-30}
shift $(($# < 2 ? $# : 2))
warmup=2

if [ "${TITLE_CPU_ON_XVFB:-}" != 1 ]; then
    TITLE_CPU_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$tumbra" "$seconds" "$@"
fi

# User plus system time of a process so far, in clock ticks.
cpu_ticks() {
    awk '{ print $14 + $15 }' "/proc/$1/stat"
}

"$tumbra" "$@" &
game=$!
trap 'kill "$game" 2>/dev/null' EXIT
sleep "$warmup"
before=$(cpu_ticks "$game")
start=$(date +%s.%N)
sleep "$seconds"
after=$(cpu_ticks "$game")
end=$(date +%s.%N)
ticks_per_second=$(getconf CLK_TCK)
awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$start" -v e="$end" \
    'BEGIN { printf "title screen: %.1f %% of one core over %.1f s\n", 100 * t / hz / (e - s), e - s }'
