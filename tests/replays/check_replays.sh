#!/usr/bin/env bash
# tumbra-replay on the committed recordings and on bad ones. Each recording must replay to its
# recorded state changes and checksum; run in the optimised and in the sanitizer build, this
# shows that both builds take the same path bit for bit. Bad files give one line naming the
# file (and the line) on stderr and status 2; a replay that departs gives status 3.
#   check_replays.sh PATH-TO-TUMBRA-REPLAY RECORDING...
set -u
tool=$1
shift
failed=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

problem() {
    echo "FAIL: $*"
    failed=1
}

for recording in "$@"; do
    summary=$("$tool" "$recording" 2>"$work/err" | tail -n 1)
    status=$?
    [[ $status -eq 0 && $summary == *'"match":true}' ]] ||
        problem "$recording does not replay to its checksum: $summary $(cat "$work/err")"

    # Sealing the recording's own inputs again gives the same recording.
    "$tool" --write "$work/again.replay" "$recording" >/dev/null ||
        problem "--write $recording failed"
    diff <(sed 2d "$recording" | grep -v '^#') <(sed 2d "$work/again.replay") >/dev/null ||
        problem "--write of the inputs of $recording differs from it"
done

good=$1
lines=$(wc -l <"$good")
# expect_bad NAME LINE: the file $work/NAME is refused with its line number LINE (0: none).
expect_bad() {
    local out status where
    out=$("$tool" "$work/$1" 2>"$work/err")
    status=$?
    where="$work/$1:$2: "
    [ "$2" -eq 0 ] && where="$work/$1: "
    if [ $status -ne 2 ] || [ -n "$out" ] || [ "$(wc -l <"$work/err")" -ne 1 ] ||
        [[ $(cat "$work/err") != "tumbra-replay: $where"* ]]; then
        problem "$1: status $status, stderr: $(cat "$work/err")"
    fi
}
expect_bad missing 0
sed '1s/ [0-9]*$/ 4/' "$good" >"$work/version"
expect_bad version 1
head -c -3 "$good" >"$work/truncated"
expect_bad truncated "$lines"
{ head -n 3 "$good"; echo "9 key 56"; echo "8 key 56"; } >"$work/order"
expect_bad order 5
{ head -n 3 "$good"; echo "99999999 key 56"; } >"$work/frame"
expect_bad frame 4
truncate -s 257M "$work/huge"
expect_bad huge 0
mkfifo "$work/fifo"
timeout 10 "$tool" "$work/fifo" >/dev/null 2>&1
[ $? -eq 2 ] || problem "a FIFO is not refused"
expect_bad fifo 0

# A file cut short matches as far as it goes; --require-sealed fails it. The summary tells a
# whole game from a bare header and end record.
head -n -1 "$good" >"$work/cut"
"$tool" "$work/cut" >/dev/null 2>&1 || problem "a cut-short recording does not match"
"$tool" --require-sealed "$work/cut" >/dev/null 2>"$work/err"
status=$?
[[ $status -eq 3 && $(cat "$work/err") == *"not sealed"* ]] ||
    problem "--require-sealed on a cut-short file: status $status, $(cat "$work/err")"
head -n 3 "$good" >"$work/bare"
"$tool" --write "$work/sealed" --frames 0 "$work/bare" >/dev/null
summary=$("$tool" --require-sealed "$work/sealed" | tail -n 1)
[[ $summary == '{"frames":0,"stagesCleared":0,"livesLost":0,"lives":4,"sealed":true,'* ]] ||
    problem "a bare end record: $summary"

# A game that never comes back to the title (paused in stage 1) stops at the frame limit, with
# a warning, and the file it writes still plays.
printf '1 special 101\n2 key 112\n' >"$work/paused"
"$tool" --write "$work/capped" "$work/paused" >/dev/null 2>"$work/err"
[[ $(cat "$work/err") == *"stopped at the frame limit 2592000"* ]] ||
    problem "--write to the frame limit: $(cat "$work/err")"
"$tool" --require-sealed "$work/capped" >/dev/null || problem "the capped file does not play"

# The second tipping key two frames late moves the simulation: caught at the next state change.
key=$(grep ' key 5[0-7]$' "$good" | sed -n 2p)
frame=${key%% *}
sed "s/^$key\$/$((frame + 2)) ${key#* }/" "$good" >"$work/moved"
"$tool" "$work/moved" >/dev/null 2>"$work/err"
status=$?
[[ $status -eq 3 && $(cat "$work/err") == *"departs from the recording at frame "* ]] ||
    problem "a moved input: status $status, stderr: $(cat "$work/err")"

for args in "" "--write" "--write out" "--write out --frames x in" "-x file"; do
    # shellcheck disable=SC2086
    "$tool" $args >/dev/null 2>&1
    [ $? -eq 2 ] || problem "arguments \"$args\" are not refused"
done

[ $failed -eq 0 ] && echo "tumbra-replay: recordings replay, bad ones are refused"
exit $failed
