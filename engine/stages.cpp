#include "engine/stages.h"

#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/game_state.h"
#include "engine/world.h"

namespace {

enum FieldKindCode { Bowl = 0, Flat = 1, Dome = 2, RingedBowl = 3, Cone = 4, Spike = 5 };

} // namespace

// Stage 0 is the title demonstration, 1 to 22 are played in order, 23 runs behind the credits.
const int stageFieldKind[StageCount] = {
    Dome,       Flat, Bowl, Dome, Bowl, Dome, Flat,       Cone, Bowl,  Dome, Flat, Cone,
    RingedBowl, Dome, Flat, Bowl, Dome, Cone, RingedBowl, Bowl, Spike, Flat, Dome, Dome,
};

const float stageFieldSize[StageCount] = {
    10.0f, 7.5f, 8.0f, 10.0f, 8.0f, 7.5f, 10.0f, 7.5f, 9.0f, 6.0f, 8.0f, 7.5f,
    9.0f,  7.0f, 8.0f, 10.0f, 6.0f, 8.0f, 9.0f,  7.0f, 9.0f, 5.5f, 7.5f, 7.5f,
};

// Rows in slot order; the player, where there is one, comes first. Missing rows are zero.
const RosterEntry stageRoster[StageCount][RosterRows] = {
    {{DarkCode, 0.0f, 4.0f},
     {DarkCode, 0.0f, -4.0f},
     {DarkCode, 4.0f, 0.0f},
     {DarkCode, -4.0f, 0.0f},
     {DarkCode, 2.82f, 2.82f},
     {DarkCode, 2.82f, -2.82f},
     {DarkCode, -2.82f, 2.82f},
     {DarkCode, -2.82f, -2.82f}},
    {{PlayerCode, 0.0f, 4.0f}, {MarsCode, 3.4f, -2.0f}, {MarsCode, -3.4f, -2.0f}},
    {{PlayerCode, 4.0f, 4.0f},
     {MarsCode, 2.0f, 2.0f},
     {MarsCode, -2.0f, -2.0f},
     {MarsCode, -4.0f, -4.0f},
     {MarsCode, 0.0f, 0.0f}},
    {{PlayerCode, 5.0f, 5.0f}, {VenusCode, -5.0f, -5.0f}},
    {{PlayerCode, 5.0f, 0.0f},
     {MarsCode, 0.0f, -6.0f},
     {MarsCode, 0.0f, -3.0f},
     {MarsCode, 0.0f, 0.0f},
     {MarsCode, 0.0f, 3.0f},
     {MarsCode, 0.0f, 6.0f},
     {VenusCode, -5.0f, 0.0f}},
    {{PlayerCode, 4.0f, 0.0f}, {JupiterCode, -4.0f, 0.0f}},
    {{PlayerCode, 6.0f, 0.0f},
     {MarsCode, 2.0f, 0.0f},
     {MarsCode, -2.0f, 0.0f},
     {MarsCode, -6.0f, 0.0f},
     {JupiterCode, 0.0f, 6.0f},
     {JupiterCode, 0.0f, -6.0f}},
    {{PlayerCode, 4.0f, 0.0f},
     {VenusCode, -4.0f, 0.0f},
     {VenusCode, 0.0f, -4.0f},
     {JupiterCode, 0.0f, 4.0f}},
    {{PlayerCode, 0.0f, 0.0f}, {JupiterCode, 5.0f, 0.0f}, {JupiterCode, -5.0f, 0.0f}},
    {{PlayerCode, -2.0f, -2.0f}, {PlutoCode, 1.9f, 1.9f}},
    {{PlayerCode, 0.0f, -5.0f},
     {PlutoCode, 0.0f, 4.9f},
     {MarsCode, 5.0f, 0.0f},
     {MarsCode, -5.0f, 0.0f},
     {MarsCode, 3.5f, 3.5f},
     {MarsCode, 3.5f, -3.5f},
     {MarsCode, -3.5f, 3.5f},
     {MarsCode, -3.5f, -3.5f}},
    {{PlayerCode, 0.0f, 3.0f},
     {VenusCode, 0.0f, -3.0f},
     {VenusCode, 3.0f, 0.0f},
     {VenusCode, -3.0f, 0.0f},
     {PlutoCode, 0.0f, 0.0f}},
    {{PlayerCode, -4.0f, 4.0f},
     {PlutoCode, -3.9f, -3.9f},
     {PlutoCode, 3.9f, -3.9f},
     {JupiterCode, 4.0f, 4.0f}},
    {{PlayerCode, -3.0f, 3.0f},
     {PlutoCode, -1.0f, 1.0f},
     {PlutoCode, 1.0f, -1.0f},
     {PlutoCode, 3.0f, -3.0f}},
    {{PlayerCode, 0.0f, 5.0f}, {SaturnCode, 0.1f, 0.1f}},
    {{PlayerCode, 0.0f, -6.0f}, {SaturnCode, 5.1f, 3.0f}, {SaturnCode, -5.1f, 3.0f}},
    {{PlayerCode, -5.0f, 0.0f},
     {MarsCode, 5.0f, 0.0f},
     {MarsCode, 0.0f, -5.0f},
     {MarsCode, 0.0f, 5.0f},
     {SaturnCode, 0.1f, 0.1f}},
    {{PlayerCode, 0.0f, -6.0f},
     {VenusCode, 4.2f, -4.2f},
     {VenusCode, -4.2f, -4.2f},
     {VenusCode, -6.0f, 0.0f},
     {VenusCode, 6.0f, 0.0f},
     {SaturnCode, 0.1f, -1.0f}},
    {{PlayerCode, 0.0f, 7.0f},
     {JupiterCode, -7.0f, 0.0f},
     {JupiterCode, 7.0f, 0.0f},
     {SaturnCode, 0.0f, -7.0f}},
    {{PlayerCode, 5.0f, 0.0f},
     {PlutoCode, -4.0f, 0.0f},
     {PlutoCode, -4.0f, 3.0f},
     {PlutoCode, -4.0f, -3.0f},
     {SaturnCode, 0.1f, 0.1f}},
    {{PlayerCode, 0.0f, 6.0f},
     {MarsCode, 4.2f, 4.2f},
     {MarsCode, -4.2f, 4.2f},
     {MarsCode, 0.0f, 3.0f},
     {VenusCode, 4.2f, -4.2f},
     {VenusCode, -4.2f, -4.2f},
     {PlutoCode, 6.0f, 0.0f},
     {PlutoCode, -6.0f, 0.0f},
     {SaturnCode, 0.0f, -6.0f}},
    {{PlayerCode, 0.0f, 0.0f},
     {MarsCode, 3.0f, 3.0f},
     {MarsCode, -3.0f, -3.0f},
     {PlutoCode, -3.0f, 3.0f},
     {SaturnCode, 3.0f, -3.0f}},
    {{PlayerCode, 0.0f, 6.0f}, {DarkCode, 0.0f, -6.0f}},
    {{DummyCode, 0.0f, 5.0f}},
};

void World::createRoster(const RosterEntry* rows) {
    for (int i = 0; i < ballCount; ++i) {
        delete balls[i];
        balls[i] = nullptr;
    }
    ballCount = 0;
    // A code outside 1 to 8 names no character: that row is skipped.
    for (int row = 0; row < RosterRows && rows[row].kind != RosterEnd && ballCount < MaxBalls;
         ++row) {
        Ball* ball = createCharacter(rows[row].kind, this, rows[row].x, rows[row].y);
        if (ball != nullptr) {
            balls[ballCount] = ball;
            ++ballCount;
        }
    }
}

void loadStage() {
    // The field first: every ball's constructor asks it for the ball's height.
    gameWorld.setupField(stageFieldKind[stageNumber], stageFieldSize[stageNumber]);
    gameWorld.createRoster(stageRoster[stageNumber]);
    lastKey = 0;
    lastSpecialKey = 0;
}
