// The characters' models, each handed once to the mesh store as the ball's display list.
// With no renderer (headless runs, tests) nothing is kept.
#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/mesh.h"
#include "engine/numbers.h"
#include "engine/own_math.h"

namespace {

constexpr int RingPoints = 21;    // the last repeats the first and closes the ring
constexpr double RingStep = 0.05; // of a full turn

Colour colourOf(const float (&rgb)[3]) {
    return {rgb[0], rgb[1], rgb[2]};
}

MeshPart sphere(const CharacterParams& params, float radius) {
    MeshPart part;
    part.shape = MeshPart::Shape::Sphere;
    part.coloured = true;
    part.colour = colourOf(params.colour);
    part.radius = radius;
    part.slices = params.slices;
    part.stacks = SphereStacks;
    return part;
}

// A sphere of the character's colour and slices.
void buildSphere(int& list, const CharacterParams& params, float radius) {
    list = meshStore().replace(list, Mesh{{sphere(params, radius)}});
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
    MeshPart ring;
    ring.coloured = true;
    ring.colour = colourOf(SaturnRingColour);
    for (int i = 0; i < RingPoints; ++i) {
        const float angle = static_cast<float>(i * FullTurnF * RingStep);
        const SinCosFloat turn = ownSinCosFloat(angle);
        const Vector3f c = turn.cs * UnitX + turn.sn * UnitY;
        ring.vertices.push_back({UnitZ, SaturnRingInner * c});
        ring.vertices.push_back({UnitZ, SaturnParams.radius * c});
    }
    displayList = meshStore().replace(
        displayList, Mesh{{sphere(SaturnParams, SaturnParams.sphereRadius), std::move(ring)}});
}
