// The yardstick for the game's start: a minimal freeglut program that opens a 400 by 400
// double-buffered window, clears it and swaps once. See bench/first_frame.sh.
#include <GL/freeglut.h>

namespace {

void display() {
    glClear(GL_COLOR_BUFFER_BIT);
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    glutInitWindowSize(400, 400);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow("first frame");
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
