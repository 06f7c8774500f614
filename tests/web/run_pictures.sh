#!/usr/bin/env bash
# ctest web.pictures: draws every golden picture's case in headless Chromium (pictures.mjs)
# with the browser version that web.build made, failed cases leaving their pictures in OUT.
# Exits 77, which ctest counts as skipped, where Node is missing; pictures.mjs does the same
# without Chromium, the npm packages or the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:?usage: run_pictures.sh OUT}
if ! command -v node >/dev/null; then
    echo "skipped: no node (tools/install-deps)"
    exit 77
fi
exec node "$root/tests/web/pictures.mjs" "$root/build-web/pictures" "$root/tests/golden/pictures" \
    "$root/tools/solutions" "$out"
