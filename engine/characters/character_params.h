#pragma once

// The character codes of roster rows; 0 ends a roster.
enum CharacterCode : int {
    RosterEnd = 0,
    PlayerCode = 1,
    MarsCode = 2,
    SaturnCode = 3,
    JupiterCode = 4,
    PlutoCode = 5,
    VenusCode = 6,
    DarkCode = 7,
    DummyCode = 8,
};

// The constants of each character class. All values are single precision.
struct CharacterParams {
    CharacterCode code;
    const char* label;
    float radius;       // collisions and the fall test
    float sphereRadius; // the model's sphere, which rests on the field
    float mass;
    float driveForce;
    float maxSpeed;
    float colour[3];
    int slices; // of the model's sphere; it always has SphereStacks stacks
};

inline constexpr int SphereStacks = 10;

inline constexpr CharacterParams PlayerParams{
    PlayerCode, "PLAYER", 1.0f, 1.0f, 2.2f, 55.0f, 6.5f, {0.0f, 0.6f, 0.0f}, 12};
inline constexpr CharacterParams MarsParams{
    MarsCode, "MARS", 0.7f, 0.7f, 0.35f, 4.7f, 6.0f, {0.6f, 0.0f, 0.0f}, 12};
// Saturn's collision radius is its ring's outer edge; its sphere is smaller.
inline constexpr CharacterParams SaturnParams{
    SaturnCode, "SATURN", 2.4f, 1.3f, 4.0f, 65.0f, 7.5f, {0.7f, 0.3f, 0.0f}, 16};
inline constexpr CharacterParams JupiterParams{
    JupiterCode, "JUPITER", 2.0f, 2.0f, 12.0f, 70.0f, 5.0f, {0.6f, 0.3f, 0.0f}, 32};
inline constexpr CharacterParams PlutoParams{
    PlutoCode, "PLUTO", 0.9f, 0.9f, 0.6f, 9.0f, 6.0f, {0.4f, 0.0f, 0.4f}, 12};
inline constexpr CharacterParams VenusParams{
    VenusCode, "VENUS", 1.0f, 1.0f, 0.9f, 15.0f, 6.5f, {0.0f, 0.4f, 0.8f}, 12};
// Dark's drive is driveForce plus its bonusDrive.
inline constexpr CharacterParams DarkParams{
    DarkCode, "DARK", 0.8f, 0.8f, 15.0f, 350.0f, 6.5f, {0.2f, 0.2f, 0.2f}, 12};
inline constexpr CharacterParams DummyParams{
    DummyCode, "DUMMY", 1.0f, 1.0f, 1.0f, 20.0f, 2.5f, {0.0f, 0.6f, 0.0f}, 12};

// Saturn's ring: a flat annulus around the sphere's centre.
inline constexpr float SaturnRingInner = 1.55f;
inline constexpr float SaturnRingColour[3] = {1.0f, 1.0f, 0.2f};
