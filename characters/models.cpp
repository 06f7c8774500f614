// The characters' models, each compiled once into the ball's display list. Without an
// OpenGL context (headless runs, tests) nothing is built.
#include "characters/character_params.h"
#include "characters/characters.h"
#include "render/gl_lists.h"
#include "sim/numbers.h"
#include "sim/own_math.h"

#include <GL/freeglut.h>

namespace {

constexpr int RingPoints = 21;    // the last repeats the first and closes the ring
constexpr double RingStep = 0.05; // of a full turn

// A sphere of the character's colour and slices.
void buildSphere(int& list, const CharacterParams& params, float radius) {
    if (!beginDisplayList(list)) {
        return;
    }
    glColor3fv(params.colour);
    glutSolidSphere(radius, params.slices, SphereStacks);
    glEndList();
}

} // namespace

void Player::buildModel() {
    buildSphere(displayList, PlayerParams, radius);
}
void Mars::buildModel() {
    buildSphere(displayList, MarsParams, radius);
}
void Venus::buildModel() {
    buildSphere(displayList, VenusParams, radius);
}
void Pluto::buildModel() {
    buildSphere(displayList, PlutoParams, radius);
}
void Jupiter::buildModel() {
    buildSphere(displayList, JupiterParams, radius);
}
void Dark::buildModel() {
    buildSphere(displayList, DarkParams, radius);
}
void Dummy::buildModel() {
    buildSphere(displayList, DummyParams, radius);
}

// The sphere with a flat ring around it in the horizontal plane through its centre: a quad
// strip from the inner to the outer edge, front faces up.
void Saturn::buildModel() {
    Vector3f inner[RingPoints];
    Vector3f outer[RingPoints];
    for (int i = 0; i < RingPoints; ++i) {
        const float angle = static_cast<float>(i * FullTurnF * RingStep);
        const SinCosFloat turn = ownSinCosFloat(angle);
        const Vector3f c = turn.cs * UnitX + turn.sn * UnitY;
        inner[i] = SaturnRingInner * c;
        outer[i] = SaturnParams.radius * c;
    }
    if (!beginDisplayList(displayList)) {
        return;
    }
    glColor3fv(SaturnParams.colour);
    glutSolidSphere(SaturnParams.sphereRadius, SaturnParams.slices, SphereStacks);
    glColor3fv(SaturnRingColour);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glBegin(GL_QUAD_STRIP);
    for (int i = 0; i < RingPoints; ++i) {
        glVertex3f(inner[i].x, inner[i].y, inner[i].z);
        glVertex3f(outer[i].x, outer[i].y, outer[i].z);
    }
    glEnd();
    glEndList();
}
