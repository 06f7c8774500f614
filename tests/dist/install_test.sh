# `cmake --install` into a temporary DESTDIR: exactly the game's files, the icons in the sizes
# their folders name, metadata that the desktop's validators accept, a manual page that lints
# clean, and an installed binary that knows its version; then the uninstall target, which
# takes it all away again.
set -u
BUILD=$1
VERSION=$2
ID=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
    echo "FAIL: $*"
    exit 1
}

DESTDIR="$work/root" cmake --install "$BUILD" --prefix /usr >"$work/log" ||
    fail "cmake --install: $(cat "$work/log")"
usr="$work/root/usr"
expected=(bin/tumbra "share/applications/$ID.desktop" "share/metainfo/$ID.metainfo.xml"
          share/man/man6/tumbra.6 share/doc/tumbra/README.md share/doc/tumbra/LICENSE)
for size in 48 64 128 256; do
    expected+=("share/icons/hicolor/${size}x${size}/apps/$ID.png")
    [ "$(identify -format '%wx%h' "$usr/share/icons/hicolor/${size}x${size}/apps/$ID.png")" = \
        "${size}x${size}" ] || fail "the ${size}x${size} icon has another size"
done
diff <(printf '%s\n' "${expected[@]}" | sort) <(cd "$usr" && find . -type f -printf '%P\n' | sort) ||
    fail "the install holds other files than these: ${expected[*]}"

[ "$("$usr/bin/tumbra" --version | head -n 1)" = "tumbra $VERSION" ] ||
    fail "the installed binary says: $("$usr/bin/tumbra" --version 2>&1)"
desktop-file-validate "$usr/share/applications/$ID.desktop" || fail "desktop-file-validate"
appstreamcli validate --no-net "$usr/share/metainfo/$ID.metainfo.xml" >"$work/log" ||
    fail "appstreamcli: $(cat "$work/log")"
# The menu finds the icon, and the metadata the menu entry, by the id.
grep -qx "Icon=$ID" "$usr/share/applications/$ID.desktop" || fail "the menu entry names another icon"
grep -q "<launchable type=\"desktop-id\">$ID.desktop<" "$usr/share/metainfo/$ID.metainfo.xml" ||
    fail "the metainfo launches another menu entry"
grep -q "<release version=\"$VERSION\"" "$usr/share/metainfo/$ID.metainfo.xml" ||
    fail "the metainfo lists no release $VERSION"
lint=$(mandoc -T lint -W all "$usr/share/man/man6/tumbra.6" 2>&1)
[ -z "$lint" ] || fail "mandoc: $lint"

# The menu starts the installed binary by its path; the metadata's keywords are the menu
# entry's, and it names the gamepad; the README is the player's.
grep -qx "Exec=/usr/bin/tumbra" "$usr/share/applications/$ID.desktop" ||
    fail "the menu entry runs $(grep Exec= "$usr/share/applications/$ID.desktop")"
menu_keywords=$(sed -n 's/^Keywords=//p' "$usr/share/applications/$ID.desktop" | tr ';' '\n' | sed '/^$/d' | sort)
meta_keywords=$(sed -n 's|.*<keyword>\(.*\)</keyword>.*|\1|p' "$usr/share/metainfo/$ID.metainfo.xml" | sort)
[ "$menu_keywords" = "$meta_keywords" ] || fail "keywords differ: $menu_keywords / $meta_keywords"
grep -q "<control>gamepad</control>" "$usr/share/metainfo/$ID.metainfo.xml" ||
    fail "the metainfo does not name the gamepad"
grep -q "^## Your files" "$usr/share/doc/tumbra/README.md" && ! grep -q "\./play" "$usr/share/doc/tumbra/README.md" ||
    fail "the installed README is not the player's"

DESTDIR="$work/root" cmake --build "$BUILD" --target uninstall >"$work/log" ||
    fail "uninstall: $(cat "$work/log")"
left=$(cd "$usr" && find . -mindepth 2)
[ -z "$left" ] || fail "the uninstall left: $left"
echo "install: ok"
