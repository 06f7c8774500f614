#pragma once

// A checksum of the game's state between two frames: the game-flow globals and the world
// (field, tilt, every ball's position, velocity, stun and fall). Equal checksums after the
// same inputs mean the simulation took the same path, bit for bit.
#include "replay/replay_file.h"

#include <cstdint>

// waitShow is left out: the display counts it down on every repaint, which a headless replay
// cannot reproduce. The window's size is not game state either.
std::uint64_t stateChecksum();

// The part of the state that a recording notes whenever it changes.
StateMark currentStateMark();
