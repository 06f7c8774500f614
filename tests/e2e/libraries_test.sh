# SDL (sound, gamepads), libpng (screenshots) and XRandR (the display's rate) are loaded where
# they are first used, so the program itself needs none of them; one that cannot be loaded
# (here a planted file that is no library) costs one line on stderr and its own feature only:
# the game plays on silently, without a pad and without screenshots.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

needed=$(readelf -d "$TUMBRA" | grep NEEDED)
for library in libSDL2 libpng libXrandr libasound; do
    [[ $needed != *"[$library"* ]] || fail "the program needs $library at exec: $needed"
done

mkdir "$WORK/broken"
for library in libSDL2-2.0.so.0 libpng16.so.16; do
    echo "not a library" >"$WORK/broken/$library"
done
export LD_LIBRARY_PATH=$WORK/broken
start_game
unset LD_LIBRARY_PATH
wait_for_text "Tumbra" 173 212
press F12
deadline=$((SECONDS + 10))
until grep -q "screenshots are not saved" "$GAME_STDERR" || [ $SECONDS -ge $deadline ]; do
    sleep 0.05
done
press Right
wait_for_text "READY ?" 168 198 15
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "exit status $STATUS: $(cat "$GAME_STDERR")"
[ "$(grep -c "libSDL2-2.0.so.0: file too short; no sound and no gamepad$" "$GAME_STDERR")" -eq 1 ] ||
    fail "no single line for the missing SDL: $(cat "$GAME_STDERR")"
[ "$(grep -c "libpng16.so.16: file too short; screenshots are not saved$" "$GAME_STDERR")" -eq 1 ] ||
    fail "no single line for the missing libpng: $(cat "$GAME_STDERR")"
echo "libraries: ok"
