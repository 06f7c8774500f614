#pragma once

// A surface's reaction to light, in the order a fixed-function pipeline takes it.
struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float shininess;
    float emission[4];
};
