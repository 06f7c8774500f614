#include "app/game_flow.h"

#include "app/game_state.h"

#include <GL/freeglut.h>
#include <cstdlib>

namespace {

constexpr unsigned char EscapeKey = 27;

} // namespace

void onKeyboard(unsigned char key, int, int) {
    lastKey = key;
    if (key == EscapeKey) {
        std::exit(1);
    }
}

void onSpecialKey(int key, int, int) {
    lastSpecialKey = key;
}

void onIdle() {
    glutPostRedisplay();
}
