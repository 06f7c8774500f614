#pragma once

// A checksum of the game's state between two frames: the game-flow globals and the world.
// Equal checksums after the same inputs mean the simulation took the same path, bit for bit.
// Format version 1 covers the field, the tilt and every ball's position, velocity, stun and
// fall; version 2 also every other member the world step reads: the field's rings and tilt
// constants, each ball's class, radius, mass and drive, and the characters' own members.
#include "replay/replay_file.h"

#include <cstdint>

// waitShow is left out: the display counts it down on every repaint, which a headless replay
// cannot reproduce. The window's size is not game state either.
std::uint64_t stateChecksum(int formatVersion = ReplayFormatVersion);

// The part of the state that a recording notes whenever it changes.
StateMark currentStateMark();
