# What the lint scripts' own tests share, sourced by them: a line planted in a file of a
# scratch tree, the lint run over the tree, and its status held to the one expected. The test
# sets `lint` (the script) and `work` (the tree) first; a wrong status sets `failed`.
failed=0

# plant FILE LINE EXPECTED-STATUS
plant() {
    printf '%s\n' "$2" >"$work/$1"
    bash "$lint" "$work" >/dev/null
    local status=$?
    if [ $status -ne "$3" ]; then
        echo "FAIL: '$2' in $1 gave status $status, not $3"
        failed=1
    fi
    rm "$work/$1"
}
