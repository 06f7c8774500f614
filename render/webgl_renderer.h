#pragma once

// The browser's renderer: WebGL 1 through emscripten, drawing what the desktop's fixed-function
// pipeline draws. Meshes live in vertex buffers, a small shader computes the fixed-function
// lighting per vertex, and texts are textured quads from a glyph atlas.
#include "render/renderer.h"

#include <memory>

class WebGlRenderer final : public Renderer {
  public:
    // Draws on the canvas that the CSS selector `canvas` names ("#canvas"); kept, not copied.
    explicit WebGlRenderer(const char* canvas);
    WebGlRenderer(const WebGlRenderer&) = delete;
    WebGlRenderer& operator=(const WebGlRenderer&) = delete;
    // Gives its WebGL context up.
    ~WebGlRenderer() override;

    // Makes the canvas's WebGL context (with a depth buffer if asked) and puts itself in the
    // mesh store's place. Where the browser gives no WebGL, says so on stderr and keeps and
    // draws nothing.
    void setUp(const DrawOptions& options) override;
    void setView(int x, int y, int side, int textScale) override;
    void beginFrame() override;
    void setMaterial(const Material& material) override;
    void trackColours(bool on) override;
    void drawMesh(int name, const Placement& placement, const Colour& colour) override;
    void drawMesh(int name, const Placement& placement) override;
    void beginTexts() override;
    void drawText(float x, float y, std::string_view text) override;
    std::vector<unsigned char> readPicture(int width, int height) override;

    int replace(int name, const Mesh& mesh) override;
    void release(int name) override;

  private:
    struct State;
    std::unique_ptr<State> state;

    void drawParts(int name, const Placement& placement);
};
