# The real game's window: its title, its size, and a depth buffer exactly when "/d" (or -d,
# --depth-buffer) is given; GLUT's own X options pass.
set -u
TUMBRA=$1
BUILD=$2
source "$(dirname "$0")/../support/e2e_lib.sh"

# check_window EXPECTED_DEPTH OPTIONS...: "none" or "some" depth bits.
check_window() {
    local expected=$1
    shift
    start_game "$@"
    [ "$(window_size)" = "400x400" ] || fail "window is $(window_size) with options '$*'"
    local bits
    bits=$(depth_bits)
    case "$expected" in
    none) [ "$bits" = "0" ] || fail "options '$*' give $bits depth bits, wanted none" ;;
    some) [ -n "$bits" ] && [ "$bits" -gt 0 ] || fail "options '$*' give no depth buffer" ;;
    esac
    echo "options '$*': depth bits $bits"
    press Escape
    wait_for_exit
    [ "$STATUS" -eq 1 ] || fail "exit status $STATUS with options '$*'"
}

check_window none
check_window some /d
check_window some /s -n --depth-buffer
check_window none /D /x /dd -sync -display "$DISPLAY"
echo "window: ok"
