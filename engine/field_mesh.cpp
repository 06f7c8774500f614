// The field's dish as a mesh: six bands of quad strips from the centre to the rim, and the
// rim's skirt below.
#include "engine/mesh.h"
#include "engine/numbers.h"
#include "engine/own_math.h"
#include "engine/world.h"

namespace {

constexpr double SeventhTurnF = 0.44879896300179617; // pi/7 with pi in single precision
constexpr double OneThirtieth = 0.03333333333333333;
constexpr double SkirtFactor = 0.2;
constexpr int Segments = 30;
constexpr int Bands = RingCount - 1;

struct Direction {
    float c;
    float s;
};

Direction segmentDirection(int j) {
    const float phi = toFloat(j * FullTurnF * OneThirtieth);
    const SinCosFloat turn = ownSinCosFloat(phi);
    return {turn.cs, turn.sn};
}

// One ring vertex with its normal turned about the vertical axis into place.
MeshVertex ringVertex(const Direction& d, float radius, float height, const Vector3f& normal) {
    return {{toFloat(double(normal.x) * d.c), toFloat(double(normal.x) * d.s), normal.z},
            {toFloat(double(radius) * d.c), toFloat(double(radius) * d.s), height}};
}

MeshPart band(const float (&ringRadius)[RingCount], const float (&height)[RingCount],
              const Vector3f (&normal)[RingCount], int i) {
    MeshPart strip;
    for (int j = 0; j <= Segments; ++j) {
        const Direction d = segmentDirection(j);
        strip.vertices.push_back(ringVertex(d, ringRadius[i], height[i], normal[i]));
        strip.vertices.push_back(ringVertex(d, ringRadius[i + 1], height[i + 1], normal[i + 1]));
    }
    return strip;
}

MeshPart skirt(float rim, float rimHeight, float skirtBottom) {
    MeshPart strip;
    for (int j = 0; j <= Segments; ++j) {
        const Direction d = segmentDirection(j);
        const Vector3f outward(d.c, d.s, 0.0f);
        const float x = toFloat(double(rim) * d.c);
        const float y = toFloat(double(rim) * d.s);
        strip.vertices.push_back({outward, {x, y, rimHeight}});
        strip.vertices.push_back({outward, {x, y, skirtBottom}});
    }
    return strip;
}

} // namespace

Mesh World::fieldMesh() const {
    // The drawn dish is a little smaller than the physical one, its rim at about 0.95 S.
    const float drawRadius = toFloat((fieldSize * ownCos(SeventhTurnF) + fieldSize) * 0.5);
    float ringRadius[RingCount];
    for (int i = 0; i < RingCount; ++i) {
        ringRadius[i] = toFloat(double(drawRadius) * i * OneSixthF);
    }
    const double skirtDepth = drawRadius * SkirtFactor;

    Mesh mesh;
    for (int i = 0; i < Bands; ++i) {
        mesh.parts.push_back(band(ringRadius, ringHeight, ringNormal, i));
    }
    const float rim = ringRadius[Bands];
    const float rimHeight = ringHeight[Bands];
    mesh.parts.push_back(skirt(rim, rimHeight, toFloat(rimHeight - skirtDepth)));
    return mesh;
}

void World::buildFieldMesh() {
    fieldList = meshStore().replace(fieldList, fieldMesh());
}
