#pragma once

// The arithmetic of OpenGL 1.1's fixed-function pipeline that a backend without it (WebGL)
// must do itself, in single precision and in the order Mesa does it, so that both backends
// put every vertex and glyph in the same place: the matrices of glTranslatef, glRotatef and
// glFrustum, the raster position of glRasterPos3f, the light's unit vectors, and the triangle
// strips of glutSolidSphere and the triangles Mesa cuts a quad strip into.
#include "engine/mesh.h"
#include "engine/placement.h"

#include <vector>

// Column-major, as OpenGL keeps matrices: m[column * 4 + row].
struct Matrix4 {
    float m[16];
};

Matrix4 identityMatrix();
// a * b, summed left to right.
Matrix4 multiply(const Matrix4& a, const Matrix4& b);
// The model-view of `placement`: each step multiplied on from the right, as glTranslatef and
// glRotatef do, from the identity.
Matrix4 placementMatrix(const Placement& placement);
// glFrustum's projection.
Matrix4 frustumMatrix(float left, float right, float bottom, float top, float near, float far);

struct Viewport {
    int x;
    int y;
    int width;
    int height;
};

// Where glRasterPos3f(x, y, z) with the identity model-view puts the raster position, in
// window coordinates (z from 0 at the near plane to 1 at the far one). Not valid when the
// point lies outside the view volume: glBitmap then draws nothing.
struct RasterPosition {
    bool valid;
    float x;
    float y;
    float z;
};
RasterPosition rasterPosition(const Matrix4& projection, const Viewport& viewport, float x, float y,
                              float z);
// The lower left pixel of a glBitmap whose origin is (originX, originY) at coordinate `at`.
int bitmapCorner(float at, float origin);

// A direction made unit length in single precision (zero stays zero).
Vector3f unitLength(const Vector3f& v);
// The half vector of a directional light towards `toLight` (unit length) for a viewer at
// infinity: the unit bisector of the light and the eye's +z.
Vector3f halfVector(const Vector3f& toLight);

// glutSolidSphere's surface as freeglut 3 builds it: a pole on +z, `stacks` triangle strips
// from there to the pole on -z, each `slices` + 1 rungs long, joined into one strip by
// repeating the last vertex of one and the first of the next (degenerate triangles that
// draw nothing and keep every strip's winding).
std::vector<MeshVertex> sphereStrip(float radius, int slices, int stacks);

// Each quad of a quad strip (v0, v1, v3, v2) as the triangles (v0, v1, v3) and (v0, v3, v2):
// the diagonal Mesa cuts it along, on which smooth shading across the quad depends. An odd
// last vertex belongs to no quad.
std::vector<MeshVertex> quadTriangles(const std::vector<MeshVertex>& strip);
