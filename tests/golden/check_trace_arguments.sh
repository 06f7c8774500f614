#!/usr/bin/env bash
# tumbra-trace's command line: bad arguments give one line on stderr and status 2; a run of
# zero frames prints only the loaded stage.
#   check_trace_arguments.sh PATH-TO-TUMBRA-TRACE
set -u
trace=$1
failed=0
errors=$(mktemp)
trap 'rm -f "$errors"' EXIT

expect_rejected() {
    local out status
    out=$("$trace" "$@" 2>"$errors")
    status=$?
    if [ $status -ne 2 ] || [ -n "$out" ] || [ "$(wc -l <"$errors")" -ne 1 ]; then
        echo "not rejected as it should be: tumbra-trace $* (status $status)"
        failed=1
    fi
}

expect_rejected
expect_rejected 1
expect_rejected 24 10
expect_rejected -1 10
expect_rejected x 10
expect_rejected 1 -1
expect_rejected 1 10x
expect_rejected 1 10 0:0,0,0,0
expect_rejected 1 10 1:2,0,0,0
expect_rejected 1 10 1:0,0,0
expect_rejected 1 10 1:0,0,0,0,0
expect_rejected 1 10 1:0,0,0,0x
expect_rejected 1 10 5:0,0,1,0 5:0,0,0,0
expect_rejected 1 10 5:0,0,1,0 3:0,0,0,0

out=$("$trace" 14 0)
if [ $? -ne 0 ] || [ "$(printf '%s\n' "$out" | wc -l)" -ne 1 ] ||
    [[ "$out" != '{"frame":0,"result":0,"lives":4,'*'"label":"SATURN"'*'"mode":0'*'"field":{"kind":1,"size":8,'* ]]; then
    echo "a run of zero frames should print the loaded stage 14 alone: $out"
    failed=1
fi

# A schedule token holds from its step on: the player is driven right only from step 3.
out=$("$trace" 1 3 3:0,0,1,0)
vx() { printf '%s\n' "$out" | sed -n "$1p" | sed 's/.*"label":"PLAYER","pos":\[[^]]*\],"vel":\[\([^,]*\),.*/\1/'; }
if [ "$(vx 3)" != "0" ] || [ "$(vx 4)" = "0" ]; then
    echo "the schedule did not start at step 3: $(vx 3) $(vx 4)"
    failed=1
fi

[ $failed -eq 0 ] && echo "tumbra-trace handles its arguments"
exit $failed
