#include "render/fixed_function.h"

#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
constexpr double DegreesPerHalfTurn = 180.0;
// glBitmap's nudge before rounding down, so that a position a hair below a pixel's edge
// still counts as on it.
constexpr float BitmapEpsilon = 0.0001f;

float& at(Matrix4& matrix, int row, int column) {
    return matrix.m[column * 4 + row];
}

float at(const Matrix4& matrix, int row, int column) {
    return matrix.m[column * 4 + row];
}

void translate(Matrix4& matrix, float x, float y, float z) {
    float* m = matrix.m;
    m[12] = m[0] * x + m[4] * y + m[8] * z + m[12];
    m[13] = m[1] * x + m[5] * y + m[9] * z + m[13];
    m[14] = m[2] * x + m[6] * y + m[10] * z + m[14];
    m[15] = m[3] * x + m[7] * y + m[11] * z + m[15];
}

// A turn about one of the axes, with the signs the axis's direction gives; false for any
// other axis. It turns the plane (from, to), from into to for a positive direction.
bool axisTurn(Matrix4& turn, float c, float s, float x, float y, float z) {
    int from = 0;
    int to = 0;
    bool negative = false;
    if (x == 0.0f && y == 0.0f && z != 0.0f) {
        from = 0;
        to = 1;
        negative = z < 0.0f;
    } else if (x == 0.0f && z == 0.0f && y != 0.0f) {
        from = 2;
        to = 0;
        negative = y < 0.0f;
    } else if (y == 0.0f && z == 0.0f && x != 0.0f) {
        from = 1;
        to = 2;
        negative = x < 0.0f;
    } else {
        return false;
    }
    at(turn, from, from) = c;
    at(turn, to, to) = c;
    at(turn, from, to) = negative ? s : -s;
    at(turn, to, from) = negative ? -s : s;
    return true;
}

// Any other axis, made unit length first; false when it is too short to have a direction.
bool generalTurn(Matrix4& turn, float c, float s, float x, float y, float z) {
    const float length = std::sqrt(x * x + y * y + z * z);
    constexpr float ShortestAxis = 1.0e-4f;
    if (length <= ShortestAxis) {
        return false;
    }
    x /= length;
    y /= length;
    z /= length;
    const float xx = x * x;
    const float yy = y * y;
    const float zz = z * z;
    const float xy = x * y;
    const float yz = y * z;
    const float zx = z * x;
    const float xs = x * s;
    const float ys = y * s;
    const float zs = z * s;
    const float oneC = 1.0f - c;
    at(turn, 0, 0) = (oneC * xx) + c;
    at(turn, 0, 1) = (oneC * xy) - zs;
    at(turn, 0, 2) = (oneC * zx) + ys;
    at(turn, 1, 0) = (oneC * xy) + zs;
    at(turn, 1, 1) = (oneC * yy) + c;
    at(turn, 1, 2) = (oneC * yz) - xs;
    at(turn, 2, 0) = (oneC * zx) - ys;
    at(turn, 2, 1) = (oneC * yz) + xs;
    at(turn, 2, 2) = (oneC * zz) + c;
    return true;
}

void rotate(Matrix4& matrix, float degrees, float x, float y, float z) {
    if (degrees == 0.0f) {
        return;
    }
    // Mesa's sinf and cosf of the angle in radians, rounded to single precision first.
    const auto radians = static_cast<float>(degrees * Pi / DegreesPerHalfTurn);
    const float s = std::sin(radians);
    const float c = std::cos(radians);
    Matrix4 turn = identityMatrix();
    if (axisTurn(turn, c, s, x, y, z) || generalTurn(turn, c, s, x, y, z)) {
        matrix = multiply(matrix, turn);
    }
}

MeshVertex spherePoint(float radius, float c, float s, float height) {
    return {{c, s, height}, {c * radius, s * radius, height * radius}};
}

// freeglut's circle tables: sin and cos at `count` equal steps of `turn` radians (negative:
// clockwise), from the first step on; the poles and the closing slice come from elsewhere.
struct Circle {
    std::vector<float> sines;
    std::vector<float> cosines;
};

Circle circleTable(int count, float turn) {
    const int size = count < 0 ? -count : count;
    const float angle = turn / static_cast<float>(count);
    Circle circle;
    circle.sines.assign(static_cast<std::size_t>(size), 0.0f);
    circle.cosines.assign(static_cast<std::size_t>(size), 1.0f);
    for (int i = 1; i < size; ++i) {
        circle.sines[i] = static_cast<float>(std::sin(static_cast<double>(angle * i)));
        circle.cosines[i] = static_cast<float>(std::cos(static_cast<double>(angle * i)));
    }
    return circle;
}

// One strip joined on to `strip`: its first vertex repeated, after the last one repeated.
void join(std::vector<MeshVertex>& strip, const std::vector<MeshVertex>& next) {
    if (!strip.empty()) {
        strip.push_back(strip.back());
        strip.push_back(next.front());
    }
    strip.insert(strip.end(), next.begin(), next.end());
}

} // namespace

Matrix4 identityMatrix() {
    return {{1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,
             0.0f, 1.0f}};
}

Matrix4 multiply(const Matrix4& a, const Matrix4& b) {
    Matrix4 product{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            at(product, row, column) =
                at(a, row, 0) * at(b, 0, column) + at(a, row, 1) * at(b, 1, column) +
                at(a, row, 2) * at(b, 2, column) + at(a, row, 3) * at(b, 3, column);
        }
    }
    return product;
}

Matrix4 placementMatrix(const Placement& placement) {
    Matrix4 matrix = identityMatrix();
    for (int i = 0; i < placement.count; ++i) {
        const PlaceStep& step = placement.steps[i];
        if (step.kind == PlaceStep::Kind::Move) {
            translate(matrix, step.x, step.y, step.z);
        } else {
            rotate(matrix, step.degrees, step.x, step.y, step.z);
        }
    }
    return matrix;
}

Matrix4 frustumMatrix(float left, float right, float bottom, float top, float near, float far) {
    Matrix4 matrix{};
    at(matrix, 0, 0) = (2.0f * near) / (right - left);
    at(matrix, 0, 2) = (right + left) / (right - left);
    at(matrix, 1, 1) = (2.0f * near) / (top - bottom);
    at(matrix, 1, 2) = (top + bottom) / (top - bottom);
    at(matrix, 2, 2) = -(far + near) / (far - near);
    at(matrix, 2, 3) = -(2.0f * far * near) / (far - near);
    at(matrix, 3, 2) = -1.0f;
    return matrix;
}

RasterPosition rasterPosition(const Matrix4& projection, const Viewport& viewport, float x, float y,
                              float z) {
    float clip[4];
    for (int row = 0; row < 4; ++row) {
        clip[row] = at(projection, row, 0) * x + at(projection, row, 1) * y +
                    at(projection, row, 2) * z + at(projection, row, 3);
    }
    const float w = clip[3];
    for (int i = 0; i < 3; ++i) {
        if (clip[i] > w || clip[i] < -w) {
            return {false, 0.0f, 0.0f, 0.0f};
        }
    }
    const float inverseW = w == 0.0f ? 1.0f : 1.0f / w;
    const float halfWidth = static_cast<float>(viewport.width) / 2.0f;
    const float halfHeight = static_cast<float>(viewport.height) / 2.0f;
    return {true, clip[0] * inverseW * halfWidth + (static_cast<float>(viewport.x) + halfWidth),
            clip[1] * inverseW * halfHeight + (static_cast<float>(viewport.y) + halfHeight),
            clip[2] * inverseW * 0.5f + 0.5f};
}

int bitmapCorner(float at, float origin) {
    return static_cast<int>(std::floor(at + BitmapEpsilon - origin));
}

Vector3f unitLength(const Vector3f& v) {
    const float squared = v.x * v.x + v.y * v.y + v.z * v.z;
    if (squared == 0.0f) {
        return v;
    }
    const float inverse = 1.0f / std::sqrt(squared);
    return {v.x * inverse, v.y * inverse, v.z * inverse};
}

Vector3f halfVector(const Vector3f& toLight) {
    return unitLength({toLight.x, toLight.y, toLight.z + 1.0f});
}

std::vector<MeshVertex> sphereStrip(float radius, int slices, int stacks) {
    if (slices == 0 || stacks < 2) {
        return {};
    }
    const auto pi = static_cast<float>(Pi);
    const Circle round = circleTable(-slices, 2 * pi);
    const Circle poleToPole = circleTable(stacks, pi);
    // Ring i (1 to stacks - 1) at slice j; ring 0 and ring `stacks` are the poles.
    auto ring = [&](int i, int j) {
        if (i == 0 || i == stacks) {
            const float pole = i == 0 ? 1.0f : -1.0f;
            return MeshVertex{{0.0f, 0.0f, pole}, {0.0f, 0.0f, pole * radius}};
        }
        const float sine = poleToPole.sines[i];
        return spherePoint(radius, round.cosines[j] * sine, round.sines[j] * sine,
                           poleToPole.cosines[i]);
    };
    std::vector<MeshVertex> strip;
    for (int i = 0; i < stacks; ++i) {
        std::vector<MeshVertex> band;
        for (int j = 0; j <= slices; ++j) {
            band.push_back(ring(i + 1, j % slices));
            band.push_back(ring(i, j % slices));
        }
        join(strip, band);
    }
    return strip;
}

std::vector<MeshVertex> quadTriangles(const std::vector<MeshVertex>& strip) {
    std::vector<MeshVertex> triangles;
    for (std::size_t i = 0; i + 3 < strip.size(); i += 2) {
        const MeshVertex quad[6] = {strip[i], strip[i + 1], strip[i + 3],
                                    strip[i], strip[i + 3], strip[i + 2]};
        triangles.insert(triangles.end(), quad, quad + 6);
    }
    return triangles;
}
