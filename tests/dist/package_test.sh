# The Debian package, built once by tools/make-deb: its files, its control fields, a lintian
# run without errors, and its own binary (unpacked with dpkg -x) in a real window that ends
# with status 1 on Escape. Needs DISPLAY (a private X server).
set -u
ROOT=$1
DEB_BUILD=$2
VERSION=$3
ID=$4
TUMBRA="" # set once the package is unpacked
BUILD=""  # e2e_lib's text finder is not needed here
source "$ROOT/tests/support/e2e_lib.sh"

deb=$("$ROOT/tools/make-deb" "$DEB_BUILD" 2>"$WORK/log" | tail -n 1) || fail "make-deb: $(cat "$WORK/log")"
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "tumbra_${VERSION}_$arch.deb" ] || fail "package named $deb"

expected=(usr/games/tumbra "usr/share/applications/$ID.desktop"
          "usr/share/metainfo/$ID.metainfo.xml" usr/share/man/man6/tumbra.6.gz
          usr/share/doc/tumbra/README.md.gz usr/share/doc/tumbra/copyright
          usr/share/doc/tumbra/changelog.gz)
for size in 48 64 128 256; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$ID.png")
done
diff <(printf '%s\n' "${expected[@]}" | sort) \
    <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {sub("^\\./", "", $6); print $6}' | sort) ||
    fail "the package holds other files than these: ${expected[*]}"

# Depends from dpkg-shlibdeps: freeglut and the GL library (libglvnd's, which reaches Mesa
# through freeglut's libgl1); and named by the build, the libraries the game loads at run time.
depends=$(dpkg-deb -f "$deb" Depends)
for library in libglut3 'libopengl0|libgl1' libsdl2-2.0 libpng16-16 libxrandr2; do
    grep -qE "(^|, )($library)" <<<"$depends" || fail "Depends without $library: $depends"
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || fail "section $(dpkg-deb -f "$deb" Section)"
[ "$(dpkg-deb -f "$deb" Version)" = "$VERSION" ] || fail "version $(dpkg-deb -f "$deb" Version)"

lintian --display-info --fail-on error "$deb" >"$WORK/lintian" 2>&1 || fail "lintian: $(cat "$WORK/lintian")"
grep -E "^[EWIP]:" "$WORK/lintian" || echo "lintian: no errors, warnings or notes"

dpkg -x "$deb" "$WORK/root"
grep -q "^Source: " "$WORK/root/usr/share/doc/tumbra/copyright" || fail "copyright without Source:"
grep -qx "Exec=/usr/games/tumbra" "$WORK/root/usr/share/applications/$ID.desktop" ||
    fail "the menu entry does not run /usr/games/tumbra"
TUMBRA="$WORK/root/usr/games/tumbra"
start_game -s
press Escape
wait_for_exit
[ "$STATUS" -eq 1 ] || fail "the packaged game ended with status $STATUS on Escape"
echo "package: ok"
