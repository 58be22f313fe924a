// GLSL's common functions for float and, component by component, for vec2,
// vec3 and vec4: abs, sign, floor, ceil, trunc, round, roundEven, fract, mod,
// modf, min, max, clamp, mix, step, smoothstep, isnan, isinf, fma, frexp,
// ldexp, the bit reinterpretations floatBitsToInt, floatBitsToUint,
// intBitsToFloat and uintBitsToFloat, and the angle conversions radians and
// degrees.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/integer.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

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

// Whole numbers, each exact (the sign of a zero result is x's, so
// round(-0.25f) is -0): trunc rounds toward zero (std::trunc); round to the
// nearest, halves away from zero (std::round: round(2.5f) is 3, round(-2.5f)
// -3); roundEven to the nearest, halves to the even neighbour
// (std::nearbyint in the round-to-nearest mode that Ormath assumes:
// roundEven(2.5f) is 2). Infinities and NaN come back as they are.
inline float trunc(float x) noexcept { return std::trunc(x); }
inline float round(float x) noexcept { return std::round(x); }
inline float roundEven(float x) noexcept { return std::nearbyint(x); }

// x - floor(x). For a tiny negative x the difference rounds to 1, not below
// it; fract of an infinity is NaN.
inline float fract(float x) noexcept { return detail::narrow(x - ormath::floor(x)); }

// x - y * floor(x / y), in that order (x / y divided, floored, multiplied by y
// and rounded, then subtracted from x); not C's fmod: the result takes y's
// sign. y = 0 gives NaN; the result may round to y itself.
inline float mod(float x, float y) noexcept {
    return detail::narrow(x - detail::mul(y, ormath::floor(detail::narrow(x / y))));
}

// x split into whole_part = trunc(x) and the returned fraction x - whole_part,
// both with x's sign and both exact (std::modf). An infinite x gives a whole
// part of x and a fraction of 0 with x's sign; NaN gives NaN for both.
inline float modf(float x, float& whole_part) noexcept { return std::modf(x, &whole_part); }

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
    const float keep = detail::narrow(1.0f - a);
    return detail::narrow(detail::mul(x, keep) + detail::mul(y, a));
}

// GLSL's select: a ? y : x, with no arithmetic, so an infinity or NaN in the
// unselected argument does not reach the result. The bool must be a bool:
// mix(x, y, 1) still means the weight 1.
template <typename B>
constexpr std::enable_if_t<std::is_same_v<B, bool>, float> mix(float x, float y, B a) noexcept {
    return a ? y : x;
}

// 0 if x < edge, else 1 (so a NaN x gives 1).
constexpr float step(float edge, float x) noexcept { return x < edge ? 0.0f : 1.0f; }

// Hermite interpolation: t = clamp((x - edge0) / (edge1 - edge0), 0, 1), then
// (t * t) * (3 - 2 * t), each product rounded. With edge0 == edge1 the
// quotient is infinite and the result 0 or 1, or NaN at x == edge0; with
// edge0 > edge1 the curve runs from 1 down to 0.
constexpr float smoothstep(float edge0, float edge1, float x) noexcept {
    using detail::mul;
    using detail::narrow;
    const float t = ormath::clamp(narrow(narrow(x - edge0) / narrow(edge1 - edge0)), 0.0f, 1.0f);
    return mul(mul(t, t), narrow(3.0f - mul(2.0f, t)));
}

// degrees * (single-precision pi / 180), one float multiplication.
constexpr float radians(float degrees) noexcept { return detail::mul(degrees, 0.017453292f); }
// radians * (single-precision 180 / pi, 0x1.ca5dc2p+5), one float multiplication.
constexpr float degrees(float radians) noexcept { return detail::mul(radians, 57.2957802f); }

// x is NaN; x is +infinity or -infinity.
constexpr bool isnan(float x) noexcept { return x != x; }
constexpr bool isinf(float x) noexcept { return x > 0x1.fffffep127f || x < -0x1.fffffep127f; }

// a * b + c with one rounding, of the exact value (std::fma; the C library's
// fmaf is exact where the processor has no fused multiply-add).
inline float fma(float a, float b, float c) noexcept { return detail::narrow(std::fma(a, b, c)); }

// x as significand * 2^exponent with 0.5 <= |significand| < 1 (std::frexp),
// exact. A zero gives itself and exponent 0; an infinity or NaN gives itself
// and exponent 0 (where C leaves the exponent unspecified).
inline float frexp(float x, int& exponent) noexcept {
    exponent = 0;
    return ormath::isnan(x) || ormath::isinf(x) ? x : std::frexp(x, &exponent);
}
// x * 2^exponent, correctly rounded (std::ldexp): exact unless the result
// overflows (to an infinity) or falls among the subnormals (rounded to
// nearest, ties to even).
inline float ldexp(float x, int exponent) noexcept { return detail::narrow(std::ldexp(x, exponent)); }

// The bits of x as an int32_t or uint32_t, and the float of the given bits:
// exact reinterpretations, NaN payloads included.
inline std::uint32_t floatBitsToUint(float x) noexcept {
    std::uint32_t u = 0;
    std::memcpy(&u, &x, sizeof u);
    return u;
}
inline std::int32_t floatBitsToInt(float x) noexcept { return detail::to_signed(ormath::floatBitsToUint(x)); }
inline float uintBitsToFloat(std::uint32_t u) noexcept {
    float x = 0;
    std::memcpy(&x, &u, sizeof x);
    return x;
}
inline float intBitsToFloat(std::int32_t i) noexcept {
    return ormath::uintBitsToFloat(static_cast<std::uint32_t>(i));
}

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
inline detail::if_vector<V> trunc(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::trunc(p); });
}
template <typename V>
inline detail::if_vector<V> round(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::round(p); });
}
template <typename V>
inline detail::if_vector<V> roundEven(const V& x) noexcept {
    return detail::map(x, [](float p) { return ormath::roundEven(p); });
}
template <typename V>
inline detail::if_vector<V> modf(const V& x, V& whole_part) noexcept {
    V fraction;
    for (int i = 0; i < detail::size_of<V>; ++i) {
        fraction[i] = ormath::modf(x[i], whole_part[i]);
    }
    return fraction;
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
constexpr detail::if_vector<V> mix(const V& x, const V& y, const detail::rebind_t<V, bool>& a) noexcept {
    return detail::each([](float p, float q, bool b) { return b ? q : p; }, x, y, a);
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
constexpr detail::if_vector<V, detail::rebind_t<V, bool>> isnan(const V& x) noexcept {
    return detail::each([](float p) { return ormath::isnan(p); }, x);
}
template <typename V>
constexpr detail::if_vector<V, detail::rebind_t<V, bool>> isinf(const V& x) noexcept {
    return detail::each([](float p) { return ormath::isinf(p); }, x);
}
template <typename V>
inline detail::if_vector<V> fma(const V& a, const V& b, const V& c) noexcept {
    return detail::zip(a, b, c, [](float p, float q, float r) { return ormath::fma(p, q, r); });
}
template <typename V>
inline detail::if_vector<V> frexp(const V& x, detail::rebind_t<V, std::int32_t>& exponent) noexcept {
    V significand;
    for (int i = 0; i < detail::size_of<V>; ++i) {
        significand[i] = ormath::frexp(x[i], exponent[i]);
    }
    return significand;
}
template <typename V>
inline detail::if_vector<V> ldexp(const V& x, const detail::rebind_t<V, std::int32_t>& exponent) noexcept {
    return detail::each([](float p, std::int32_t e) { return ormath::ldexp(p, e); }, x, exponent);
}
template <typename V>
inline detail::if_vector<V, detail::rebind_t<V, std::int32_t>> floatBitsToInt(const V& x) noexcept {
    return detail::each([](float p) { return ormath::floatBitsToInt(p); }, x);
}
template <typename V>
inline detail::if_vector<V, detail::rebind_t<V, std::uint32_t>> floatBitsToUint(const V& x) noexcept {
    return detail::each([](float p) { return ormath::floatBitsToUint(p); }, x);
}
template <typename V>
inline detail::if_signed_vector<V, detail::rebind_t<V, float>> intBitsToFloat(const V& i) noexcept {
    return detail::each([](std::int32_t p) { return ormath::intBitsToFloat(p); }, i);
}
template <typename V>
inline detail::if_unsigned_vector<V, detail::rebind_t<V, float>> uintBitsToFloat(const V& u) noexcept {
    return detail::each([](std::uint32_t p) { return ormath::uintBitsToFloat(p); }, u);
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
