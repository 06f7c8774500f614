#!/usr/bin/env bash
# Time from exec to the first buffer swap, under one private Xvfb: the game with sound, the
# game with "/s", and a minimal freeglut program (a 400 by 400 double-buffered window, one
# clear and swap), also drawing one lit triangle and one bitmap glyph before the swap: the
# driver's own cost of a first frame with lighting and text. RUNS runs of each, interleaved
# after one warm-up run; prints the medians and the game's ratios to the minimal program (and
# to the one that draws). The swap is caught by a preloaded library.
#
#   bench/first_frame.sh [BUILD_DIR [RUNS]]     (defaults: build, 5)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-5}

if [ "${FIRST_FRAME_ON_XVFB:-}" != 1 ]; then
    FIRST_FRAME_ON_XVFB=1 exec "$root/tests/support/with_xvfb.sh" bash "$0" "$build" "$runs"
fi

shim=$build/bench/libtumbra-first-swap.so
minimal=$build/bench/tumbra-first-frame-minimal
game=$build/tumbra
out=$(mktemp)
trap 'rm -f "$out"' EXIT

# first_swap PROGRAM [ARGS...]: milliseconds from the exec to the first swap.
first_swap() {
    rm -f "$out"
    (
        export LD_PRELOAD=$shim FIRST_SWAP_OUT=$out
        export FIRST_SWAP_T0=$EPOCHREALTIME
        exec "$@"
    ) >/dev/null 2>&1 || true
    [ -s "$out" ] || { echo "no swap from $*" >&2; exit 1; }
    cat "$out"
}

median() {
    tr ' ' '\n' | sed '/^$/d' | sort -n | awk '{v[NR] = $1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'
}

first_swap "$minimal" >/dev/null
first_swap "$minimal" lit >/dev/null
first_swap "$game" /s >/dev/null
first_swap "$game" >/dev/null
m="" l="" s="" g=""
for _ in $(seq "$runs"); do
    m="$m $(first_swap "$minimal")"
    l="$l $(first_swap "$minimal" lit)"
    s="$s $(first_swap "$game" /s)"
    g="$g $(first_swap "$game")"
done
mm=$(echo "$m" | median)
lm=$(echo "$l" | median)
sm=$(echo "$s" | median)
gm=$(echo "$g" | median)
echo "minimal program: $mm ms (runs:$m)"
echo "minimal, drawing: $lm ms (runs:$l)"
echo "game with /s:    $sm ms (runs:$s)"
echo "game with sound: $gm ms (runs:$g)"
awk -v m="$mm" -v l="$lm" -v s="$sm" -v g="$gm" 'BEGIN {
    printf "ratios to the minimal program: %.2f with /s, %.2f with sound\n", s / m, g / m
    printf "ratios to the minimal program drawing: %.2f with /s, %.2f with sound\n", s / l, g / l
}'
