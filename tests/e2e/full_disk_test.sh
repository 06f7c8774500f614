# A full disk, as a file size limit of 0 bytes: the game plays on, keeps what it cannot save,
# and once the limit is raised (prlimit, on the running game) writes it all at the next save,
# or at exit: the settings, the games played and each game's sealed replay, as if the disk had
# never been full. Stderr says once when saving fails and once when it works again.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"
SETTINGS="$HOME/.config/tumbra/settings.toml"
RECORDS="$HOME/.local/share/tumbra/records.toml"
REPLAYS="$HOME/.local/share/tumbra/replays"

# The game under a file size limit of its own, with SIGXFSZ ignored so that a write past it
# fails with EFBIG. Its stderr goes through a pipe to a process without the limit, which
# writes it to $GAME_STDERR.
cat >"$WORK/limited" <<EOF
#!/usr/bin/env bash
trap '' XFSZ
exec 2> >(cat >&2)
exec prlimit --fsize=0:unlimited "$TUMBRA" "\$@"
EOF
chmod +x "$WORK/limited"
TUMBRA="$WORK/limited"

# wait_for_lines COUNT PATTERN: until COUNT lines of the game's stderr match (at most 10 s).
wait_for_lines() {
    local deadline=$((SECONDS + 10))
    until [ "$(grep -c "$2" "$GAME_STDERR" 2>/dev/null)" -ge "$1" ]; do
        [ $SECONDS -lt $deadline ] || fail "not $1 lines '$2' on stderr: $(cat "$GAME_STDERR")"
        sleep 0.05
    done
}

# play_a_game: from the title to "READY ?", given up with "q", back on the title.
play_a_game() {
    press Right
    wait_for_text "READY ?" 168 198 15
    press q
    wait_for_text "Tumbra" 173 212 15
}

# sealed_replays: how many replays in the folder hold their end record and verify.
sealed_replays() {
    local count=0 file
    for file in "$REPLAYS"/*.replay; do
        [ -e "$file" ] && "$BUILD/tools/tumbra-replay" --require-sealed "$file" >/dev/null &&
            count=$((count + 1))
    done
    echo "$count"
}

start_game /s
wait_for_text "Tumbra" 173 212
press s
wait_for_lines 1 "^tumbra: cannot save $SETTINGS: File too large; it is kept"
play_a_game
[ ! -e "$SETTINGS" ] && [ ! -e "$RECORDS" ] && [ "$(ls -A "$REPLAYS" 2>/dev/null)" = "" ] ||
    fail "a file was saved past the limit: $(ls -lR "$HOME")"
kill -0 "$GAME_PID" || fail "the game ended at the file size limit"

# Room again in the middle of the game: the next save writes everything kept.
prlimit --pid "$GAME_PID" --fsize=unlimited
press s
wait_for_lines 1 "^tumbra: saving works again: everything kept is saved$"
grep -qx "speed_level = 2" "$SETTINGS" || fail "settings: $(cat "$SETTINGS")"
grep -qx "games_played = 1" "$RECORDS" || fail "records: $(cat "$RECORDS")"
[ "$(sealed_replays)" -eq 1 ] || fail "the game's replay was not saved: $(ls -l "$REPLAYS")"

# Full again for a game, and room only at exit: written then.
prlimit --pid "$GAME_PID" --fsize=0:unlimited
play_a_game
wait_for_lines 2 "^tumbra: cannot save "
prlimit --pid "$GAME_PID" --fsize=unlimited
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "Escape ended the game with status $STATUS: $(cat "$GAME_STDERR")"
wait_for_lines 2 "^tumbra: saving works again"
grep -qx "games_played = 2" "$RECORDS" || fail "records at exit: $(cat "$RECORDS")"
[ "$(sealed_replays)" -eq 2 ] || fail "the second game's replay: $(ls -l "$REPLAYS")"
[ "$(grep -c . "$GAME_STDERR")" -eq 4 ] || fail "more said than needed: $(cat "$GAME_STDERR")"
ls "$REPLAYS" "$(dirname "$RECORDS")" | grep -q '\.tmp' && fail "a temporary file is left"
echo "full disk: ok"
