#!/usr/bin/env bash
# The committed whole game plays headless from the title through all 22 stages and the
# credits back to the title, to its recorded checksum.
#   check_whole_game.sh PATH-TO-TUMBRA-REPLAY RECORDING
set -u
out=$("$1" --require-sealed "$2")
status=$?
summary=$(tail -n 1 <<<"$out")
last=$(tail -n 2 <<<"$out" | head -n 1)
if [[ $status -ne 0 || $summary != *'"stagesCleared":22,"livesLost":0,"lives":4,"sealed":true,'*'"match":true}' ||
    $last != *'"state":"Title","stage":0,'* ]]; then
    echo "FAIL: status $status; $last $summary"
    exit 1
fi
echo "$summary"
