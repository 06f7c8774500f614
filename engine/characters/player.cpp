#include "engine/characters/character_params.h"
#include "engine/characters/characters.h"
#include "engine/characters/steering.h"
#include "engine/mesh.h"

Player::Player(World* world, const float& x, const float& y) : Ball(world, x, y, PlayerParams) {
    displayList = DisplayListSentinel;
    buildModel();
}

int Player::move(const float& arrowX, const float& arrowY) {
    countDownStun(*this);
    // Both keys at once still give the full drive: the input is normalised, not added.
    const Vector3f direction = unit(Vector3f(arrowX, arrowY, 0.0f));
    return advance(driveForce * direction, PlayerParams.maxSpeed);
}
