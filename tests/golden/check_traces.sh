#!/usr/bin/env bash
# Runs every case of cases.txt through tumbra-trace and compares the output with the stored
# trace, byte for byte. With --update it rewrites the stored traces instead.
#   check_traces.sh PATH-TO-TUMBRA-TRACE [--update]
set -u
trace=$1
update=${2:-}
here=$(dirname "$0")
failed=0
while read -r name stage frames tokens; do
    [[ -z "$name" || "$name" == \#* ]] && continue
    expected="$here/$name.jsonl"
    # shellcheck disable=SC2086 # the tokens are separate arguments
    actual=$("$trace" "$stage" "$frames" $tokens) || { echo "$name: tumbra-trace failed"; failed=1; continue; }
    if [ "$update" = "--update" ]; then
        printf '%s\n' "$actual" >"$expected"
        continue
    fi
    if ! cmp -s <(printf '%s\n' "$actual") "$expected"; then
        echo "$name: the trace differs from $expected; first difference:"
        diff <(printf '%s\n' "$actual") "$expected" | head -n 4 | cut -c 1-400
        failed=1
    fi
done <"$here/cases.txt"
[ $failed -eq 0 ] && echo "all golden traces match"
exit $failed
