// The yardstick for the game's start: a minimal freeglut program that opens a 400 by 400
// double-buffered window, clears it and swaps once. With the argument "lit" it also draws one
// lit triangle and one bitmap glyph first, the least a frame like the game's asks of the
// driver (a software renderer compiles its shaders at the first draw). See
// bench/first_frame.sh.
#include <GL/freeglut.h>
#include <cstring>

namespace {

bool lit = false;

void drawLitTriangleAndGlyph() {
    static const GLubyte glyph[13] = {0xff, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
                                      0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
    glEnable(GL_LIGHTING);
    glEnable(GL_LIGHT0);
    glBegin(GL_TRIANGLES);
    glNormal3f(0.0f, 0.0f, 1.0f);
    glVertex3f(0.0f, 0.0f, 0.0f);
    glVertex3f(0.5f, 0.0f, 0.0f);
    glVertex3f(0.0f, 0.5f, 0.0f);
    glEnd();
    glRasterPos3f(-0.5f, -0.5f, 0.0f);
    glBitmap(8, 13, 0.0f, 0.0f, 10.0f, 0.0f, glyph);
}

void display() {
    glClear(GL_COLOR_BUFFER_BIT);
    if (lit) {
        drawLitTriangleAndGlyph();
    }
    glutSwapBuffers();
}

} // namespace

int main(int argc, char** argv) {
    glutInit(&argc, argv);
    lit = argc > 1 && std::strcmp(argv[1], "lit") == 0;
    glutInitWindowSize(400, 400);
    glutInitDisplayMode(GLUT_RGB | GLUT_DOUBLE);
    glutCreateWindow("first frame");
    glutDisplayFunc(display);
    glutMainLoop();
    return 0;
}
