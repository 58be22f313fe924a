// The colour step, at the same cost for every clock value.
#include "scene/colour_animation.hpp"

#include "scene/quad.hpp"

#include <cmath>
#include <cstdint>

using ormath::vec3;

namespace {
// From 2^24 on every float is an even whole number; from 2^23 on, whole.
constexpr float every_float_even = 0x1p24f;
constexpr float every_float_whole = 0x1p23f;
}  // namespace

bool odd_phase(float time) {
    // Below 2^24 the truncation to a 32-bit int is defined; above, even.
    // NaN fails the comparison and counts as even.
    return std::fabs(time) < every_float_even && static_cast<std::int32_t>(time) % 2 != 0;
}

float blend_factor(float scaled_time) {
    float a = scaled_time;
    if (a >= 1.0f) {
        // What subtracting 1 until the value drops below 1 leaves, in one
        // step: each such subtraction is exact below 2^24, so the result is
        // the exact fractional part, and whole numbers (all floats from 2^23
        // on, and infinity) leave 0.
        a = a < every_float_whole ? a - static_cast<float>(static_cast<std::int32_t>(a)) : 0.0f;
    }
    // Clamp to 0..1; only the lower bound can still apply. NaN becomes 0.
    if (!(a > 0.0f)) {
        a = 0.0f;
    }
    return a;
}

void animate_colours(float time) {
    const float a = blend_factor(time * colour_time_scale);
    // Odd phases run from palette_a towards palette_b, even ones back.
    const bool odd = odd_phase(time);
    const vec3* from = odd ? palette_a : palette_b;
    const vec3* to = odd ? palette_b : palette_a;
    for (int i = 0; i < 4; ++i) {
        quad_colours[i] = ormath::mix(from[i], to[i], a);
    }
}
