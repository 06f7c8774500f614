#pragma once

#include "engine/vector3f.h"

class World;
struct CharacterParams;

// Every sphere on the field. Public data: the world and the characters read and write it.
class Ball {
  public:
    Vector3f position; // field frame while on the field, world frame once fallen
    Vector3f velocity;
    float radius;
    float mass;
    float driveForce;
    const char* label;
    int displayList; // the model's mesh in the mesh store
    int stunFrames;  // while not 0 the ball's own drive has no effect
    int fallen;      // 1 from the moment the centre is a radius beyond the rim
    World* world;

    Ball(const Ball&) = delete;
    Ball& operator=(const Ball&) = delete;
    // Gives up the model's mesh, so that stage after stage does not pile up meshes.
    virtual ~Ball();
    // One frame of the character's behaviour; 1 when the ball has dropped out of the game.
    virtual int move(const float& arrowX, const float& arrowY) = 0;
    // (Re)builds the ball's model and hands it to the mesh store as displayList.
    virtual void buildModel() = 0;
    // The rolling step every move ends with: surface force, speed cap, new position and
    // height. Returns 1 once the centre is below the fall level.
    int advance(const Vector3f& drive, float maxSpeed);

  protected:
    // For a ball that sets every member itself.
    Ball() = default;
    // The construction steps every character shares: at rest at (x, y), not stunned, not
    // fallen, with the table's constants and its centre on the surface. The sphere is what
    // rests on the field, so the radius here is the sphere's; a character whose collision
    // radius differs sets it afterwards.
    Ball(World* world, const float& x, const float& y, const CharacterParams& params);
    // advance for a ball whose height over the field is that of a sphere of heightRadius,
    // while the surface force and the fall test use radius.
    int advance(const Vector3f& drive, float maxSpeed, float heightRadius);
};
