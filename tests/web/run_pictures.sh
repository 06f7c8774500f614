#!/usr/bin/env bash
# ctest web.pictures: builds the browser version (tools/make-web) and draws every golden
# picture's case in headless Chromium (pictures.mjs), failed cases leaving their pictures in
# OUT. Exits 77, which ctest counts as skipped, where emscripten or Node is missing;
# pictures.mjs does the same without Chromium, the npm packages or the build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
out=${1:?usage: run_pictures.sh OUT}
for tool in em++ node; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: no $tool (tools/install-deps)"
        exit 77
    fi
done
"$root/tools/make-web"
exec node "$root/tests/web/pictures.mjs" "$root/build-web/pictures" "$root/tests/golden/pictures" \
    "$root/tools/solutions" "$out"
