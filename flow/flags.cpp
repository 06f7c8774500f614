#include "flow/flags.h"

int optDepthBuffer = 0;
int optNormalize = 0;
int optSilent = 0;
int optFullscreen = 0;
int optClassicFrames = 0;
double optRefreshHz = 0.0;
