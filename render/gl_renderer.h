#pragma once

// The desktop's renderer: OpenGL 1.1's fixed-function pipeline, meshes in display lists,
// texts in glBitmap lists.
#include "render/renderer.h"

class GlRenderer final : public Renderer {
  public:
    GlRenderer() = default;
    GlRenderer(const GlRenderer&) = delete;
    GlRenderer& operator=(const GlRenderer&) = delete;

    // Also puts itself in the mesh store's place: the models built from now on are kept in
    // display lists (named by the display-list convention: glGenLists' names, never
    // DisplayListSentinel).
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
    DrawOptions options;
};
