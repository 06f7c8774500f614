#pragma once

// A material as handed to glMaterialfv, field by field.
struct Material {
    float ambient[4];
    float diffuse[4];
    float specular[4];
    float shininess;
    float emission[4];
};

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
// Hands the records to OpenGL; call with the identity model-view so the light stays in eye space.
void applyLightModel();
void applyLight0();
