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
