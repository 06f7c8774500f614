#include "engine/world.h"

namespace {

constexpr int InitialFieldKind = 0;
constexpr float InitialFieldSize = 10.0f;

// The shiny field surface.
constexpr Material FieldSurfaceMaterial = {{0.4f, 0.4f, 0.4f, 1.0f},
                                           {0.5f, 0.5f, 0.5f, 1.0f},
                                           {1.0f, 1.0f, 1.0f, 1.0f},
                                           25.0f,
                                           {0.0f, 0.0f, 0.0f, 1.0f}};

// The balls: matte, its colours replaced by colour tracking while they are drawn.
constexpr Material BallMaterial = {{0.8f, 0.8f, 0.8f, 1.0f},
                                   {0.8f, 0.8f, 0.8f, 1.0f},
                                   {0.0f, 0.0f, 0.0f, 1.0f},
                                   0.0f,
                                   {0.0f, 0.0f, 0.0f, 1.0f}};

} // namespace

World gameWorld;

World::World()
    : fieldKind(InitialFieldKind), playPhase(0), phaseCountdown(0), fieldSize(InitialFieldSize),
      fieldList(DisplayListSentinel), ballCount(0), balls{} {
    // Before main no renderer keeps meshes: the game set-up builds the field again once the
    // window is there.
    setupField(fieldKind, fieldSize);
}

void World::initMaterialA() {
    fieldMaterialA = FieldSurfaceMaterial;
}

void World::initMaterialB() {
    fieldMaterialB = BallMaterial;
}
