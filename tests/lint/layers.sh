#!/usr/bin/env bash
# Holds the code to its layers: a folder includes only itself and the folders below it, and
# only render/, platform/ and shell/ include the headers of the graphics, window, sound and
# picture libraries. Prints every include that breaks this and exits 1; 0 when none does.
#   layers.sh SOURCE_DIR
set -u
root=$1
cd "$root" || exit 2

# What each folder may include besides itself.
declare -A allowed=(
    [platform]=""
    [engine]="platform"
    [render]="engine platform"
    [replay]="engine platform"
    [player]="engine replay platform"
    [flow]="engine replay player platform"
    [shell]="engine render replay player flow platform"
)
# The libraries only the machine's layers may speak to.
machine_headers='^(GL|GLES2|GLES3|X11|SDL2|EGL|emscripten)/|^(png|SDL|pngconf)\.h$|^emscripten\.h$'
machine_layers="render platform shell"

failed=0
for folder in "${!allowed[@]}"; do
    [ -d "$folder" ] || continue
    while IFS= read -r -d '' file; do
        while IFS=: read -r line text; do
            header=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*[<"]([^>"]+)[>"].*/\1/' <<<"$text")
            top=${header%%/*}
            if [ "$top" != "$header" ] && [ -n "${allowed[$top]+set}" ] && [ "$top" != "$folder" ] &&
                [[ " ${allowed[$folder]} " != *" $top "* ]]; then
                echo "$file:$line: $folder/ may not include $header"
                failed=1
            fi
            if [[ " $machine_layers " != *" $folder "* ]] && [[ "$header" =~ $machine_headers ]]; then
                echo "$file:$line: only ${machine_layers// /, } may include $header"
                failed=1
            fi
        done < <(grep -nE '^[[:space:]]*#[[:space:]]*include' "$file")
    done < <(find "$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.in' \) -print0)
done
[ $failed -eq 0 ] && echo "every include keeps to its layer"
exit $failed
