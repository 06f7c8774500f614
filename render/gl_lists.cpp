#include "render/gl_lists.h"

#include <GL/freeglut.h>

bool glContextCurrent() {
    return glutGetWindow() != 0;
}

bool beginDisplayList(int& name) {
    if (!glContextCurrent()) {
        name = 0;
        return false;
    }
    if (glIsList(name)) {
        glDeleteLists(name, 1);
    }
    name = static_cast<int>(glGenLists(1));
    glNewList(name, GL_COMPILE);
    return true;
}

void releaseDisplayList(int name) {
    if (glContextCurrent() && glIsList(name)) {
        glDeleteLists(name, 1);
    }
}
