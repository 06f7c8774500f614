#!/usr/bin/env bash
# Fails when the simulation calls a C library function whose last bit may differ between
# libraries or processors (sin, cos, atan2, pow, exp, ... in their std::, C, float and builtin
# forms): it has sim/own_math for those. sqrt stays, as IEEE rounds it exactly everywhere.
#   own_math_only.sh ROOT
set -u
# The simulation's folders and files, relative to ROOT.
SIMULATION=(engine flow)
FUNCTIONS='sin|cos|tan|asin|acos|atan|atan2|sinh|cosh|tanh|asinh|acosh|atanh|sincos'
FUNCTIONS+='|exp|exp2|expm1|log|log2|log10|log1p|pow|cbrt|hypot|erf|erfc|tgamma|lgamma'
# A call or a named function: the name (with f or l for float and long double) not preceded
# by a letter, digit, underscore, '.' or '>' (a member of our own), optionally qualified.
CALL="(^|[^[:alnum:]_.>])(std::|::|__builtin_)?($FUNCTIONS)[fl]?[[:space:]]*\\("
PATTERN="$CALL|std::($FUNCTIONS)[fl]?\\b"

root=$1
cd "$root" || exit 2
for path in "${SIMULATION[@]}"; do
    [ -e "$path" ] || { echo "$root/$path is missing: update SIMULATION"; exit 2; }
done
found=0
while IFS= read -r -d '' file; do
    # Comments may name the functions.
    hits=$(sed 's://.*$::' "$file" | grep -nE "$PATTERN")
    if [ -n "$hits" ]; then
        echo "$file calls the C library's transcendental functions; use sim/own_math.h:"
        echo "$hits"
        found=1
    fi
done < <(find "${SIMULATION[@]}" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
[ $found -eq 0 ] && echo "the simulation calls no C library transcendental function"
exit $found
