#pragma once

// What one frame shows, worked out before anything is drawn: the world at a pose seen from
// the camera, and the texts with where each one starts. A renderer draws it as it stands.
#include "sim/placement.h"
#include "sim/world_pose.h"

#include <string>
#include <vector>

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
