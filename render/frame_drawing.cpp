#include "render/frame_drawing.h"

#include "render/world_drawing.h"

void drawFrameView(Renderer& renderer, const World& world, const FrameView& view) {
    renderer.beginFrame();
    if (view.showsWorld) {
        drawWorld(renderer, world, view.pose, view.camera);
    }
    renderer.beginTexts();
    for (const PlacedText& line : view.texts) {
        renderer.drawText(line.x, line.y, line.text);
    }
}
