// Light, material and fixed OpenGL state, read back from a real context after the game set-up.
#include "engine/world.h"
#include "render/renderer.h"
#include "shell/frame_display.h"
#include "shell/options.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

namespace {

void expectVector(GLenum light, GLenum parameter, std::initializer_list<float> expected) {
    float value[4] = {};
    glGetLightfv(light, parameter, value);
    int i = 0;
    for (float e : expected) {
        EXPECT_FLOAT_EQ(value[i], e) << "parameter 0x" << std::hex << parameter << " [" << i << "]";
        ++i;
    }
}

void expectMaterial(GLenum face, GLenum parameter, std::initializer_list<float> expected) {
    float value[4] = {};
    glGetMaterialfv(face, parameter, value);
    int i = 0;
    for (float e : expected) {
        EXPECT_FLOAT_EQ(value[i], e) << "material 0x" << std::hex << parameter << " [" << i << "]";
        ++i;
    }
}

class GameSetUp : public testing::Test {
  protected:
    static void SetUpTestSuite() {
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
        gameInit();
    }
};

} // namespace

TEST_F(GameSetUp, LightZeroShinesFromTheViewersUpperRight) {
    expectVector(GL_LIGHT0, GL_AMBIENT, {0.4f, 0.4f, 0.4f, 1.0f});
    expectVector(GL_LIGHT0, GL_DIFFUSE, {1.0f, 1.0f, 1.0f, 1.0f});
    expectVector(GL_LIGHT0, GL_SPECULAR, {1.0f, 1.0f, 1.0f, 1.0f});
    expectVector(GL_LIGHT0, GL_POSITION, {1.0f, 1.0f, 0.5f, 0.0f});
    expectVector(GL_LIGHT0, GL_SPOT_DIRECTION, {0.0f, 0.0f, -1.0f});
    expectVector(GL_LIGHT0, GL_SPOT_EXPONENT, {0.0f});
    expectVector(GL_LIGHT0, GL_SPOT_CUTOFF, {180.0f});
    expectVector(GL_LIGHT0, GL_CONSTANT_ATTENUATION, {1.0f});
    expectVector(GL_LIGHT0, GL_LINEAR_ATTENUATION, {0.0f});
    expectVector(GL_LIGHT0, GL_QUADRATIC_ATTENUATION, {0.0f});

    float ambient[4] = {};
    glGetFloatv(GL_LIGHT_MODEL_AMBIENT, ambient);
    EXPECT_FLOAT_EQ(ambient[0], 0.4f);
    EXPECT_FLOAT_EQ(ambient[3], 1.0f);
    GLboolean flag = GL_TRUE;
    glGetBooleanv(GL_LIGHT_MODEL_LOCAL_VIEWER, &flag);
    EXPECT_EQ(flag, GL_FALSE);
    glGetBooleanv(GL_LIGHT_MODEL_TWO_SIDE, &flag);
    EXPECT_EQ(flag, GL_FALSE);
}

TEST_F(GameSetUp, FixedStateWithoutOptions) {
    float clear[4] = {1, 1, 1, 0};
    glGetFloatv(GL_COLOR_CLEAR_VALUE, clear);
    EXPECT_EQ(clear[0], 0.0f);
    EXPECT_EQ(clear[3], 1.0f);
    EXPECT_TRUE(glIsEnabled(GL_LIGHTING));
    EXPECT_TRUE(glIsEnabled(GL_LIGHT0));
    EXPECT_TRUE(glIsEnabled(GL_CULL_FACE));
    EXPECT_FALSE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_FALSE(glIsEnabled(GL_NORMALIZE));
    EXPECT_FALSE(glIsEnabled(GL_COLOR_MATERIAL));
    GLint value[2] = {};
    glGetIntegerv(GL_CULL_FACE_MODE, value);
    EXPECT_EQ(value[0], GL_BACK);
    glGetIntegerv(GL_POLYGON_MODE, value);
    EXPECT_EQ(value[0], GL_FILL);
    EXPECT_EQ(value[1], GL_LINE);
    glGetIntegerv(GL_SHADE_MODEL, value);
    EXPECT_EQ(value[0], GL_SMOOTH);
}

TEST_F(GameSetUp, OptionsEnableDepthTestAndNormalize) {
    optDepthBuffer = 1;
    optNormalize = 1;
    gameInit();
    optDepthBuffer = 0;
    optNormalize = 0;
    EXPECT_TRUE(glIsEnabled(GL_DEPTH_TEST));
    EXPECT_TRUE(glIsEnabled(GL_NORMALIZE));
    GLint function = 0;
    glGetIntegerv(GL_DEPTH_FUNC, &function);
    EXPECT_EQ(function, GL_LESS);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_NORMALIZE);
}

TEST_F(GameSetUp, MaterialsReachTheFrontFaceOnly) {
    gameRenderer().setMaterial(gameWorld.fieldMaterialA);
    expectMaterial(GL_FRONT, GL_AMBIENT, {0.4f, 0.4f, 0.4f, 1.0f});
    expectMaterial(GL_FRONT, GL_DIFFUSE, {0.5f, 0.5f, 0.5f, 1.0f});
    expectMaterial(GL_FRONT, GL_SPECULAR, {1.0f, 1.0f, 1.0f, 1.0f});
    expectMaterial(GL_FRONT, GL_SHININESS, {25.0f});
    expectMaterial(GL_FRONT, GL_EMISSION, {0.0f, 0.0f, 0.0f, 1.0f});

    gameRenderer().setMaterial(gameWorld.fieldMaterialB);
    expectMaterial(GL_FRONT, GL_AMBIENT, {0.8f, 0.8f, 0.8f, 1.0f});
    expectMaterial(GL_FRONT, GL_DIFFUSE, {0.8f, 0.8f, 0.8f, 1.0f});
    expectMaterial(GL_FRONT, GL_SPECULAR, {0.0f, 0.0f, 0.0f, 1.0f});
    expectMaterial(GL_FRONT, GL_SHININESS, {0.0f});

    // The back material keeps OpenGL's defaults.
    expectMaterial(GL_BACK, GL_AMBIENT, {0.2f, 0.2f, 0.2f, 1.0f});
    expectMaterial(GL_BACK, GL_DIFFUSE, {0.8f, 0.8f, 0.8f, 1.0f});
    expectMaterial(GL_BACK, GL_SPECULAR, {0.0f, 0.0f, 0.0f, 1.0f});
}

TEST_F(GameSetUp, AFieldSetUpRestoresBothMaterials) {
    gameWorld.fieldMaterialA.specular[1] = 0.0f;
    gameWorld.fieldMaterialB.shininess = 7.0f;
    gameWorld.setupField(3, 9.0f);
    gameRenderer().setMaterial(gameWorld.fieldMaterialA);
    expectMaterial(GL_FRONT, GL_SPECULAR, {1.0f, 1.0f, 1.0f, 1.0f});
    gameRenderer().setMaterial(gameWorld.fieldMaterialB);
    expectMaterial(GL_FRONT, GL_SHININESS, {0.0f});
}
