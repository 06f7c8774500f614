# After the last stage: "CONGRATURATIONS !!" and "ALL CLEAR !!", then the credit pages over
# the ending, through the game's own frames (tumbra-snapshot starts as stage 22 is cleared).
# Places are in pixels of the 400 by 400 window.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

# frame N: the game's N-th frame from the clearing of stage 22.
frame() {
    "$BUILD/tools/tumbra-snapshot" 23 "$1" "$WORK/shot.ppm" || fail "tumbra-snapshot failed"
}

expect_at() {
    places "$1" | grep -qx "$2 $3" || fail "frame $at: \"$1\" not at ($2, $3): $(places "$1")"
}

at=5
frame $at
expect_at "CONGRATURATIONS !!" 120 212
expect_at "ALL CLEAR !!" 146 183
expect_at "STAGE : 22" 11 380

# The ending starts on frame 21 and shows each page for 200 frames.
for at in 21 220; do
    frame $at
    expect_at "GAME DESIGN" 151 212
    expect_at "VELMORANDE" 155 183
    expect_not_shown "STAGE : "
    expect_not_shown "PLAYER : "
done
at=221
frame $at
expect_at "CHARACTER DESIGN" 128 212
at=520
frame $at
expect_at "STAGE DESIGN" 151 212
at=700
frame $at
expect_at "SOUND EFFECT (?)" 128 212
at=900
frame $at
expect_at "PROGRAMMING" 151 212
at=1220
frame $at
expect_at "Tumbra" 173 212
expect_at "VELMORANDE 1997" 133 183
echo "ending: ok"
