#pragma once

// What one frame shows, worked out before anything is drawn: the world at a pose seen from
// the camera, and the texts with where each one starts. A renderer draws it as it stands.
#include "engine/placement.h"
#include "engine/world_pose.h"

#include <string>
#include <vector>

// The largest text scale: glyphs 8 x 16 = 128 pixels wide, for a square of 6,400 pixels.
inline constexpr int MaxTextScale = 16;

// A line of text from (x, y) at the texts' depth, in eye coordinates.
struct PlacedText {
    float x;
    float y;
    std::string text;
};

struct FrameView {
    bool showsWorld = true; // false: the texts over black
    WorldPose pose;
    Placement camera; // from the eye to the field's centre, before its tilt
    std::vector<PlacedText> texts;
};
