#pragma once

// A whole frame through a renderer, as the flow describes it.
#include "render/renderer.h"
#include "sim/frame_view.h"
#include "sim/world.h"

void drawFrameView(Renderer& renderer, const World& world, const FrameView& view);
