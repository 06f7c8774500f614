#pragma once

#include "engine/material.h"
#include "engine/mesh.h"
#include "engine/vector3f.h"

#include <limits>

class Ball;
struct RosterEntry;

inline constexpr int RingCount = 7;
inline constexpr int MaxBalls = 10;
// playPhase while the player re-enters after a lost life; 0 in normal play.
inline constexpr int ReentryPhase = 3;

// The whole simulated scene: the field with its shape and tilt, the re-entry phase and
// the balls. One instance, gameWorld, lives for the whole run.
class World {
  public:
    int fieldKind;
    int playPhase;      // 0 in normal play, 3 while the player re-enters
    int phaseCountdown; // frames of re-entry left
    float ringHeight[RingCount];
    Vector3f ringNormal[RingCount]; // in the ring's radial plane: x outward, z up
    float fieldSize;
    float tiltX; // radians about the X axis
    float tiltY; // radians about the Y axis
    float tiltRateX;
    float tiltRateY;
    float tiltInertia;
    float tiltGain;
    int fieldList;           // the field's mesh in the mesh store
    Material fieldMaterialA; // the field surface
    Material fieldMaterialB; // in force while the balls are drawn
    int ballCount;
    Ball* balls[MaxBalls]; // slot 0 is the player's ball in the play stages

    World();

    // Field: rings, tilt state, materials and mesh for a profile kind and rim radius.
    void setupField(const int& kind, const float& size);
    // Height of the ball's centre; marks the ball fallen (and moves it into the world
    // frame) once it is a radius beyond the rim.
    float surfaceHeight(Ball& ball);
    Vector3f surfaceForce(Ball& ball, const Vector3f& drive);
    int step(const float& padX, const float& padY, const float& arrowX, const float& arrowY);
    void createRoster(const RosterEntry* rows);

    void initMaterialA();
    void initMaterialB();
    // The dish as it is drawn, and the same handed to the mesh store as fieldList.
    Mesh fieldMesh() const;
    void buildFieldMesh();

  private:
    // The parts of step, in their order.
    void countDownReentry();
    void tiltField(const float& padX, const float& padY);
    // Moves every ball and handles drop-outs; GameOver or StageClear end the step at once.
    int moveBalls(const float& arrowX, const float& arrowY);
    void restartPlayer();
    // Deletes the ball in `slot`; the balls behind it move up a slot, keeping their order.
    void removeBall(int slot);
    void collideBalls();

    // Gravity turned into the field's frame depends only on the mass and the tilt: within a
    // step the tilt's cosines and sines serve every ball, and balls of equal mass (they stand
    // next to each other in the rosters) share the result. Inputs are compared bit for bit.
    struct FieldGravity {
        float tiltX = std::numeric_limits<float>::quiet_NaN();
        float tiltY = 0.0f;
        Turn untiltX{0.0f}; // by -tiltX
        Turn untiltY{0.0f}; // by -tiltY
        float mass = std::numeric_limits<float>::quiet_NaN();
        Vector3f force;
    };
    Vector3f fieldGravity(float mass);
    FieldGravity lastFieldGravity;
};

extern World gameWorld;
