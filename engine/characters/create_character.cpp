#include "engine/characters/characters.h"

#include <cstring>

Ball* createCharacter(int code, World* world, const float& x, const float& y) {
    Ball* ball = nullptr;
    Characters::forEach([&]<typename C>(C*) {
        if (code == C::params.code) {
            ball = new C(world, x, y);
        }
    });
    return ball;
}

int characterCode(const Ball& ball) {
    int code = RosterEnd;
    Characters::forEach([&]<typename C>(C*) {
        if (ball.label != nullptr && std::strcmp(ball.label, C::params.label) == 0) {
            code = C::params.code;
        }
    });
    return code;
}
