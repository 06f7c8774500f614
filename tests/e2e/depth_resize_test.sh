# The real game with the depth buffer ("/d"): the picture and the texts are there, and the
# window-size keys keep every centred text at the same pixel offset from the window's centre
# ("Tumbra" starts 26.7 pixels left of it, its baseline 14.8 pixels above).
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

start_game /s /d

wait_for_text "Tumbra" 173 212
wait_for_text "VELMORANDE 1997" 133 183
expect_grey 200 300
expect_grey 100 200

press e
wait_for_size 500
wait_for_text "Tumbra" 223 262
expect_grey 250 380

press r r
wait_for_size 320
wait_for_text "Tumbra" 133 172
wait_for_text "VELMORANDE 1997" 93 143
expect_grey 160 240
echo "window: ok"
