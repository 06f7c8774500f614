#pragma once

// Every owner of a display list holds its name in an int that starts here, far above the
// names in use, so that glIsList never reports a list for it.
inline constexpr int DisplayListSentinel = 30000;

// True while an OpenGL context is current (a GLUT window exists). Without one the
// simulation runs headless and every OpenGL call is skipped.
bool glContextCurrent();

// Replaces the list named `name`: deletes it if it is a list, takes a fresh name and starts
// compiling it. Returns false without touching OpenGL when no context is current; `name`
// is then 0, which names no list. A true result must be followed by glEndList().
bool beginDisplayList(int& name);

// Frees the list named `name`, if a context is current and it is a list.
void releaseDisplayList(int name);
