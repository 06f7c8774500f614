#!/usr/bin/env bash
# own_math_only.sh on a planted copy of the simulation's layout: each form of a forbidden call
# must fail it, and our own functions, members and comments must not.
#   own_math_only_test.sh PATH-TO-OWN_MATH_ONLY.SH
set -u
lint=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/engine/characters" "$work/flow"
touch "$work/flow/game_flow.cpp"
source "$(dirname "$0")/plant.sh"

for call in 'std::sin(a)' 'sin(a)' 'sinf(a)' '::cos (a)' 'std::cosf(a)' 'atan2(y, x)' \
    'std::atan2l(y, x)' '__builtin_sin(a)' 'std::pow(a, 3.0)' 'exp(a)' 'f(std::tan)'; do
    plant engine/planted.cpp "double v = $call;" 1
done
plant engine/characters/planted.h 'return std::cos(a);' 1
printf 'v = std::sin(a);\n' >"$work/flow/game_flow.cpp"
bash "$lint" "$work" >/dev/null && { echo "FAIL: a call in flow/game_flow.cpp passes"; failed=1; }
: >"$work/flow/game_flow.cpp"
for clean in 'ownSin(a)' 'ownAtan2Float(y, x)' 'turn.sin(a)' 'p->cos(a)' 'std::sqrt(a)' \
    '// sin(a) in a comment' 'integerPower(a, 3)' 'isinf(a)'; do
    plant engine/planted.cpp "double v = $clean;" 0
done
rm -r "$work/flow"
bash "$lint" "$work" >/dev/null
[ $? -eq 2 ] || { echo "FAIL: a missing folder is not refused"; failed=1; }

[ $failed -eq 0 ] && echo "own_math_only.sh catches every planted call"
exit $failed
