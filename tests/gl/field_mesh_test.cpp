// The field's display list, replayed in feedback mode to read back its geometry.
#include "engine/mesh.h"
#include "engine/world.h"

#include <GL/freeglut.h>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace {

constexpr float DrawnRadiusFactor = 0.9504845f;
constexpr double Scale = 10.0;   // window pixels per field unit
constexpr double Centre = 200.0; // window pixel of the field's centre
constexpr double DepthRange = 1000.0;

struct FeedbackVertex {
    double x, y, z;
    double nx, ny, nz;
};

// Replays the field list through an orthographic view whose window coordinates map back
// exactly onto field coordinates, and returns every vertex of every polygon.
std::vector<FeedbackVertex> replayField(const World& world) {
    glViewport(0, 0, 400, 400);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0, 400, 0, 400, -DepthRange, DepthRange);
    glMatrixMode(GL_MODELVIEW);
    glPushMatrix();
    glLoadIdentity();
    glTranslated(Centre, Centre, 0);
    glScaled(Scale, Scale, Scale);
    glDisable(GL_CULL_FACE);
    glDisable(GL_LIGHTING);

    std::vector<GLfloat> buffer(200000);
    glFeedbackBuffer(static_cast<GLsizei>(buffer.size()), GL_3D, buffer.data());
    glRenderMode(GL_FEEDBACK);
    glCallList(world.fieldList);
    const GLint used = glRenderMode(GL_RENDER);

    glPopMatrix();
    glMatrixMode(GL_PROJECTION);
    glPopMatrix();
    glMatrixMode(GL_MODELVIEW);

    std::vector<FeedbackVertex> vertices;
    for (GLint i = 0; i < used;) {
        const GLfloat token = buffer[i++];
        EXPECT_EQ(token, GL_POLYGON_TOKEN);
        const int count = static_cast<int>(buffer[i++]);
        for (int v = 0; v < count; ++v, i += 3) {
            const double x = (buffer[i] - Centre) / Scale;
            const double y = (buffer[i + 1] - Centre) / Scale;
            const double z = (0.5 - buffer[i + 2]) * 2.0 * DepthRange / Scale;
            vertices.push_back({x, y, z, 0, 0, 0});
        }
    }
    return vertices;
}

double horizontal(const FeedbackVertex& v) {
    return std::hypot(v.x, v.y);
}

} // namespace

TEST(FieldMesh, FlatFieldIsALevelDiscWithASkirt) {
    World world;
    world.setupField(1, 10.0f);
    const std::vector<FeedbackVertex> vertices = replayField(world);
    ASSERT_FALSE(vertices.empty());

    const double drawn = DrawnRadiusFactor * 10.0;
    double outer = 0.0;
    double lowest = 0.0;
    int surface = 0;
    int skirtBottom = 0;
    for (const FeedbackVertex& v : vertices) {
        outer = std::max(outer, horizontal(v));
        lowest = std::min(lowest, v.z);
        if (std::fabs(v.z) < 1e-3) {
            ++surface;
        } else {
            EXPECT_NEAR(horizontal(v), drawn, 1e-3); // only the skirt leaves the surface
            EXPECT_NEAR(v.z, -0.2 * drawn, 1e-3);
            ++skirtBottom;
        }
    }
    EXPECT_NEAR(outer, drawn, 1e-3);
    EXPECT_NEAR(lowest, -1.9009689, 1e-3);
    EXPECT_GT(surface, 0);
    EXPECT_GT(skirtBottom, 0);
}

TEST(FieldMesh, CurvedFieldFollowsTheRingsAndScalesWithSize) {
    World world;
    world.setupField(2, 7.5f);
    const std::vector<FeedbackVertex> vertices = replayField(world);
    ASSERT_FALSE(vertices.empty());
    const double drawn = DrawnRadiusFactor * 7.5;
    const double spacing = drawn / 6.0;
    double outer = 0.0;
    double highest = -100.0;
    for (const FeedbackVertex& v : vertices) {
        outer = std::max(outer, horizontal(v));
        highest = std::max(highest, v.z);
        // Every surface vertex sits on one of the seven rings at that ring's height.
        const double ring = horizontal(v) / spacing;
        const int i = static_cast<int>(std::lround(ring));
        EXPECT_NEAR(ring, i, 1e-3);
        if (v.z > -0.01) {
            EXPECT_NEAR(v.z, world.ringHeight[i], 2e-3) << "ring " << i;
        }
    }
    EXPECT_NEAR(outer, drawn, 1e-3);
    EXPECT_NEAR(highest, world.ringHeight[0], 1e-3);
}

TEST(FieldMesh, CountsThirtySegmentsInSevenStrips) {
    World world;
    world.setupField(0, 10.0f);
    const std::vector<FeedbackVertex> vertices = replayField(world);
    // Seven quad strips of 30 quads, each quad drawn as two triangles; the centre band's
    // quads have two coincident corners but still come through.
    EXPECT_EQ(vertices.size(), 7u * 30u * 2u * 3u);
}

namespace {

int liveLists() {
    int live = 0;
    for (int name = 1; name < 1000; ++name) {
        live += glIsList(name) ? 1 : 0;
    }
    return live;
}

} // namespace

TEST(FieldMesh, ASecondSetUpReplacesTheFirstList) {
    const int before = liveLists();
    World world;
    world.setupField(0, 10.0f);
    const int first = world.fieldList;
    EXPECT_TRUE(glIsList(first));
    world.setupField(4, 8.0f);
    EXPECT_TRUE(glIsList(world.fieldList));
    EXPECT_EQ(liveLists(), before + 1);
    EXPECT_FALSE(glIsList(DisplayListSentinel));
}
