#pragma once

// The game's icons, the PNG files of dist/icons compiled in, for the window's icon.
#include "platform/window_x11.h"

#include <span>

std::span<const PngBytes> windowIcons();
