#include "characters/character_params.h"
#include "characters/characters.h"

Ball* createCharacter(int code, World* world, const float& x, const float& y) {
    switch (code) {
    case PlayerCode:
        return new Player(world, x, y);
    case MarsCode:
        return new Mars(world, x, y);
    case SaturnCode:
        return new Saturn(world, x, y);
    case JupiterCode:
        return new Jupiter(world, x, y);
    case PlutoCode:
        return new Pluto(world, x, y);
    case VenusCode:
        return new Venus(world, x, y);
    case DarkCode:
        return new Dark(world, x, y);
    case DummyCode:
        return new Dummy(world, x, y);
    default:
        return nullptr;
    }
}

int characterCode(const Ball& ball) {
    if (dynamic_cast<const Player*>(&ball) != nullptr) {
        return PlayerCode;
    }
    if (dynamic_cast<const Mars*>(&ball) != nullptr) {
        return MarsCode;
    }
    if (dynamic_cast<const Saturn*>(&ball) != nullptr) {
        return SaturnCode;
    }
    if (dynamic_cast<const Jupiter*>(&ball) != nullptr) {
        return JupiterCode;
    }
    if (dynamic_cast<const Pluto*>(&ball) != nullptr) {
        return PlutoCode;
    }
    if (dynamic_cast<const Venus*>(&ball) != nullptr) {
        return VenusCode;
    }
    if (dynamic_cast<const Dark*>(&ball) != nullptr) {
        return DarkCode;
    }
    return DummyCode;
}
