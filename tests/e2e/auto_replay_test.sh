# Every game in the window is recorded without asking: a game given up with "q" leaves a sealed
# replay that verifies headless, and showing that replay in the window records nothing new and
# counts for no record. A game killed outright leaves its replay so far, which plays. --record
# with --stage records from that stage.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"
REPLAYS="$HOME/.local/share/tumbra/replays"
RECORDS="$HOME/.local/share/tumbra/records.toml"

# wait_for_sealed: until one replay file holds its end record (at most 10 s); sets GAME_FILE.
wait_for_sealed() {
    local deadline=$((SECONDS + 10))
    until GAME_FILE=$(grep -l '^end ' "$REPLAYS"/*.replay 2>/dev/null | head -n 1) &&
        [ -n "$GAME_FILE" ]; do
        [ $SECONDS -lt $deadline ] || fail "no sealed replay in $REPLAYS: $(ls -l "$REPLAYS" 2>&1)"
        sleep 0.05
    done
}

# What a game killed while its replay was being written leaves (its process is gone) goes.
mkdir -p "$REPLAYS"
stale="$REPLAYS/20200101-000000-000.replay.tmp2147483646-0"
touch "$stale"

start_game /s
wait_for_text "Tumbra" 173 212
press s
press Up
wait_for_text "READY ?" 168 198 15
press 4
press q
wait_for_text "Tumbra" 173 212 15
wait_for_sealed
# The game went on untouched; its file starts where the title's frame left it.
grep -q '^start title-game level 1$' "$GAME_FILE" ||
    fail "the game's replay starts with: $(head -n 3 "$GAME_FILE")"
"$BUILD/tools/tumbra-replay" --require-sealed "$GAME_FILE" >"$WORK/summary" ||
    fail "the game's replay does not verify: $(tail -n 1 "$WORK/summary")"
grep -q '"livesLost":0,"lives":4,"sealed":true' "$WORK/summary" ||
    fail "unexpected summary: $(tail -n 1 "$WORK/summary")"
deadline=$((SECONDS + 10))
while [ -e "$stale" ]; do
    [ $SECONDS -lt $deadline ] || fail "a stale temporary file is left in $REPLAYS"
    sleep 0.05
done
press Escape
wait_for_exit
cp "$RECORDS" "$WORK/records.before"

start_game /s --replay "$GAME_FILE"
wait_for_text "STAGE : 1" 11 380 15
wait_for_text "Tumbra" 173 212 15
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "the replay ended with status $STATUS: $(cat "$GAME_STDERR")"
[ "$(ls "$REPLAYS" | wc -l)" -eq 1 ] || fail "the replay was recorded again: $(ls "$REPLAYS")"
cmp -s "$RECORDS" "$WORK/records.before" || fail "the replay changed the records"

start_game /s --stage 3
wait_for_text "READY ?" 168 198 15
deadline=$((SECONDS + 10))
until [ "$(ls "$REPLAYS" | wc -l)" -eq 2 ]; do
    [ $SECONDS -lt $deadline ] || fail "no replay of the game being played: $(ls "$REPLAYS")"
    sleep 0.05
done
kill -9 "$GAME_PID"
wait "$GAME_PID" 2>/dev/null
GAME_PID=""
killed=$(ls "$REPLAYS"/*.replay | grep -v "$GAME_FILE")
grep -q '^start stage 3 level 1$' "$killed" || fail "the killed game's replay: $(head -n 3 "$killed")"
"$BUILD/tools/tumbra-replay" "$killed" >/dev/null || fail "the killed game's replay does not play"
start_game /s --stage 5 --record "$WORK/practice.replay"
wait_for_text "READY ?" 168 198 15
press q
wait_for_text "Tumbra" 173 212 15
press Escape
wait_for_exit
grep -q '^start stage 5 level 0$' "$WORK/practice.replay" &&
    "$BUILD/tools/tumbra-replay" --require-sealed "$WORK/practice.replay" >/dev/null ||
    fail "the practice recording does not verify: $(head -n 4 "$WORK/practice.replay")"
echo "automatic replay: ok"
