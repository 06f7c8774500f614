#!/usr/bin/env bash
# Runs COUNT random-input traces through two builds of tumbra-trace and compares them byte for
# byte: every ball, the tilt and the field after every frame. For a change that must not move
# the simulation: build the base commit elsewhere and pass its tumbra-trace first.
#   tools/compare_traces.sh TRACE_A TRACE_B [COUNT [SEED]]
# Each case takes a random stage (0 to 23), 100 to 1,000 frames and up to 8 schedule tokens
# with random pad and arrow inputs. Exit status 0 when every trace is identical.
set -u
if [ $# -lt 2 ]; then
    echo "usage: tools/compare_traces.sh TRACE_A TRACE_B [COUNT [SEED]]" >&2
    exit 2
fi
a=$1
b=$2
count=${3:-300}
RANDOM=${4:-1}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

differing=0
frames=0
for ((i = 1; i <= count; i++)); do
    stage=$((RANDOM % 24))
    length=$((100 + RANDOM % 901))
    tokens=()
    from=1
    for ((t = RANDOM % 9; t > 0; t--)); do
        from=$((from + 1 + RANDOM % 120))
        # Each input -1, 0 or 1; drawn here, not in a subshell, so that SEED repeats the cases.
        token="$from:$((RANDOM % 3 - 1)),$((RANDOM % 3 - 1))"
        tokens+=("$token,$((RANDOM % 3 - 1)),$((RANDOM % 3 - 1))")
    done
    "$a" "$stage" "$length" "${tokens[@]}" >"$work/a" || { echo "case $i: $a failed"; exit 1; }
    "$b" "$stage" "$length" "${tokens[@]}" >"$work/b" || { echo "case $i: $b failed"; exit 1; }
    frames=$((frames + $(wc -l <"$work/a") - 1))
    if ! cmp -s "$work/a" "$work/b"; then
        differing=$((differing + 1))
        echo "differs: $stage $length ${tokens[*]}"
    fi
done
echo "$count traces, $frames frames, $differing differing"
[ $differing -eq 0 ]
