// What the tests of every folder share: a float's bit pattern, to compare
// floats exactly (== would take -0 for +0, and NaN for nothing), and Ormath's
// vectors read from consecutive floats, as OpenGL and the recorder hold them.
// Included by relative path, so that a build outside this project's CMake
// (Ormath's installed consumer) needs no include folder for it.
#pragma once

#include <ormath/ormath.hpp>

#include <cstdint>
#include <cstring>

inline std::uint32_t bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

constexpr ormath::vec2 v2(const float* f) { return {f[0], f[1]}; }
constexpr ormath::vec3 v3(const float* f) { return {f[0], f[1], f[2]}; }
constexpr ormath::vec4 v4(const float* f) { return {f[0], f[1], f[2], f[3]}; }
