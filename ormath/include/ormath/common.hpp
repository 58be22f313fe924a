// GLSL's common functions for float and, component by component, for vec2,
// vec3 and vec4: abs, sign, floor, ceil, fract, mod, min, max, clamp, mix,
// step, smoothstep, and the angle conversions radians and degrees.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>

namespace ormath {

// Each takes a float or, component by component, a vec2, vec3 or vec4 (V);
// the forms with a float beside a vector use that float for every component.

// |x|, with abs(-0) = +0.
constexpr float abs(float x) noexcept {
    if (detail::constant_evaluated()) {
        return x < 0.0f ? -x : x == 0.0f ? 0.0f : x;
    }
    return std::fabs(x);
}

// 1 for x > 0, -1 for x < 0, and x itself for +0, -0 and NaN: the sign of a
// zero is kept.
constexpr float sign(float x) noexcept { return x > 0.0f ? 1.0f : x < 0.0f ? -1.0f : x; }

// The nearest integers below and above x (std::floor, std::ceil); -0 stays -0.
inline float floor(float x) noexcept { return std::floor(x); }
inline float ceil(float x) noexcept { return std::ceil(x); }

// x - floor(x). For a tiny negative x the difference rounds to 1, not below
// it; fract of an infinity is NaN.
inline float fract(float x) noexcept { return x - ormath::floor(x); }

// x - y * floor(x / y), in that order (x / y divided, floored, multiplied by y
// and rounded, then subtracted from x); not C's fmod: the result takes y's
// sign. y = 0 gives NaN; the result may round to y itself.
inline float mod(float x, float y) noexcept { return x - detail::mul(y, ormath::floor(x / y)); }

// min is y < x ? y : x and max is x < y ? y : x: of two equal arguments (+0
// and -0) the first is returned; a NaN in x is returned and a NaN in y is
// ignored (x is returned). On x86 each is then one minss or maxss.
constexpr float min(float x, float y) noexcept { return y < x ? y : x; }
constexpr float max(float x, float y) noexcept { return x < y ? y : x; }

// min(max(x, min_value), max_value): a NaN x stays NaN, a NaN bound is
// ignored, and with min_value > max_value the result is max_value.
constexpr float clamp(float x, float min_value, float max_value) noexcept {
    return ormath::min(ormath::max(x, min_value), max_value);
}

// x * (1 - a) + y * a, with 1 - a formed once and both products rounded
// before the sum. a is not clamped, so weights outside 0..1 extrapolate. This
// form gives exactly x at a = 0 and y at a = 1, which the shorter
// x + (y - x) * a does not.
constexpr float mix(float x, float y, float a) noexcept {
    const float keep = 1.0f - a;
    return detail::mul(x, keep) + detail::mul(y, a);
}

// 0 if x < edge, else 1 (so a NaN x gives 1).
constexpr float step(float edge, float x) noexcept { return x < edge ? 0.0f : 1.0f; }

// Hermite interpolation: t = clamp((x - edge0) / (edge1 - edge0), 0, 1), then
// (t * t) * (3 - 2 * t), each product rounded. With edge0 == edge1 the
// quotient is infinite and the result 0 or 1, or NaN at x == edge0; with
// edge0 > edge1 the curve runs from 1 down to 0.
constexpr float smoothstep(float edge0, float edge1, float x) noexcept {
    using detail::mul;
    const float t = ormath::clamp((x - edge0) / (edge1 - edge0), 0.0f, 1.0f);
    return mul(mul(t, t), 3.0f - mul(2.0f, t));
}

// degrees * (single-precision pi / 180), one float multiplication.
constexpr float radians(float degrees) noexcept { return detail::mul(degrees, 0.017453292f); }
// radians * (single-precision 180 / pi, 0x1.ca5dc2p+5), one float multiplication.
constexpr float degrees(float radians) noexcept { return detail::mul(radians, 57.2957802f); }

template <typename V>
constexpr detail::if_vector<V> abs(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::abs(p); });
}
template <typename V>
constexpr detail::if_vector<V> sign(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::sign(p); });
}
template <typename V>
inline detail::if_vector<V> floor(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::floor(p); });
}
template <typename V>
inline detail::if_vector<V> ceil(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::ceil(p); });
}
template <typename V>
inline detail::if_vector<V> fract(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::fract(p); });
}
template <typename V>
inline detail::if_vector<V> mod(const V& x, const V& y) noexcept {
    return detail::zip(x, y, [](float p, float q) { return ormath::mod(p, q); });
}
template <typename V>
inline detail::if_vector<V> mod(const V& x, float y) noexcept {
    return ormath::mod(x, V(y));
}
template <typename V>
constexpr detail::if_vector<V> min(const V& x, const V& y) noexcept {
    return detail::zip(x, y, [](float p, float q) { return ormath::min(p, q); });
}
template <typename V>
constexpr detail::if_vector<V> min(const V& x, float y) noexcept {
    return ormath::min(x, V(y));
}
template <typename V>
constexpr detail::if_vector<V> max(const V& x, const V& y) noexcept {
    return detail::zip(x, y, [](float p, float q) { return ormath::max(p, q); });
}
template <typename V>
constexpr detail::if_vector<V> max(const V& x, float y) noexcept {
    return ormath::max(x, V(y));
}
template <typename V>
constexpr detail::if_vector<V> clamp(const V& x, const V& min_value, const V& max_value) noexcept {
    return detail::zip(x, min_value, max_value,
                       [](float p, float lo, float hi) { return ormath::clamp(p, lo, hi); });
}
template <typename V>
constexpr detail::if_vector<V> clamp(const V& x, float min_value, float max_value) noexcept {
    return ormath::clamp(x, V(min_value), V(max_value));
}

template <typename V>
constexpr detail::if_vector<V> mix(const V& x, const V& y, float a) noexcept {
    return detail::zip(x, y, [a](float p, float q) { return ormath::mix(p, q, a); });
}
template <typename V>
constexpr detail::if_vector<V> mix(const V& x, const V& y, const V& a) noexcept {
    return detail::zip(x, y, a, [](float p, float q, float w) { return ormath::mix(p, q, w); });
}
template <typename V>
constexpr detail::if_vector<V> step(const V& edge, const V& x) noexcept {
    return detail::zip(edge, x, [](float e, float p) { return ormath::step(e, p); });
}
template <typename V>
constexpr detail::if_vector<V> step(float edge, const V& x) noexcept {
    return ormath::step(V(edge), x);
}
template <typename V>
constexpr detail::if_vector<V> smoothstep(const V& edge0, const V& edge1, const V& x) noexcept {
    return detail::zip(edge0, edge1, x,
                       [](float e0, float e1, float p) { return ormath::smoothstep(e0, e1, p); });
}
template <typename V>
constexpr detail::if_vector<V> smoothstep(float edge0, float edge1, const V& x) noexcept {
    return ormath::smoothstep(V(edge0), V(edge1), x);
}
template <typename V>
constexpr detail::if_vector<V> radians(const V& degrees) noexcept {
    return detail::map(degrees, [](float p) { return ormath::radians(p); });
}
template <typename V>
constexpr detail::if_vector<V> degrees(const V& radians) noexcept {
    return detail::map(radians, [](float p) { return ormath::degrees(p); });
}

}  // namespace ormath

#endif  // ORMATH_CXX17
