#!/usr/bin/env bash
# ctest web.build: the browser version built once (tools/make-web) for the browser tests that
# follow it. Exits 77, which ctest counts as skipped, where emscripten or Node is missing; the
# tests after it then skip themselves too, finding no build.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in em++ node; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: no $tool (tools/install-deps)"
        exit 77
    fi
done
exec "$root/tools/make-web"
