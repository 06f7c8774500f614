#pragma once

// The one geometric value type. Every component is stored in single precision; the
// arithmetic runs in double and is rounded once when a component is stored.
struct Vector3f {
    float x;
    float y;
    float z;

    // A default vector is (1, 1, 1), not zero: callers always assign before use.
    constexpr Vector3f() : x(1.0f), y(1.0f), z(1.0f) {}
    constexpr Vector3f(const Vector3f&) = default;
    constexpr Vector3f(const float& x, const float& y, const float& z) : x(x), y(y), z(z) {}
    constexpr Vector3f& operator=(const Vector3f&) = default;

    Vector3f operator+(const Vector3f& b) const;
    Vector3f operator-(const Vector3f& b) const;
    Vector3f operator-() const;
    Vector3f operator/(const float& s) const;
    Vector3f cross(const Vector3f& b) const;
    float dot(const Vector3f& b) const;
    float length() const;

    // Divides by the length, unless the length is near zero: then the vector is left alone.
    void normalize();
    // Turns the vector about `axis` (any length) by `angle` radians, right-handed.
    void rotate(const Vector3f& axis, const float& angle);
};

Vector3f operator*(const float& s, const Vector3f& v);

// Strictly between -1e-6 and 1e-6 (compared in double); NaN is not near zero.
bool isNearZero(const float& v);

// Angle in (-pi, pi] that turns a onto b about `reference`; 0 if either is near zero in length.
float signedAngle(const Vector3f& a, const Vector3f& b, const Vector3f& reference);

// Constant-initialised, so they are ready before any global constructor runs.
inline constexpr Vector3f ZeroVector{0.0f, 0.0f, 0.0f};
inline constexpr Vector3f UnitX{1.0f, 0.0f, 0.0f};
inline constexpr Vector3f UnitY{0.0f, 1.0f, 0.0f};
inline constexpr Vector3f UnitZ{0.0f, 0.0f, 1.0f};
