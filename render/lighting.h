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

inline constexpr LightModelParams LightModel = {{0.4f, 0.4f, 0.4f, 1.0f}, 0.0f, 0.0f};

// One white directional light from the viewer's upper right.
inline constexpr LightParams Light0 = {{0.4f, 0.4f, 0.4f, 1.0f},
                                       {1.0f, 1.0f, 1.0f, 1.0f},
                                       {1.0f, 1.0f, 1.0f, 1.0f},
                                       {1.0f, 1.0f, 0.5f, 0.0f},
                                       {0.0f, 0.0f, -1.0f},
                                       0.0f,
                                       180.0f,
                                       1.0f,
                                       0.0f,
                                       0.0f};

// Texts take the balls' material in this colour, ambient and diffuse, and the light shows
// them in it exactly: glyph pixels are (0, 255, 255).
inline constexpr float TextColour[4] = {0.0f, 1.0f, 1.0f, 1.0f};
// The normal texts are lit under.
inline constexpr float TextNormal[3] = {1.0f, 1.0f, 1.0f};
