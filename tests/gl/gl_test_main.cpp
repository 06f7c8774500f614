// Entry point of every OpenGL test: one real GLUT window, its context current for all tests,
// and the models kept in its display lists by the game's renderer.
#include "render/renderer.h"
#include "shell/frame_display.h"
#include "shell/window.h"

#include <GL/freeglut.h>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    glutInit(&argc, argv);
    glutInitWindowSize(StartWindowSize, StartWindowSize);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE | GLUT_DEPTH);
    glutCreateWindow(WindowTitle);
    setMeshStore(&gameRenderer());
    return RUN_ALL_TESTS();
}
