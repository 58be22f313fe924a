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
}  // namespace
