// The Ormath header on its own, first in its translation unit: it must need
// nothing else. The checks here run in the compiler.
#include <ormath/ormath.hpp>

namespace {
using ormath::mat4;
using ormath::vec3;
using ormath::vec4;

constexpr mat4 doubled(2.0f);
static_assert(mat4() * doubled == doubled && doubled * mat4() == doubled, "the identity is neutral");
static_assert(mat4(0.0f) * doubled == mat4(0.0f), "mat4(0) is all zeros");
static_assert(ormath::mix(vec3(1, 0, 0), vec3(0, 0, 1), 0.25f) == vec3(0.75f, 0, 0.25f), "mix is constexpr");
static_assert(ormath::translate(vec3(1, 2, 3))[3] == vec4(1, 2, 3, 1), "translate is constexpr");
static_assert(ormath::radians(0.0f) == 0.0f, "radians is constexpr");
static_assert(vec4(vec3(1, 2, 3), 4)[3] == 4.0f && vec3()[2] == 0.0f,
              "construction and access are constexpr");

// Everything without a C library call evaluates in the compiler.
using ormath::mat2;
using ormath::mat3;
using ormath::vec2;
static_assert(ormath::dot(vec3(1, 2, 3), vec3(4, 5, 6)) == 32 &&
                  ormath::cross(vec3(1, 0, 0), vec3(0, 1, 0)) == vec3(0, 0, 1),
              "dot and cross are constexpr");
static_assert(ormath::inverse(mat4(2.0f)) == mat4(0.5f) && ormath::inverse(mat3(4.0f)) == mat3(0.25f) &&
                  ormath::inverse(mat2(-1.0f)) == mat2(-1.0f),
              "inverse is constexpr");
static_assert(ormath::determinant(mat4(2.0f)) == 16 && ormath::transpose(mat2({1, 2}, {3, 4}))[0][1] == 3,
              "determinant and transpose are constexpr");
static_assert(ormath::frustum(-1, 1, -1, 1, 1, 3)[2][3] == -1 &&
                  ormath::ortho(-1, 1, -1, 1, -1, 1)[3][3] == 1 && ormath::scale(vec3(2, 3, 4))[2][2] == 4,
              "frustum, ortho and scale are constexpr");
static_assert(ormath::project(vec3(0, 0, 0), mat4(), mat4(), vec4(0, 0, 2, 2)) == vec3(1, 1, 0.5f) &&
                  ormath::unproject(vec3(1, 1, 0.5f), mat4(), mat4(), vec4(0, 0, 2, 2)) == vec3(0, 0, 0),
              "project and unproject are constexpr");
static_assert(ormath::clamp(vec2(-1, 2), 0.0f, 1.0f) == vec2(0, 1) &&
                  ormath::smoothstep(0.0f, 2.0f, 1.0f) == 0.5f &&
                  ormath::step(1.0f, vec3(0, 1, 2)) == vec3(0, 1, 1) && ormath::abs(-2.0f) == 2 &&
                  ormath::sign(vec4(-3)) == vec4(-1) &&
                  ormath::mix(vec2(0, 4), vec2(4, 0), 0.25f) == vec2(1, 3),
              "the common functions without floor are constexpr");
static_assert((vec2(1, 2) - 1.0f) * vec2(2) / 2.0f == vec2(0, 1) && -vec4(1) + vec4(2) == vec4(1) &&
                  ormath::reflect(vec2(1, -1), vec2(0, 1)) == vec2(1, 1) && ormath::degrees(0.0f) == 0 &&
                  ormath::normalize(-2.0f) == -1 && ormath::distance(1.0f, 4.0f) == 3,
              "vector arithmetic is constexpr");
}  // namespace
