#pragma once

// The game's icons, the PNG files of dist/icons decoded at build time (tumbra-icon-source),
// for the window's icon.
#include "platform/window_x11.h"

#include <span>

std::span<const WindowIcon> windowIcons();
