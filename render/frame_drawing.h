#pragma once

// A whole frame through a renderer, as the flow describes it.
#include "engine/frame_view.h"
#include "engine/world.h"
#include "render/renderer.h"

void drawFrameView(Renderer& renderer, const World& world, const FrameView& view);
