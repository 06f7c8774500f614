#!/usr/bin/env bash
# The replay tool built for Node by emscripten (build-web/node/tumbra-replay.js) against the
# desktop's: the same report, the same lines on stderr and the same exit status on every
# recording given, on a recording that departs and on a bad file, and the same recording
# written by --write. Output goes to files: Node cuts a full pipe's standard output at 64 KiB.
#   node_replay_test.sh NODE-TOOL NATIVE-TOOL RECORDING...
# Exits 77 (skipped) where Node or the web build is missing.
set -u
node_tool=$1
native=$2
shift 2
if ! command -v node >/dev/null || [ ! -f "$node_tool" ]; then
    echo "skipped: no node or no $node_tool (tools/make-web)"
    exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failed=0

# same NAME ARGUMENT...: both tools given the same arguments answer alike.
same() {
    local name=$1
    shift
    node --no-experimental-fetch "$node_tool" "$@" >"$work/node.out" 2>"$work/node.err"
    local node_status=$?
    "$native" "$@" >"$work/native.out" 2>"$work/native.err"
    local native_status=$?
    if [ $node_status -ne $native_status ] || ! cmp -s "$work/node.out" "$work/native.out" ||
        ! cmp -s "$work/node.err" "$work/native.err"; then
        echo "FAIL $name: status $node_status against $native_status"
        diff "$work/native.out" "$work/node.out" | head -5
        diff "$work/native.err" "$work/node.err" | head -5
        failed=1
    else
        echo "ok   $name: $(wc -l <"$work/native.out") lines, status $native_status"
    fi
}

for recording in "$@"; do
    same "$(basename "$recording")" "$recording"
    same "--write of $(basename "$recording")" --write "$work/written.replay" "$recording"
    mv "$work/written.replay" "$work/node-written.replay"
    "$native" --write "$work/written.replay" "$recording" >/dev/null
    cmp -s "$work/written.replay" "$work/node-written.replay" ||
        { echo "FAIL --write of $(basename "$recording") writes another file"; failed=1; }
done
key=$(grep ' key 5[0-7]$' "$1" | sed -n 2p)
sed "s/^$key\$/$((${key%% *} + 2)) ${key#* }/" "$1" >"$work/moved.replay"
same "a recording that departs" "$work/moved.replay"
printf 'tumbra-replay 1\ngame 1\nstart title\n5 pad leftX=1e-50\n' >"$work/bad.replay"
same "a bad file" "$work/bad.replay"
exit $failed
