# The player's files in the real window: a practice game from --stage, F12's screenshot, a
# recorded game that counts and its replay that does not, the records page on "h", saved
# settings, and a closed window.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

# wait_for_line PATTERN FILE: until a line of FILE matches (at most 10 s).
wait_for_line() {
    local deadline=$((SECONDS + 10))
    until grep -q "$1" "$2" 2>/dev/null; do
        [ $SECONDS -lt $deadline ] || fail "no line '$1' in $2: $(cat "$2" 2>/dev/null)"
        sleep 0.05
    done
}

start_game /s --stage 17
wait_for_text "STAGE : 17" 11 380 15
wait_for_text "PLAYER : " 264 15

# F12 saves the window, named on stderr, in the pictures folder of user-dirs.dirs.
mkdir -p "$HOME/.config"
echo 'XDG_PICTURES_DIR="$HOME/Pictures"' >"$HOME/.config/user-dirs.dirs"
press F12
wait_for_line "saved $HOME/Pictures/Tumbra/tumbra-.*\.png" "$GAME_STDERR"
picture=$(sed -n "s|^tumbra: saved ||p" "$GAME_STDERR")
[ "$(identify -format '%wx%h' "$picture")" = "400x400" ] || fail "screenshot is not 400x400"

# "s" is saved as it changes; the practice game counts as a game played.
press s
wait_for_line "speed_level = 1" "$HOME/.config/tumbra/settings.toml"
press Escape
wait_for_exit
grep -qx "games_played = 1" "$HOME/.local/share/tumbra/records.toml" ||
    fail "the practice game is not counted: $(cat "$HOME/.local/share/tumbra/records.toml")"

# A recorded game counts; the same game replayed does not (F12 works there too). Both start at
# speed level 0, as the recording assumes, though the settings say 1.
start_game /s --record "$WORK/game.replay"
wait_for_text "Tumbra" 173 212
press Right
wait_for_text "READY ?" 168 198 15
press q
wait_for_text "Tumbra" 173 212
press Escape
wait_for_exit
start_game /s --replay "$WORK/game.replay"
wait_for_text "STAGE : 1" 11 380 15
press F12
wait_for_line "saved $HOME/Pictures/Tumbra/tumbra-.*\.png" "$GAME_STDERR"
wait_for_text "Tumbra" 173 212 15
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "the replay ended with status $STATUS: $(cat "$GAME_STDERR")"
grep -qx "games_played = 2" "$HOME/.local/share/tumbra/records.toml" ||
    fail "a replay changed the games played: $(cat "$HOME/.local/share/tumbra/records.toml")"

# The records page over the title, and any key takes it away without starting a game.
start_game /s
wait_for_text "Tumbra" 173 212
press h
wait_for_text "GAMES PLAYED   2" 15 316
press Right
wait_for_text "Tumbra" 173 212
sleep 0.5
shoot
expect_not_shown "READY ?"
expect_not_shown "STAGE : "
press s
wait_for_line "speed_level = 2" "$HOME/.config/tumbra/settings.toml"

# Closing the window ends the game with status 0.
"$BUILD/tests/tumbra-close-window" "$WINDOW" || fail "the close request was not sent"
wait_for_exit
[ "$STATUS" -eq 0 ] || fail "a closed window ended the game with status $STATUS"
echo "player files: ok"
