#pragma once

inline constexpr int StartWindowSize = 400;
inline constexpr const char* WindowTitle = "Tumbra -Velmorande 1997-";

extern int windowWidth;
extern int windowHeight;
// The scene is a square, as large as the window allows, centred between black margins.
// Texts are drawn textScale times larger once the square is textScale x 400 pixels or more.
extern int textScale;
// Text units in eye space, so every text keeps its offset from the square's centre: the same
// in pixels at every size, times textScale.
extern float charWidth;
extern float lineHeight;
// Sets the three for a square of `side` pixels (positive); window and page alike.
void setTextUnits(int side);

// Whether the game's window is there, its OpenGL context current: headless runs have none.
bool windowOpen();
// The renderer set up for the window, the key callbacks, and the title stage; needs the
// window's context current.
void gameInit();
void onReshape(int width, int height);
void onVisibility(int state);
// The idle handler that showing the window turns on: the game's onIdle unless the frame loop
// puts its own in place.
extern void (*idleWhenVisible)();

// Fullscreen on or off; leaving it brings back the window's size from before.
void setFullscreen(bool on);
void toggleFullscreen();
bool isFullscreen();
// In a key callback: whether Alt is held. False with no window.
bool altHeld();
// The class hint, process id and icon by which the desktop knows the window.
void nameWindowForDesktop();
