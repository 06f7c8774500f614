#!/usr/bin/env bash
# The browser version's figures (README, "Play in the browser"): the page's first frame and
# its frames on time in headless Chromium (web_page.mjs), the whole game verified in wasm
# under Node against the desktop (warm, in process: tumbra-replay-speed and
# tumbra-bench-replay), and the site's size. Reported, not asserted.
#
#   bench/web_page.sh [BUILD_DIR [RUNS]]     (defaults: build, 9)
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build}" && pwd)
runs=${2:-9}
"$root/tools/make-web" >/dev/null
site=$root/build-web/site

node "$root/bench/web_page.mjs" "$site" "$runs"

# The whole game played headless, warm, in one process: wasm under Node against the desktop's
# build (Google Benchmark's median of RUNS repetitions).
wasm=$(node --no-experimental-fetch "$root/build-web/node/tumbra-replay-speed.js" \
    "$root/docs/full_game.replay" 20)
native=$("$build/bench/tumbra-bench-replay" --benchmark_repetitions="$runs" \
    --benchmark_report_aggregates_only=true --benchmark_format=csv 2>/dev/null |
    awk -F, '/_median"/ { printf "%.3f", $3 }')
echo "$wasm $native" | awk '{ printf "whole game verified: wasm under Node %.2f ms, native %.2f ms: %.2fx\n", $1, $2, $2 / $1 }'

total=0
compressed=0
while IFS= read -r file; do
    total=$((total + $(stat -c %s "$file")))
    compressed=$((compressed + $(gzip -9 -c "$file" | wc -c)))
done < <(find "$site" -type f)
echo "site: $total bytes, $compressed gzipped ($(find "$site" -type f | wc -l) files)"
