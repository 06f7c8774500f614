#!/usr/bin/env bash
# layers.sh on planted trees: an include that points upwards, or a graphics header outside the
# folders that may speak to the machine, must fail it; the layers' own includes must not.
#   layers_test.sh PATH-TO-LAYERS.SH
set -u
lint=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work"/{platform,engine/characters,render,replay,player,flow,shell}
source "$(dirname "$0")/plant.sh"

plant engine/planted.cpp '#include "flow/game_flow.h"' 1
plant engine/characters/planted.h '#include "render/renderer.h"' 1
plant replay/planted.cpp '#include "player/records.h"' 1
plant player/planted.cpp '#include "flow/flags.h"' 1
plant flow/planted.cpp '#include "shell/window.h"' 1
plant render/planted.cpp '#include "flow/frame_view.h"' 1
plant platform/planted.cpp '#include "engine/world.h"' 1
plant flow/planted.cpp '#include <GL/freeglut.h>' 1
plant engine/planted.cpp '#include <SDL2/SDL.h>' 1
plant player/planted.cpp '#include <png.h>' 1
plant replay/planted.cpp '  #  include <X11/Xlib.h>' 1
plant flow/planted.cpp '#include "engine/world.h"' 0
plant flow/planted.cpp '#include "player/records.h"' 0
plant shell/planted.cpp '#include "render/gl_renderer.h"' 0
plant render/planted.cpp '#include <GL/gl.h>' 0
plant platform/planted.cpp '#include <SDL2/SDL.h>' 0
plant engine/planted.cpp '#include <vector>' 0
[ $failed -eq 0 ] && echo "layers.sh refuses every planted include and passes the rest"
exit $failed
