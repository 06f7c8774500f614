#!/usr/bin/env bash
# Runs a command on a private Xvfb display of its own, so that tests running side by side
# never share a pointer, a focus or a window list.
set -u
ready=$(mktemp)
# -noreset: by default the server resets when its last client leaves, and a program that
# connects during the reset fails to open the display (scripts start the game several times).
# XVFB_SCREEN chooses another screen size, for tests of large windows.
Xvfb -displayfd 3 -screen 0 "${XVFB_SCREEN:-1024x768x24}" -nolisten tcp -noreset 3>"$ready" >/dev/null 2>&1 &
server=$!
for _ in $(seq 100); do
    [ -s "$ready" ] && break
    sleep 0.05
done
if [ ! -s "$ready" ]; then
    echo "with_xvfb: Xvfb did not start" >&2
    kill "$server" 2>/dev/null
    rm -f "$ready"
    exit 1
fi
export DISPLAY=":$(head -n 1 "$ready")"
rm -f "$ready"
"$@"
status=$?
kill "$server" 2>/dev/null
wait "$server" 2>/dev/null
exit $status
