#pragma once

// What the window's own keys leave for the game to show, written in one place: the records
// page over the title ("h" shows it; any key from the window, or the start of a game, takes
// it away), the screenshot asked for with F12, and the wait indicator's countdown.

// True when the page is shown now.
bool recordsPageShown();
// A key from the window, before it reaches the door's source: true when the records page
// takes it (the key then reaches neither the game flow nor a recording). `live` says whether
// the window's keys play the game (not while a recording is shown).
bool recordsPageTakes(unsigned char key, bool live);
// A game starts, or the game goes back to its start.
void closeRecordsPage();

// F12: the next frame drawn is saved as a screenshot. The key also reaches the flow as any
// other special key does.
void askForScreenshot();
// Whether a screenshot was asked for since the last call.
bool screenshotAsked();

// The wait indicator stands for a number of simulation frames: one of them has been shown.
void countWaitIndicatorFrame();
