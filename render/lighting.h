#pragma once

// The one light and the light model every backend sets up, as a fixed-function pipeline
// takes them, and the colour texts are lit in.
#include "engine/material.h"

struct LightModelParams {
    float ambient[4];
    float localViewer;
    float twoSide;
};

struct LightParams {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float position[4];
    float spotDirection[3];
    float spotExponent;
    float spotCutoff;
    float constantAttenuation;
    float linearAttenuation;
    float quadraticAttenuation;
};

extern LightModelParams lightModelParams;
extern LightParams light0Params;

// Fills the two light records from their constant tables.
void loadLightParams();

// Texts take the balls' material in this colour, ambient and diffuse, and the light shows
// them in it exactly: glyph pixels are (0, 255, 255).
inline constexpr float TextColour[4] = {0.0f, 1.0f, 1.0f, 1.0f};
// The normal texts are lit under.
inline constexpr float TextNormal[3] = {1.0f, 1.0f, 1.0f};
