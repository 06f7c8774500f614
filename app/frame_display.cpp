#include "app/frame_display.h"

#include "app/game_state.h"
#include "app/options.h"
#include "platform/frame_clock.h"
#include "sim/world.h"

#include <GL/freeglut.h>

void onDisplay() {
    glClear(GL_COLOR_BUFFER_BIT);
    if (optDepthBuffer) {
        glClear(GL_DEPTH_BUFFER_BIT);
    }
    glPushMatrix();
    glTranslatef(0.0f, 0.0f, -50.0f);
    gameWorld.applyMaterialA();
    glCallList(gameWorld.fieldList);
    glPopMatrix();
    glFlush();
    glutSwapBuffers();
    waitForNextFrame(waitLevel);
}
