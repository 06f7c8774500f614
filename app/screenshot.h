#pragma once

// F12: the window's picture as a PNG file in the screenshot folder, named by the time taken.
// Reads the back buffer once the frame is drawn, before the swap; the picture is encoded and
// written on the writer thread, which says on stderr where it went.
void takeScreenshot();
