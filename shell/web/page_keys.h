#pragma once

// The page's keys: the browser's key events become the game's key codes (GLUT's: the arrows
// 100 to 103, F1 to F12 1 to 12, ASCII for the rest) and go through the input door as the
// desktop window's keys do. Where the browser keeps a key for itself the page gives another:
//   F9           the screenshot (the desktop's F12, which opens the browser's tools)
//   End          quits, as Escape does (Escape also leaves full screen, where the browser
//                takes it)
//   F11          the browser's own full screen; Alt+Enter the page's
// Keys held with Ctrl or the system key are the browser's (Ctrl+R, Ctrl+W...).

struct PageKeyActions {
    void (*firstKey)(); // the first key press: sound may start (browsers ask for a gesture)
    void (*quit)();     // Escape or End
};

void listenForKeys(const PageKeyActions& actions);
// Whether Alt was held with the key being passed to the game.
bool altHeld();
