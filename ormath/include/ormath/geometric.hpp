// GLSL's geometric functions: dot, cross, length, distance, normalize,
// faceforward, reflect and refract.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/common.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cmath>

namespace ormath {

// Products rounded one by one and summed from x on: ((x*x' + y*y') + z*z') + w*w'.
constexpr float dot(float a, float b) noexcept { return detail::mul(a, b); }
constexpr float dot(const vec2& a, const vec2& b) noexcept {
    return detail::narrow(detail::mul(a.x, b.x) + detail::mul(a.y, b.y));
}
constexpr float dot(const vec3& a, const vec3& b) noexcept {
    using detail::mul;
    using detail::narrow;
    return narrow(narrow(mul(a.x, b.x) + mul(a.y, b.y)) + mul(a.z, b.z));
}
constexpr float dot(const vec4& a, const vec4& b) noexcept {
    using detail::mul;
    using detail::narrow;
    return narrow(narrow(narrow(mul(a.x, b.x) + mul(a.y, b.y)) + mul(a.z, b.z)) + mul(a.w, b.w));
}

// (a.y*b.z - a.z*b.y, a.z*b.x - a.x*b.z, a.x*b.y - a.y*b.x), each product rounded.
constexpr vec3 cross(const vec3& a, const vec3& b) noexcept {
    using detail::mul;
    using detail::narrow;
    return {narrow(mul(a.y, b.z) - mul(a.z, b.y)), narrow(mul(a.z, b.x) - mul(a.x, b.z)),
            narrow(mul(a.x, b.y) - mul(a.y, b.x))};
}

// std::sqrt(dot(x, x)), unscaled: a vector with a component beyond about
// 1.8e19 has an infinite length, one whose components are all below about
// 1e-23 a length of 0. For a float, |x| (which sqrt(x * x) is whenever the
// square neither overflows nor underflows).
constexpr float length(float x) noexcept { return ormath::abs(x); }
template <typename V>
inline detail::if_vector<V, float> length(const V& x) noexcept {
    return detail::narrow(std::sqrt(ormath::dot(x, x)));
}

// length(a - b).
constexpr float distance(float a, float b) noexcept { return ormath::length(detail::narrow(a - b)); }
template <typename V>
inline detail::if_vector<V, float> distance(const V& a, const V& b) noexcept {
    return ormath::length(a - b);
}

// x / length(x): each component divided by the length (not multiplied by its
// reciprocal). A zero vector gives NaN in every component (0 / 0); an
// infinite component gives NaN there and 0 in the finite ones; for a float,
// x / |x| is 1 or -1, NaN at 0 and at an infinity.
constexpr float normalize(float x) noexcept { return detail::narrow(x / ormath::length(x)); }
template <typename V>
inline detail::if_vector<V> normalize(const V& x) noexcept {
    return x / ormath::length(x);
}

// n if dot(n_ref, i) < 0, else -n (so a NaN dot product gives -n).
constexpr float faceforward(float n, float i, float n_ref) noexcept {
    return ormath::dot(n_ref, i) < 0.0f ? n : -n;
}
template <typename V>
constexpr detail::if_vector<V> faceforward(const V& n, const V& i, const V& n_ref) noexcept {
    return ormath::dot(n_ref, i) < 0.0f ? n : -n;
}

// i - (2 * dot(n, i)) * n: the doubled dot product (exact) times each
// component of n, rounded, then subtracted from i. n should be of unit length.
constexpr float reflect(float i, float n) noexcept {
    return detail::narrow(i - detail::mul(detail::narrow(2.0f * ormath::dot(n, i)), n));
}
template <typename V>
constexpr detail::if_vector<V> reflect(const V& i, const V& n) noexcept {
    return i - detail::narrow(2.0f * ormath::dot(n, i)) * n;
}

// With d = dot(n, i) and k = 1 - (eta * eta) * (1 - d * d), each product
// rounded: 0 (all components +0) if k < 0, total internal reflection; else
// eta * i - (eta * d + sqrt(k)) * n, with eta * i and the bracket's product
// with n rounded per component before the subtraction. A NaN k gives NaN.
// i and n should be of unit length.
inline float refract(float i, float n, float eta) noexcept {
    using detail::mul;
    using detail::narrow;
    const float d = ormath::dot(n, i);
    const float k = narrow(1.0f - mul(mul(eta, eta), narrow(1.0f - mul(d, d))));
    if (k < 0.0f) {
        return 0.0f;
    }
    return narrow(mul(eta, i) - mul(narrow(mul(eta, d) + narrow(std::sqrt(k))), n));
}
template <typename V>
inline detail::if_vector<V> refract(const V& i, const V& n, float eta) noexcept {
    using detail::mul;
    using detail::narrow;
    const float d = ormath::dot(n, i);
    const float k = narrow(1.0f - mul(mul(eta, eta), narrow(1.0f - mul(d, d))));
    if (k < 0.0f) {
        return V(0.0f);
    }
    return eta * i - narrow(mul(eta, d) + narrow(std::sqrt(k))) * n;
}

}  // namespace ormath

#endif  // ORMATH_CXX17
