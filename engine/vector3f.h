#pragma once

#include "engine/own_math.h"

#include <cmath>

// The one geometric value type. Every component is stored in single precision; the
// arithmetic runs in double and is rounded once when a component is stored.
// Rounds a double intermediate to the single precision that every stored value has.
inline float toFloat(double v) {
    return static_cast<float>(v);
}

// Strictly between -1e-6 and 1e-6 (compared in double); NaN is not near zero.
inline bool isNearZero(const float& v) {
    constexpr double Bound = 1e-6;
    const double wide = v;
    return wide > -Bound && wide < Bound;
}

struct Vector3f {
    float x;
    float y;
    float z;

    // A default vector is (1, 1, 1), not zero: callers always assign before use.
    constexpr Vector3f() : x(1.0f), y(1.0f), z(1.0f) {}
    constexpr Vector3f(const Vector3f&) = default;
    constexpr Vector3f(const float& x, const float& y, const float& z) : x(x), y(y), z(z) {}
    constexpr Vector3f& operator=(const Vector3f&) = default;

    // The small operations are inline: the world step calls them thousands of times a frame.
    Vector3f operator+(const Vector3f& b) const {
        return {float(double(x) + b.x), float(double(y) + b.y), float(double(z) + b.z)};
    }
    Vector3f operator-(const Vector3f& b) const {
        return {float(double(x) - b.x), float(double(y) - b.y), float(double(z) - b.z)};
    }
    Vector3f operator-() const { return {-x, -y, -z}; }
    Vector3f operator/(const float& s) const {
        return {float(double(x) / s), float(double(y) / s), float(double(z) / s)};
    }
    Vector3f cross(const Vector3f& b) const {
        return {float(double(y) * b.z - double(z) * b.y), float(double(z) * b.x - double(x) * b.z),
                float(double(x) * b.y - double(y) * b.x)};
    }
    float dot(const Vector3f& b) const {
        return float(double(x) * b.x + double(y) * b.y + double(z) * b.z);
    }
    float length() const { return float(std::sqrt(double(x) * x + double(y) * y + double(z) * z)); }

    // Divides by the length, unless the length is near zero: then the vector is left alone.
    void normalize() { normalizeMeasured(); }
    // Normalises and returns the length before. A near-zero result therefore tells that the
    // vector was left alone, which is what callers test after normalising.
    float normalizeMeasured() {
        const float l = length();
        // Dividing by exactly 1 changes nothing: unit axes skip the three divisions.
        if (!isNearZero(l) && l != 1.0f) {
            *this = *this / l;
        }
        return l;
    }
    // Turns the vector about `axis` (any length) by `angle` radians, right-handed.
    void rotate(const Vector3f& axis, const float& angle);
    // The same turn with the angle's cosine and sine already taken: many vectors, one angle.
    void rotate(const Vector3f& axis, const struct Turn& turn);
};

// An angle's cosine and sine, each rounded to single precision.
struct Turn {
    float cs;
    float sn;

    explicit Turn(const float& angle) : Turn(ownSinCosFloat(angle)) {}

  private:
    explicit Turn(const SinCosFloat& both) : cs(both.cs), sn(both.sn) {}
};

inline Vector3f operator*(const float& s, const Vector3f& v) {
    return {float(double(s) * v.x), float(double(s) * v.y), float(double(s) * v.z)};
}

// Inline too: with a constant axis such as UnitZ the compiler folds half the work away.
inline void Vector3f::rotate(const Vector3f& axis, const Turn& turn) {
    Vector3f k = axis;
    Vector3f q = k.cross(*this);
    Vector3f p = q.cross(k);
    if (isNearZero(p.normalizeMeasured())) {
        return; // along the axis, zero, or a zero axis
    }
    q.normalize();
    k.normalize();
    const float a = dot(p);
    const float b = dot(q);
    const float c = dot(k);
    const float cs = turn.cs;
    const float sn = turn.sn;
    const float a2 = float(double(float(double(a) * cs)) - float(double(b) * sn));
    const float b2 = float(double(float(double(b) * cs)) + float(double(a) * sn));
    *this = (a2 * p + b2 * q) + c * k;
}

inline void Vector3f::rotate(const Vector3f& axis, const float& angle) {
    rotate(axis, Turn(angle));
}

// Angle in (-pi, pi] that turns a onto b about `reference`; 0 if either is near zero in length.
inline float signedAngle(const Vector3f& a, const Vector3f& b, const Vector3f& reference) {
    Vector3f an = a;
    Vector3f bn = b;
    if (isNearZero(an.normalizeMeasured()) || isNearZero(bn.normalizeMeasured())) {
        return 0.0f;
    }
    const float d = an.dot(bn);
    const Vector3f n = an.cross(bn);
    const float e = n.dot(reference);
    return ownAtan2Float(e, d);
}

// Constant-initialised, so they are ready before any global constructor runs.
inline constexpr Vector3f ZeroVector{0.0f, 0.0f, 0.0f};
inline constexpr Vector3f UnitX{1.0f, 0.0f, 0.0f};
inline constexpr Vector3f UnitY{0.0f, 1.0f, 0.0f};
inline constexpr Vector3f UnitZ{0.0f, 0.0f, 1.0f};
