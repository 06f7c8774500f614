#include "sim/vector3f.h"

#include <cmath>

namespace {

constexpr double NearZeroBound = 1e-6;

float toFloat(double v) {
    return static_cast<float>(v);
}

} // namespace

Vector3f Vector3f::operator+(const Vector3f& b) const {
    return {toFloat(double(x) + b.x), toFloat(double(y) + b.y), toFloat(double(z) + b.z)};
}

Vector3f Vector3f::operator-(const Vector3f& b) const {
    return {toFloat(double(x) - b.x), toFloat(double(y) - b.y), toFloat(double(z) - b.z)};
}

Vector3f Vector3f::operator-() const {
    return {-x, -y, -z};
}

Vector3f Vector3f::operator/(const float& s) const {
    return {toFloat(double(x) / s), toFloat(double(y) / s), toFloat(double(z) / s)};
}

Vector3f Vector3f::cross(const Vector3f& b) const {
    return {toFloat(double(y) * b.z - double(z) * b.y), toFloat(double(z) * b.x - double(x) * b.z),
            toFloat(double(x) * b.y - double(y) * b.x)};
}

float Vector3f::dot(const Vector3f& b) const {
    return toFloat(double(x) * b.x + double(y) * b.y + double(z) * b.z);
}

float Vector3f::length() const {
    return toFloat(std::sqrt(double(x) * x + double(y) * y + double(z) * z));
}

void Vector3f::normalize() {
    const float l = length();
    if (isNearZero(l)) {
        return;
    }
    *this = *this / l;
}

void Vector3f::rotate(const Vector3f& axis, const float& angle) {
    Vector3f k = axis;
    Vector3f q = k.cross(*this);
    Vector3f p = q.cross(k);
    p.normalize();
    q.normalize();
    k.normalize();
    if (isNearZero(p.length())) {
        return;
    }
    const float a = dot(p);
    const float b = dot(q);
    const float c = dot(k);
    const float cs = toFloat(std::cos(double(angle)));
    const float sn = toFloat(std::sin(double(angle)));
    const float a2 = toFloat(double(toFloat(double(a) * cs)) - toFloat(double(b) * sn));
    const float b2 = toFloat(double(toFloat(double(b) * cs)) + toFloat(double(a) * sn));
    *this = (a2 * p + b2 * q) + c * k;
}

Vector3f operator*(const float& s, const Vector3f& v) {
    return {toFloat(double(s) * v.x), toFloat(double(s) * v.y), toFloat(double(s) * v.z)};
}

bool isNearZero(const float& v) {
    const double wide = v;
    return wide > -NearZeroBound && wide < NearZeroBound;
}

float signedAngle(const Vector3f& a, const Vector3f& b, const Vector3f& reference) {
    Vector3f an = a;
    Vector3f bn = b;
    an.normalize();
    bn.normalize();
    if (isNearZero(an.length()) || isNearZero(bn.length())) {
        return 0.0f;
    }
    const float d = an.dot(bn);
    const Vector3f n = an.cross(bn);
    const float e = n.dot(reference);
    return toFloat(std::atan2(double(e), double(d)));
}
