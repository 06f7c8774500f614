#pragma once

// The world drawn through a renderer: the fallen balls, the tilted field, the balls on it.
#include "engine/world.h"
#include "engine/world_pose.h"
#include "render/renderer.h"

// Draws `world` with the pose's tilt and ball places, seen from `view` (the steps from the
// eye to the field's centre). A ball that the pose does not hold in its slot is drawn where
// the world has it. Without a depth buffer the order decides what covers what: the field
// covers the fallen balls, and the balls on the field cover the field.
void drawWorld(Renderer& renderer, const World& world, const WorldPose& pose,
               const Placement& view);
