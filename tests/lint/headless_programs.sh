#!/usr/bin/env bash
# The headless programs link no window, graphics, sound or picture library (ldd shows none of
# GL, GLUT, X11, SDL, libpng, XRandR or ALSA) and carry no TOML reader (no toml++ symbol):
# they read none of the player's files. Prints what each one wrongly links; exits 1 if any.
#   headless_programs.sh PROGRAM ...
set -u
libraries='lib(GL|GLX|OpenGL|EGL|glut|X11|Xrandr|SDL2|png|asound)[-.]'
failed=0
for program in "$@"; do
    linked=$(ldd "$program" 2>/dev/null | awk '{print $1}' | grep -E "^$libraries" | tr '\n' ' ')
    toml=$(nm -C "$program" 2>/dev/null | grep -c 'toml::')
    if [ -n "$linked" ] || [ "$toml" -gt 0 ]; then
        echo "$(basename "$program") links ${linked:-no library it should not}and has $toml toml++ symbols"
        failed=1
    fi
done
[ $failed -eq 0 ] && echo "no headless program links a window, graphics, sound or picture library, or toml++"
exit $failed
