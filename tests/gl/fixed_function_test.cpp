// The fixed-function arithmetic the WebGL backend does itself, against Mesa's own in a real
// context: the same matrices bit for bit, the same raster positions, and the same pictures of
// a sphere and of a smoothly lit quad strip.
#include "gl_pixels.h"
#include "render/fixed_function.h"

#include <GL/freeglut.h>
#include <cstring>
#include <gtest/gtest.h>

namespace {

constexpr int Side = 400;

void expectSameMatrix(const Matrix4& ours, GLenum which, const char* what) {
    Matrix4 mesa{};
    glGetFloatv(which, mesa.m);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(std::memcmp(&ours.m[i], &mesa.m[i], sizeof(float)), 0)
            << what << " [" << i << "]: " << ours.m[i] << " against Mesa's " << mesa.m[i];
    }
}

// The camera with a fly-in, a field's tilt and a ball's place, as the world is drawn; and a
// turn about a slanted axis, which no drawing uses.
Placement deepPlacement() {
    Placement p;
    p.move(0.0f, 0.0f, -50.0f);
    p.move(0.0f, 0.0f, -13.2f);
    p.turn(-49.5f, 1.0f, 0.0f, 0.0f);
    p.turn(99.0f, 0.0f, 0.0f, 1.0f);
    p.turn(7.3f, 0.0f, 1.0f, 0.0f);
    p.turn(-3.1f, 1.0f, 0.0f, 0.0f);
    p.move(1.25f, -2.5f, 0.3f);
    p.turn(33.0f, 0.3f, -0.5f, 0.8f);
    return p;
}

void applyWithGl(const Placement& placement) {
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    for (int i = 0; i < placement.count; ++i) {
        const PlaceStep& s = placement.steps[i];
        if (s.kind == PlaceStep::Kind::Move) {
            glTranslatef(s.x, s.y, s.z);
        } else {
            glRotatef(s.degrees, s.x, s.y, s.z);
        }
    }
}

// Lit, smooth and culled as the game draws, the identity model-view under the game's frustum.
void beginLitPicture() {
    glViewport(0, 0, Side, Side);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-9.0, 9.0, -9.0, 9.0, 40.0, 65.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    const float position[4] = {1.0f, 1.0f, 0.5f, 0.0f};
    glLightfv(GL_LIGHT0, GL_POSITION, position);
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glDisable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glShadeModel(GL_SMOOTH);
    const float grey[4] = {0.6f, 0.6f, 0.6f, 1.0f};
    const float white[4] = {1.0f, 1.0f, 1.0f, 1.0f};
    glMaterialfv(GL_FRONT, GL_AMBIENT_AND_DIFFUSE, grey);
    glMaterialfv(GL_FRONT, GL_SPECULAR, white);
    glMaterialf(GL_FRONT, GL_SHININESS, 20.0f);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glTranslatef(0.0f, 0.0f, -50.0f);
    glRotatef(-60.0f, 1.0f, 0.0f, 0.0f);
}

void drawVertices(GLenum mode, const std::vector<MeshVertex>& vertices) {
    glBegin(mode);
    for (const MeshVertex& v : vertices) {
        glNormal3f(v.normal.x, v.normal.y, v.normal.z);
        glVertex3f(v.position.x, v.position.y, v.position.z);
    }
    glEnd();
}

int differingPixels(const Frame& a, const Frame& b) {
    int n = 0;
    for (std::size_t i = 0; i < a.rgb.size(); i += 3) {
        n += std::memcmp(&a.rgb[i], &b.rgb[i], 3) != 0 ? 1 : 0;
    }
    return n;
}

// A dish-like band whose normals turn across it, so that the shading inside each quad shows
// which diagonal cut it.
std::vector<MeshVertex> shadedStrip() {
    std::vector<MeshVertex> strip;
    for (int j = 0; j <= 12; ++j) {
        const float x = -8.0f + 1.4f * static_cast<float>(j);
        const float tip = 0.6f * static_cast<float>(j - 6) / 6.0f;
        strip.push_back({unitLength({-tip, 0.5f, 1.0f}), {x + 0.7f, 6.0f, 1.5f}});
        strip.push_back({unitLength({tip, -0.4f, 1.0f}), {x, -6.0f, 0.0f}});
    }
    strip.push_back(strip.back()); // an odd last vertex, in no quad
    return strip;
}

} // namespace

TEST(FixedFunction, PlacementsComposeAsGlTranslateAndGlRotateBitForBit) {
    Placement camera;
    camera.move(0.0f, 0.0f, -50.0f);
    for (const Placement& p : {Placement{}, camera, deepPlacement()}) {
        applyWithGl(p);
        expectSameMatrix(placementMatrix(p), GL_MODELVIEW_MATRIX, "model-view");
    }
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-9.0, 9.0, -9.0, 9.0, 40.0, 65.0);
    expectSameMatrix(frustumMatrix(-9.0f, 9.0f, -9.0f, 9.0f, 40.0f, 65.0f), GL_PROJECTION_MATRIX,
                     "projection");
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
}

TEST(FixedFunction, RasterPositionsAreGlRasterPosOnesInAnOffCentreViewport) {
    const Viewport view{37, 12, 500, 500};
    glViewport(view.x, view.y, view.width, view.height);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    glFrustum(-9.0, 9.0, -9.0, 9.0, 40.0, 65.0);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glDisable(GL_LIGHTING);
    const Matrix4 projection = frustumMatrix(-9.0f, 9.0f, -9.0f, 9.0f, 40.0f, 65.0f);
    const float points[][2] = {{-9.55f, 9.33f}, {0.0f, 0.0f}, {3.1f, -10.1f}, {10.2f, 0.0f}};
    for (const auto& point : points) {
        glRasterPos3f(point[0], point[1], -45.0f);
        GLboolean valid = GL_FALSE;
        glGetBooleanv(GL_CURRENT_RASTER_POSITION_VALID, &valid);
        float mesa[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, mesa);
        const RasterPosition ours = rasterPosition(projection, view, point[0], point[1], -45.0f);
        ASSERT_EQ(ours.valid, valid == GL_TRUE) << point[0] << ", " << point[1];
        if (ours.valid) {
            EXPECT_FLOAT_EQ(ours.x, mesa[0]);
            EXPECT_FLOAT_EQ(ours.y, mesa[1]);
            EXPECT_NEAR(ours.z, mesa[2], 1e-6);
        }
    }
}

TEST(FixedFunction, SphereStripDrawsGlutSolidSpheresPicture) {
    for (int slices : {8, 12, 16}) {
        beginLitPicture();
        glutSolidSphere(5.0, slices, 10);
        const Frame glut = readPixels(0, 0, Side, Side);
        beginLitPicture();
        drawVertices(GL_TRIANGLE_STRIP, sphereStrip(5.0f, slices, 10));
        const Frame ours = readPixels(0, 0, Side, Side);
        EXPECT_EQ(differingPixels(glut, ours), 0) << slices << " slices";
        EXPECT_GT(countPixels(ours, 0, 0, Side, Side, [](Rgb p) { return !isBlack(p); }), 10000);
    }
}

TEST(FixedFunction, QuadTrianglesShadeAsMesasQuadStrip) {
    const std::vector<MeshVertex> strip = shadedStrip();
    beginLitPicture();
    drawVertices(GL_QUAD_STRIP, strip);
    const Frame quads = readPixels(0, 0, Side, Side);
    beginLitPicture();
    drawVertices(GL_TRIANGLES, quadTriangles(strip));
    const Frame triangles = readPixels(0, 0, Side, Side);
    EXPECT_EQ(differingPixels(quads, triangles), 0);
    EXPECT_GT(countPixels(quads, 0, 0, Side, Side, [](Rgb p) { return !isBlack(p); }), 10000);
}
