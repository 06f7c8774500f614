#!/usr/bin/env bash
# Draws every case of pictures/cases.txt with tumbra-snapshot and compares the picture with
# the stored one, pixel for pixel. With --update it rewrites the stored pictures instead.
# Needs a display (run under tests/support/with_xvfb.sh) and imagemagick.
#   check_pictures.sh PATH-TO-TUMBRA-SNAPSHOT [--update]
set -u
snapshot=$1
update=${2:-}
here=$(cd "$(dirname "$0")" && pwd)
solutions="$here/../../tools/solutions"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0
while read -r name stage frames size schedule options; do
    [[ -z "$name" || "$name" == \#* ]] && continue
    args=()
    [ "$schedule" != - ] && args=("$solutions/$schedule")
    # shellcheck disable=SC2086 # the options are separate arguments
    if ! "$snapshot" $options "$stage" "$frames" "$work/$name.ppm" "$size" "${args[@]}"; then
        echo "$name: tumbra-snapshot failed"
        failed=1
        continue
    fi
    expected="$here/pictures/$name.png"
    if [ "$update" = "--update" ]; then
        convert "$work/$name.ppm" "$expected"
        continue
    fi
    differing=$(compare -metric AE "$work/$name.ppm" "$expected" null: 2>&1)
    if [ "$differing" != 0 ]; then
        convert "$work/$name.ppm" "/tmp/tumbra-golden-$name.png"
        echo "$name: $differing pixels differ from $expected (drawn: /tmp/tumbra-golden-$name.png)"
        failed=1
    fi
done <"$here/pictures/cases.txt"
[ $failed -eq 0 ] && [ "$update" != "--update" ] && echo "all golden pictures match"
exit $failed
