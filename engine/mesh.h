#pragma once

// What the models are made of, for whichever renderer draws them: the field's dish, each
// ball's sphere, Saturn's ring. The simulation builds them; a renderer keeps them under a name.
#include "engine/vector3f.h"

#include <vector>

// The name every owner of a mesh holds until its first is built: far above the names in
// use, so that it never names a kept mesh.
inline constexpr int DisplayListSentinel = 30000;

struct Colour {
    float r;
    float g;
    float b;
};

struct MeshVertex {
    Vector3f normal;
    Vector3f position;
};

// One piece of a model, drawn in its colour when it has one: a quad strip (each pair of
// vertices a rung, front faces as the strip runs), or a sphere about the model's origin with
// its slices round the vertical axis and its stacks from pole to pole.
struct MeshPart {
    enum class Shape { QuadStrip, Sphere };
    Shape shape = Shape::QuadStrip;
    bool coloured = false;
    Colour colour{0.0f, 0.0f, 0.0f};
    std::vector<MeshVertex> vertices;
    float radius = 0.0f;
    int slices = 0;
    int stacks = 0;
};

struct Mesh {
    std::vector<MeshPart> parts;
};

// Keeps meshes for drawing. replace() gives up the mesh named `name`, if it holds one, and
// keeps `mesh` under the name it returns; release() gives one up. With no renderer (headless
// runs, before the window) nothing is kept and every name is 0, which names no mesh.
class MeshStore {
  public:
    // A store in place takes itself out as it goes.
    virtual ~MeshStore();
    virtual int replace(int name, const Mesh& mesh) = 0;
    virtual void release(int name) = 0;
};

// The store the simulation hands its meshes to; one that keeps nothing until a renderer
// puts itself in place (and after it takes itself out, with null).
MeshStore& meshStore();
void setMeshStore(MeshStore* store);
