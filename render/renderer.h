#pragma once

// What draws the game: a small interface that each platform's drawing implements (OpenGL 1.1
// on the desktop). The world and the texts are drawn over it the same way everywhere
// (world_drawing, frame_drawing); only a backend knows the graphics library.
#include "engine/material.h"
#include "engine/mesh.h"
#include "engine/placement.h"

#include <string_view>
#include <vector>

struct DrawOptions {
    bool depthBuffer = false; // depth testing, and the depth buffer cleared with each frame
    bool normalize = false;   // normals made unit length before lighting
};

// Eye coordinates: the camera looks down -z, and texts stand at this depth.
inline constexpr float TextDepth = -45.0f;
// The view's frustum: x and y from -9 to 9 at the near plane, depth 40 to 65 in front of the eye.
inline constexpr float FrustumHalfWidth = 9.0f;
inline constexpr float FrustumNear = 40.0f;
inline constexpr float FrustumFar = 65.0f;

class Renderer : public MeshStore {
  public:
    // Once, with the window there: the clear colour, the light, the fixed state, the font.
    virtual void setUp(const DrawOptions& options) = 0;
    // The square the scene is drawn into, in window pixels from the bottom left, and the
    // texts' scale (each glyph pixel a block of scale by scale pixels).
    virtual void setView(int x, int y, int side, int textScale) = 0;
    // A frame begins: the window cleared to black.
    virtual void beginFrame() = 0;
    virtual void setMaterial(const Material& material) = 0;
    // While on, the colour given with a mesh, and its parts' own colours, stand for the
    // material's ambient and diffuse colours.
    virtual void trackColours(bool on) = 0;
    // Draws the mesh named `name` at `placement`, with `colour` set first.
    virtual void drawMesh(int name, const Placement& placement, const Colour& colour) = 0;
    virtual void drawMesh(int name, const Placement& placement) = 0;
    // From here on texts are drawn, in the lit text colour: the texts' material under the
    // normal (1, 1, 1), which the light shows cyan.
    virtual void beginTexts() = 0;
    // `text` from (x, y, TextDepth) in eye coordinates on, one glyph advance a character;
    // bytes with no glyph draw nothing.
    virtual void drawText(float x, float y, std::string_view text) = 0;
    // The picture drawn so far (before it is shown), width by height pixels from the bottom
    // left of the window, RGB rows from the bottom.
    virtual std::vector<unsigned char> readPicture(int width, int height) = 0;
};
