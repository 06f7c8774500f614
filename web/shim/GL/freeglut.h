#pragma once

// The flow (app/game_flow.cpp, app/input_door.cpp) and the key schedules still take their key
// codes from freeglut's header; emscripten's GLUT header has the same codes. The page calls
// no GLUT function: the flow asks for its window only where windowOpen() says there is one.
#include <GL/freeglut_std.h>
