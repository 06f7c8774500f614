#pragma once

// A float's bits and back, as std::bit_cast gives them: the web build's standard library
// (libc++ 13) has no std::bit_cast.
#include <cstdint>
#include <cstring>

inline std::uint32_t floatBits(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

inline float floatFromBits(std::uint32_t bits) {
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}
