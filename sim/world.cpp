#include "sim/world.h"

#include "render/gl_lists.h"

namespace {

constexpr int InitialFieldKind = 0;
constexpr float InitialFieldSize = 10.0f;

} // namespace

World gameWorld;

World::World()
    : fieldKind(InitialFieldKind), playPhase(0), phaseCountdown(0), fieldSize(InitialFieldSize),
      fieldList(DisplayListSentinel), ballCount(0), balls{} {
    // Before main no OpenGL context exists: the mesh part of this set-up is skipped and the
    // game set-up builds the field again once the window is there.
    setupField(fieldKind, fieldSize);
}
