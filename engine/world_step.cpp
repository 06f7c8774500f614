#include "engine/ball.h"
#include "engine/game_state.h"
#include "engine/own_math.h"
#include "engine/world.h"

#include <cmath>

namespace {

constexpr int ReentryFrames = 20;
constexpr int ReentryStunFrames = 10;
constexpr int CollisionStunFrames = 4;
constexpr double TiltTimeStep = 0.1;
constexpr float MaxTiltRate = 0.942477822303772f; // 0.3 pi
constexpr double MaxTilt = 0.5340707659721375;    // |tiltX| + |tiltY|, about 30.6 degrees
constexpr double BounceFactor = 4.0; // twice an elastic bounce: the ball is kicked away
constexpr int BeepBase = 250;
constexpr int BeepPerMass = 10;

float clampRate(float rate) {
    if (rate < -MaxTiltRate) {
        return -MaxTiltRate;
    }
    if (rate > MaxTiltRate) {
        return MaxTiltRate;
    }
    return rate;
}

// Moves two overlapping balls apart along the line of their centres until they touch;
// returns that line as a unit vector from a to b.
Vector3f separate(Ball& a, Ball& b, const Vector3f& between, float distance) {
    const float ra = a.radius;
    const float rb = b.radius;
    if (isNearZero(distance)) {
        // Coincident centres give no direction: push them apart along x rather than divide
        // by zero.
        const Vector3f contact = a.position;
        a.position = contact - ra * UnitX;
        b.position = contact + rb * UnitX;
        return UnitX;
    }
    const Vector3f contact = a.position + (ra / (ra + rb)) * between;
    a.position = contact - (ra / distance) * between;
    b.position = contact + (rb / distance) * between;
    Vector3f n = between;
    n.normalize();
    return n;
}

// Both velocities change along n, each from the velocities before the bounce; whether the
// balls approach or already part does not matter.
void bounce(Ball& a, Ball& b, const Vector3f& n) {
    const float totalMass = a.mass + b.mass;
    const float va = a.velocity.dot(n);
    const float vb = b.velocity.dot(n);
    const float kickA = toFloat(BounceFactor * b.mass * (double(vb) - va));
    const float kickB = toFloat(BounceFactor * a.mass * (double(va) - vb));
    a.velocity = a.velocity + (kickA * n) / totalMass;
    b.velocity = b.velocity + (kickB * n) / totalMass;
}

void collide(Ball& a, Ball& b) {
    const Vector3f between = b.position - a.position;
    const float distance = between.length();
    // Strictly closer than touching.
    if (!(distance < a.radius + b.radius)) {
        return;
    }
    bounce(a, b, separate(a, b, between, distance));
    a.stunFrames = CollisionStunFrames;
    b.stunFrames = CollisionStunFrames;
    // Heavier pairs sound lower; only whether it is non-zero matters to the game.
    beepRequest = BeepBase - BeepPerMass * static_cast<int>(a.mass + b.mass);
}

} // namespace

int World::step(const float& padX, const float& padY, const float& arrowX, const float& arrowY) {
    countDownReentry();
    tiltField(padX, padY);
    const int outcome = moveBalls(arrowX, arrowY);
    if (outcome == GameOver || outcome == StageClear) {
        return outcome;
    }
    collideBalls();
    return playPhase == ReentryPhase ? Reentry : Playing;
}

void World::countDownReentry() {
    if (phaseCountdown > 0) {
        --phaseCountdown;
        if (phaseCountdown == 0) {
            playPhase = 0;
        }
    }
}

// The dish rests on a pivot under its centre: the keypad and the weight of every ball near it
// turn it. No damping: it keeps turning until the torques or the limit stop it.
void World::tiltField(const float& padX, const float& padY) {
    float torqueX = toFloat(-double(tiltGain) * padY);
    float torqueY = toFloat(double(tiltGain) * padX);
    const double cosX = ownCos(double(tiltX));
    const double cosY = ownCos(double(tiltY));
    for (int i = 0; i < ballCount; ++i) {
        const Ball& ball = *balls[i];
        // A ball that has just dropped over the rim still counts until it is this far out.
        if (ball.position.length() < ball.radius + fieldSize) {
            // The weight's moment m p is a float, so that balls placed symmetrically cancel
            // exactly.
            const float momentX = -ball.mass * ball.position.y;
            const float momentY = ball.mass * ball.position.x;
            torqueX = toFloat(torqueX + momentX * cosX);
            torqueY = toFloat(torqueY + momentY * cosY);
        }
    }
    tiltRateX = clampRate(toFloat(tiltRateX + double(torqueX) / tiltInertia * TiltTimeStep));
    tiltRateY = clampRate(toFloat(tiltRateY + double(torqueY) / tiltInertia * TiltTimeStep));
    tiltX = toFloat(tiltX + tiltRateX * TiltTimeStep);
    tiltY = toFloat(tiltY + tiltRateY * TiltTimeStep);
    const double total = std::fabs(double(tiltX)) + std::fabs(double(tiltY));
    if (total > MaxTilt) {
        // Stop dead at the limit, keeping the direction of the tilt.
        tiltX = toFloat(tiltX * MaxTilt / total);
        tiltY = toFloat(tiltY * MaxTilt / total);
        tiltRateX = 0.0f;
        tiltRateY = 0.0f;
    }
}

int World::moveBalls(const float& arrowX, const float& arrowY) {
    int i = 0;
    while (i < ballCount) {
        if (balls[i]->move(arrowX, arrowY) == 0) {
            ++i;
            continue;
        }
        if (i == 0) {
            --lives;
            // Exactly 0: the title demonstration, whose first ball counts against lives the
            // game flow does not reset, keeps re-entering it once they run below 0.
            if (lives == 0) {
                return GameOver;
            }
            restartPlayer();
            // The others wait while the player comes back.
            return Playing;
        }
        // The ball that moves up into slot i has not moved yet in this frame: same i again.
        removeBall(i);
        if (ballCount == 1) {
            return StageClear;
        }
    }
    return Playing;
}

void World::restartPlayer() {
    playPhase = ReentryPhase;
    phaseCountdown = ReentryFrames;
    Ball& player = *balls[0];
    player.position = ZeroVector; // the next move lifts it onto the surface
    player.velocity = ZeroVector;
    player.stunFrames = ReentryStunFrames;
    player.fallen = 0;
}

void World::removeBall(int slot) {
    delete balls[slot];
    for (int i = slot + 1; i < ballCount; ++i) {
        balls[i - 1] = balls[i];
    }
    --ballCount;
    balls[ballCount] = nullptr;
}

// Every pair once, in slot order; each result is written back at once, so later pairs see
// it. A re-entering player is untouchable and pushes nobody.
void World::collideBalls() {
    const int first = playPhase == ReentryPhase ? 1 : 0;
    for (int i = first; i < ballCount; ++i) {
        for (int j = i + 1; j < ballCount; ++j) {
            collide(*balls[i], *balls[j]);
        }
    }
}
