#pragma once

// The window (or the page's canvas) as the flow sees it: its size, the text units that place
// every text in the square scene, and what the flow may ask of the window. The shell that
// owns the window keeps these up to date and answers the requests.
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

// What the flow asks of the window: a new size for "e" and "r", a drawing once a frame is
// done, fullscreen on or off, and whether Alt is held with the key just pressed. Headless
// runs have no window: the requests are then dropped, and Alt is never held.
struct WindowRequests {
    void (*resize)(int size) = nullptr;
    void (*redisplay)() = nullptr;
    void (*toggleFullscreen)() = nullptr;
    bool (*altHeld)() = nullptr;
};
extern WindowRequests windowRequests;
