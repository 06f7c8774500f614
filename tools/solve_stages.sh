#!/usr/bin/env bash
# Searches the schedules of the given stages (all 22 unless given) with tumbra-solve at the
# lowest priority and replaces tools/solutions/stageNN.txt with each one found; a stage that
# is not solved keeps its old schedule. Extra tumbra-solve options go in SOLVE_OPTIONS.
#
#   tools/solve_stages.sh [BUILD_DIR [STAGE ...]]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
shift || true
stages=("$@")
if [ ${#stages[@]} -eq 0 ]; then
    mapfile -t stages < <(seq 1 22)
fi
log=$(mktemp)
trap 'rm -f "$log"' EXIT
status=0
for stage in "${stages[@]}"; do
    out=$(printf 'tools/solutions/stage%02d.txt' "$stage")
    # shellcheck disable=SC2086 # the options are separate words
    if nice -n 19 "$build/tools/tumbra-solve" "$stage" ${SOLVE_OPTIONS:-} >"$out.new" 2>"$log"; then
        mv "$out.new" "$out"
        tail -n 1 "$log"
    else
        rm -f "$out.new"
        tail -n 1 "$log"
        status=1
    fi
done
exit $status
