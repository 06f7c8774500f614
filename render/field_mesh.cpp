#include "render/gl_lists.h"
#include "sim/numbers.h"
#include "sim/own_math.h"
#include "sim/world.h"

#include <GL/gl.h>

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
void ringVertex(const Direction& d, float radius, float height, const Vector3f& normal) {
    glNormal3f(toFloat(double(normal.x) * d.c), toFloat(double(normal.x) * d.s), normal.z);
    glVertex3f(toFloat(double(radius) * d.c), toFloat(double(radius) * d.s), height);
}

} // namespace

void World::buildFieldMesh() {
    // The drawn dish is a little smaller than the physical one, its rim at about 0.95 S.
    const float drawRadius = toFloat((fieldSize * ownCos(SeventhTurnF) + fieldSize) * 0.5);
    float ringRadius[RingCount];
    for (int i = 0; i < RingCount; ++i) {
        ringRadius[i] = toFloat(double(drawRadius) * i * OneSixthF);
    }
    const double skirtDepth = drawRadius * SkirtFactor;

    if (!beginDisplayList(fieldList)) {
        return;
    }
    for (int i = 0; i < Bands; ++i) {
        glBegin(GL_QUAD_STRIP);
        for (int j = 0; j <= Segments; ++j) {
            const Direction d = segmentDirection(j);
            ringVertex(d, ringRadius[i], ringHeight[i], ringNormal[i]);
            ringVertex(d, ringRadius[i + 1], ringHeight[i + 1], ringNormal[i + 1]);
        }
        glEnd();
    }

    const float rim = ringRadius[Bands];
    const float rimHeight = ringHeight[Bands];
    const float skirtBottom = toFloat(rimHeight - skirtDepth);
    glBegin(GL_QUAD_STRIP);
    for (int j = 0; j <= Segments; ++j) {
        const Direction d = segmentDirection(j);
        glNormal3f(d.c, d.s, 0.0f);
        glVertex3f(toFloat(double(rim) * d.c), toFloat(double(rim) * d.s), rimHeight);
        glNormal3f(d.c, d.s, 0.0f);
        glVertex3f(toFloat(double(rim) * d.c), toFloat(double(rim) * d.s), skirtBottom);
    }
    glEnd();
    glEndList();
}
