#pragma once

inline constexpr int StartWindowSize = 400;
inline constexpr const char* WindowTitle = "Tumbra -Velmorande 1997-";

extern int windowWidth;
extern int windowHeight;
// Text units in eye space, so every text keeps its pixel offset from the window's centre.
extern float charWidth;
extern float lineHeight;

// OpenGL state and the title stage; needs the window's context current.
void gameInit();
void onReshape(int width, int height);
void onVisibility(int state);
