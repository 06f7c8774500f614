# The command line with no display: help and the version on stdout with status 0, a bad
# option's error and the usage on stderr with status 2, and neither a window (glutInit would
# end the process with status 1) nor the audio device (SDL's disk driver would write a file).
set -u
TUMBRA=$1
VERSION=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
unset DISPLAY XDG_DATA_HOME XDG_CONFIG_HOME
export SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/audio.raw" HOME="$work"
failures=0
checks=0

# expect STATUS STREAM FIRST_LINE ARGS...: the exit status, the stream (out or err) that
# holds the whole answer, and its first line; the other stream stays empty.
expect() {
    local status=$1 stream=$2 first=$3
    shift 3
    "$TUMBRA" "$@" >"$work/out" 2>"$work/err"
    local got=$? quiet=err
    checks=$((checks + 1))
    [ "$stream" = out ] || quiet=out
    if [ "$got" -ne "$status" ] || [ "$(head -n 1 "$work/$stream")" != "$first" ] ||
        [ -s "$work/$quiet" ] || [ -e "$work/audio.raw" ] ||
        { [ "$stream" = err ] && ! grep -q '^Usage: tumbra \[OPTION\]\.\.\.$' "$work/err"; }; then
        echo "FAIL: tumbra $*: status $got, stdout: $(head -c 300 "$work/out"), stderr: $(head -c 300 "$work/err")"
        failures=$((failures + 1))
    fi
}

expect 0 out "Usage: tumbra [OPTION]..." --help
expect 0 out "Usage: tumbra [OPTION]..." /d -s -h --bogus
expect 0 out "tumbra $VERSION" --version
expect 0 out "tumbra $VERSION" -V
expect 2 err "tumbra: unrecognized option '--bogus'" /s --bogus --help
expect 2 err "tumbra: unrecognized option '-x'" -x
expect 2 err "tumbra: option '-display' requires an argument" -d -display
expect 2 err "tumbra: option '--silent' doesn't allow an argument" --silent=1
expect 2 err "tumbra: option '--record' requires an argument" -s --record
for stage in 0 23 5x -1 " 7"; do
    expect 2 err "tumbra: option '--stage' needs a stage from 1 to 22" --stage="$stage"
done
expect 2 err "tumbra: option '--stage' cannot be used with '--replay'" --replay f --stage 22

# --records: the table from the records file, with no display.
mkdir -p "$work/.local/share/tumbra"
printf 'games_played = 3
[stages]
12 = { frames = 4321, lives_lost = 2, replay = "20261207-150102-003.replay" }
' \
    >"$work/.local/share/tumbra/records.toml"
expect 0 out "Tumbra's records ($work/.local/share/tumbra/records.toml)" --records
grep -qx "GAMES PLAYED   3" "$work/out" && grep -qx "    1      -    -      12   4321    2" "$work/out" &&
    grep -qx "STAGE 12   $work/.local/share/tumbra/replays/20261207-150102-003.replay" "$work/out" ||
    { echo "FAIL: tumbra --records: $(cat "$work/out")"; failures=$((failures + 1)); }

# A bad value in the records: --records shows the others, says what it refused, and changes
# nothing in the folder.
printf 'games_played = 3\n[stages]\n2 = { frames = -5, lives_lost = 1 }\n' \
    >"$work/.local/share/tumbra/records.toml"
before=$(ls -lR --time-style=full-iso "$work/.local" && md5sum "$work/.local/share/tumbra/records.toml")
"$TUMBRA" --records >"$work/out" 2>"$work/err"
checks=$((checks + 1))
after=$(ls -lR --time-style=full-iso "$work/.local" && md5sum "$work/.local/share/tumbra/records.toml")
if [ "$before" != "$after" ] || ! grep -qx "GAMES PLAYED   3" "$work/out" ||
    [ "$(wc -l <"$work/err")" -ne 1 ] || ! grep -q "leaving the file as it is$" "$work/err"; then
    echo "FAIL: tumbra --records with a bad value: $(cat "$work/err"); $after"
    failures=$((failures + 1))
fi

# expect_file_error FIRST ARGS...: a file named on the command line cannot be used: one line
# on stderr that starts with FIRST, status 2, and nothing else (no display is needed).
expect_file_error() {
    local first=$1
    shift
    "$TUMBRA" "$@" >"$work/out" 2>"$work/err"
    local got=$?
    checks=$((checks + 1))
    if [ "$got" -ne 2 ] || [ "$(wc -l <"$work/err")" -ne 1 ] ||
        [[ $(cat "$work/err") != "$first"* ]] || [ -s "$work/out" ]; then
        echo "FAIL: tumbra $*: status $got, stdout: $(head -c 300 "$work/out"), stderr: $(head -c 300 "$work/err")"
        failures=$((failures + 1))
    fi
}
printf 'tumbra-replay 1\ngame 1.0.0\nstart title\n5 key 56\n4 key 50\n' >"$work/bad.replay"
expect_file_error "tumbra: $work/bad.replay:5: out of time order" --replay "$work/bad.replay"
expect_file_error "tumbra: $work/none.replay: cannot open" /s --replay "$work/none.replay"
expect_file_error "tumbra: $work/no/x.replay: cannot write" --record "$work/no/x.replay"
# A full disk at the header, and a FIFO (which would block in open): refused before any window.
expect_file_error "tumbra: /dev/full: cannot write" --record /dev/full
mkfifo "$work/fifo"
expect_file_error "tumbra: $work/fifo: not a regular file" --replay "$work/fifo"
expect_file_error "tumbra: $work/fifo: cannot write" --record "$work/fifo"
echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
