#pragma once

#include "sim/ball.h"

#include <type_traits>

// The eight characters. Each is placed on the field at construction and builds its model.

// Steered by the arrow keys.
class Player final : public Ball {
  public:
    Player(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Chases the player, pulled towards the centre.
class Mars final : public Ball {
  public:
    Mars(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Keeps away from the player, pulled towards the centre.
class Venus final : public Ball {
  public:
    Venus(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Works its way between the player and the centre, then attacks outward.
class Pluto final : public Ball {
  public:
    Pluto(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Charges the player; after a hit close to it retreats until it is far away.
class Saturn final : public Ball {
  public:
    int mode; // 0 charge, 1 retreat

    Saturn(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Orbits the centre at two thirds of the rim radius, keeping its sense of rotation.
class Jupiter final : public Ball {
  public:
    float orbitForce; // radial force holding the orbit; negative points inward

    Jupiter(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;

  private:
    void setUpOrbit();
};

// Circles clockwise with a huge drive, turns inward near the rim, loses drive in collisions.
class Dark final : public Ball {
  public:
    int mode;       // 0 circle, 1 circle while turning inward
    int bonusDrive; // added to driveForce; 10 less for each frame that starts with a collision

    Dark(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Circles slowly clockwise.
class Dummy final : public Ball {
  public:
    Dummy(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// The character of a roster code (1 to 8) at (x, y); null for any other code.
Ball* createCharacter(int code, World* world, const float& x, const float& y);

// The roster code of `ball`'s class.
int characterCode(const Ball& ball);

// Calls visit(member) for every member a character class adds to Ball, in a fixed order. The
// one place that knows them: the solver's snapshot copies them and the state checksum covers
// them through it. `B` is Ball or const Ball.
template <typename B, typename Visit> void visitOwnMembers(B& ball, Visit&& visit) {
    constexpr bool ReadOnly = std::is_const_v<B>;
    using SaturnT = std::conditional_t<ReadOnly, const Saturn, Saturn>;
    using JupiterT = std::conditional_t<ReadOnly, const Jupiter, Jupiter>;
    using DarkT = std::conditional_t<ReadOnly, const Dark, Dark>;
    if (auto* saturn = dynamic_cast<SaturnT*>(&ball)) {
        visit(saturn->mode);
    } else if (auto* jupiter = dynamic_cast<JupiterT*>(&ball)) {
        visit(jupiter->orbitForce);
    } else if (auto* dark = dynamic_cast<DarkT*>(&ball)) {
        visit(dark->mode);
        visit(dark->bonusDrive);
    }
}
