#include "render/lighting.h"

#include "sim/world.h"

#include <GL/gl.h>

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

void applyMaterial(const Material& m) {
    glMaterialfv(GL_FRONT, GL_AMBIENT, m.ambient);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, m.diffuse);
    glMaterialfv(GL_FRONT, GL_SPECULAR, m.specular);
    glMaterialfv(GL_FRONT, GL_SHININESS, &m.shininess);
    glMaterialfv(GL_FRONT, GL_EMISSION, m.emission);
}

} // namespace

void loadLightParams() {
    lightModelParams = LightModelTable;
    light0Params = Light0Table;
}

void applyLightModel() {
    glLightModelfv(GL_LIGHT_MODEL_AMBIENT, lightModelParams.ambient);
    glLightModelf(GL_LIGHT_MODEL_LOCAL_VIEWER, lightModelParams.localViewer);
    glLightModelf(GL_LIGHT_MODEL_TWO_SIDE, lightModelParams.twoSide);
}

void applyLight0() {
    const LightParams& l = light0Params;
    glLightfv(GL_LIGHT0, GL_AMBIENT, l.ambient);
    glLightfv(GL_LIGHT0, GL_DIFFUSE, l.diffuse);
    glLightfv(GL_LIGHT0, GL_SPECULAR, l.specular);
    glLightfv(GL_LIGHT0, GL_POSITION, l.position);
    glLightfv(GL_LIGHT0, GL_SPOT_DIRECTION, l.spotDirection);
    glLightf(GL_LIGHT0, GL_SPOT_EXPONENT, l.spotExponent);
    glLightf(GL_LIGHT0, GL_SPOT_CUTOFF, l.spotCutoff);
    glLightf(GL_LIGHT0, GL_CONSTANT_ATTENUATION, l.constantAttenuation);
    glLightf(GL_LIGHT0, GL_LINEAR_ATTENUATION, l.linearAttenuation);
    glLightf(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, l.quadraticAttenuation);
}

void World::initMaterialA() {
    fieldMaterialA = FieldSurfaceMaterial;
}

void World::initMaterialB() {
    fieldMaterialB = BallMaterial;
}

void World::applyMaterialA() {
    applyMaterial(fieldMaterialA);
}

void World::applyMaterialB() {
    applyMaterial(fieldMaterialB);
}
