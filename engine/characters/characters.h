#pragma once

#include "engine/ball.h"
#include "engine/characters/character_params.h"

#include <type_traits>

// The eight characters. Each is placed on the field at construction and builds its model.

// Steered by the arrow keys.
class Player final : public Ball {
  public:
    static constexpr const CharacterParams& params = PlayerParams;
    Player(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Chases the player, pulled towards the centre.
class Mars final : public Ball {
  public:
    static constexpr const CharacterParams& params = MarsParams;
    Mars(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Keeps away from the player, pulled towards the centre.
class Venus final : public Ball {
  public:
    static constexpr const CharacterParams& params = VenusParams;
    Venus(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Works its way between the player and the centre, then attacks outward.
class Pluto final : public Ball {
  public:
    static constexpr const CharacterParams& params = PlutoParams;
    Pluto(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Charges the player; after a hit close to it retreats until it is far away.
class Saturn final : public Ball {
  public:
    static constexpr const CharacterParams& params = SaturnParams;
    int mode; // 0 charge, 1 retreat

    template <typename Self, typename Visit> static void visitOwn(Self& self, Visit&& visit) {
        visit(self.mode);
    }

    Saturn(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Orbits the centre at two thirds of the rim radius, keeping its sense of rotation.
class Jupiter final : public Ball {
  public:
    static constexpr const CharacterParams& params = JupiterParams;
    float orbitForce; // radial force holding the orbit; negative points inward

    template <typename Self, typename Visit> static void visitOwn(Self& self, Visit&& visit) {
        visit(self.orbitForce);
    }

    Jupiter(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;

  private:
    void setUpOrbit();
};

// Circles clockwise with a huge drive, turns inward near the rim, loses drive in collisions.
class Dark final : public Ball {
  public:
    static constexpr const CharacterParams& params = DarkParams;
    int mode;       // 0 circle, 1 circle while turning inward
    int bonusDrive; // added to driveForce; 10 less for each frame that starts with a collision

    template <typename Self, typename Visit> static void visitOwn(Self& self, Visit&& visit) {
        visit(self.mode);
        visit(self.bonusDrive);
    }

    Dark(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Circles slowly clockwise.
class Dummy final : public Ball {
  public:
    static constexpr const CharacterParams& params = DummyParams;
    Dummy(World* world, const float& x, const float& y);
    int move(const float& arrowX, const float& arrowY) override;
    void buildModel() override;
};

// Every character class, once: each carries its constants (`params`, with its roster code and
// label) and, when it adds members to Ball, says which (`visitOwn`).
template <typename... Classes> struct CharacterList {
    template <typename Each> static void forEach(Each&& each) {
        (each(static_cast<Classes*>(nullptr)), ...);
    }
};
using Characters = CharacterList<Player, Mars, Saturn, Jupiter, Pluto, Venus, Dark, Dummy>;

// The character of a roster code (1 to 8) at (x, y); null for any other code.
Ball* createCharacter(int code, World* world, const float& x, const float& y);

// The roster code of `ball`'s class, known by the label its constants gave it; RosterEnd for
// a ball of no character class.
int characterCode(const Ball& ball);

// Calls visit(member) for every member a character class adds to Ball, in a fixed order. The
// solver's snapshot copies them and the state checksum covers them through it. `B` is Ball or
// const Ball.
template <typename B, typename Visit> void visitOwnMembers(B& ball, Visit&& visit) {
    const int code = characterCode(ball);
    Characters::forEach([&]<typename C>(C*) {
        if constexpr (requires(C & c) { C::visitOwn(c, visit); }) {
            using Class = std::conditional_t<std::is_const_v<B>, const C, C>;
            if (code == C::params.code) {
                C::visitOwn(static_cast<Class&>(ball), visit);
            }
        }
    });
}
