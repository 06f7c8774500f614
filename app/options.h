#pragma once

extern int optDepthBuffer; // "/d": depth buffer and depth test
extern int optNormalize;   // "/n": GL_NORMALIZE
extern int optSilent;      // "/s": no beeps

// Reads the options from argv[1..argc-1]; anything that is not exactly "/d", "/n" or "/s"
// is ignored without a message.
void scanOptions(int argc, char** argv);
