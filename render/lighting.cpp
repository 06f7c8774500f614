#include "render/lighting.h"

LightModelParams lightModelParams;
LightParams light0Params;

namespace {

constexpr LightModelParams LightModelTable = {{0.4f, 0.4f, 0.4f, 1.0f}, 0.0f, 0.0f};

// One white directional light from the viewer's upper right.
constexpr LightParams Light0Table = {{0.4f, 0.4f, 0.4f, 1.0f},
                                     {1.0f, 1.0f, 1.0f, 1.0f},
                                     {1.0f, 1.0f, 1.0f, 1.0f},
                                     {1.0f, 1.0f, 0.5f, 0.0f},
                                     {0.0f, 0.0f, -1.0f},
                                     0.0f,
                                     180.0f,
                                     1.0f,
                                     0.0f,
                                     0.0f};

} // namespace

void loadLightParams() {
    lightModelParams = LightModelTable;
    light0Params = Light0Table;
}
