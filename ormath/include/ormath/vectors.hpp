// Ormath's vectors: vec2, vec3 and vec4 of float, and their component-wise
// arithmetic and comparison.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/rounding.hpp>

#include <cstddef>
#include <type_traits>

namespace ormath {

// Each vector is its components and nothing else, so an array of n vec2 or
// vec3 is 2n or 3n consecutive floats: what glVertexPointer and
// glColorPointer read with a stride of 0. The one-argument constructors are
// explicit, so a float or a longer vector never turns into a vector unasked.

struct vec3;
struct vec4;

struct vec2 {
    float x, y;

    constexpr vec2() noexcept : x(), y() {}
    constexpr vec2(float x_, float y_) noexcept : x(x_), y(y_) {}
    constexpr explicit vec2(float s) noexcept : x(s), y(s) {}
    // The leading components of a longer vector.
    constexpr explicit vec2(const vec3& v) noexcept;

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : y; }
    constexpr const float& operator[](int i) const noexcept { return i == 0 ? x : y; }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

struct vec3 {
    float x, y, z;

    constexpr vec3() noexcept : x(), y(), z() {}
    constexpr vec3(float x_, float y_, float z_) noexcept : x(x_), y(y_), z(z_) {}
    constexpr explicit vec3(float s) noexcept : x(s), y(s), z(s) {}
    constexpr vec3(const vec2& v, float z_) noexcept : x(v.x), y(v.y), z(z_) {}
    constexpr explicit vec3(const vec4& v) noexcept;

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr const float& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

struct vec4 {
    float x, y, z, w;

    constexpr vec4() noexcept : x(), y(), z(), w() {}
    constexpr vec4(float x_, float y_, float z_, float w_) noexcept : x(x_), y(y_), z(z_), w(w_) {}
    constexpr explicit vec4(float s) noexcept : x(s), y(s), z(s), w(s) {}
    constexpr vec4(const vec3& v, float w_) noexcept : x(v.x), y(v.y), z(v.z), w(w_) {}
    constexpr vec4(const vec2& v, float z_, float w_) noexcept : x(v.x), y(v.y), z(z_), w(w_) {}

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    constexpr const float& operator[](int i) const noexcept {
        return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
    }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

constexpr vec2::vec2(const vec3& v) noexcept : x(v.x), y(v.y) {}
constexpr vec3::vec3(const vec4& v) noexcept : x(v.x), y(v.y), z(v.z) {}

// The layout is the contract with OpenGL; check it where the types are made.
namespace detail {
// n floats with no padding and no alignment beyond a float's (so arrays have
// no gaps), in a standard-layout, trivially copyable type that C APIs can read.
template <typename T>
constexpr bool packed_floats(std::size_t n) noexcept {
    return sizeof(T) == n * sizeof(float) && alignof(T) == alignof(float) && std::is_standard_layout_v<T> &&
           std::is_trivially_copyable_v<T>;
}
}  // namespace detail
static_assert(detail::packed_floats<vec2>(2), "vec2 must be two packed floats");
static_assert(detail::packed_floats<vec3>(3), "vec3 must be three packed floats");
static_assert(detail::packed_floats<vec4>(4), "vec4 must be four packed floats");
static_assert(sizeof(vec2[4]) == 8 * sizeof(float) && sizeof(vec3[4]) == 12 * sizeof(float),
              "arrays of vectors must be tightly packed");

// Component-wise helpers.
namespace detail {

template <typename T>
struct is_vector : std::false_type {};
template <>
struct is_vector<vec2> : std::true_type {};
template <>
struct is_vector<vec3> : std::true_type {};
template <>
struct is_vector<vec4> : std::true_type {};

// R, for the overloads that take any vector type V.
template <typename V, typename R = V>
using if_vector = std::enable_if_t<is_vector<V>::value, R>;

// f applied to each component, or to each pair or triple of components.
template <typename F>
constexpr vec2 map(const vec2& a, F f) noexcept {
    return {f(a.x), f(a.y)};
}
template <typename F>
constexpr vec3 map(const vec3& a, F f) noexcept {
    return {f(a.x), f(a.y), f(a.z)};
}
template <typename F>
constexpr vec4 map(const vec4& a, F f) noexcept {
    return {f(a.x), f(a.y), f(a.z), f(a.w)};
}
template <typename F>
constexpr vec2 zip(const vec2& a, const vec2& b, F f) noexcept {
    return {f(a.x, b.x), f(a.y, b.y)};
}
template <typename F>
constexpr vec3 zip(const vec3& a, const vec3& b, F f) noexcept {
    return {f(a.x, b.x), f(a.y, b.y), f(a.z, b.z)};
}
template <typename F>
constexpr vec4 zip(const vec4& a, const vec4& b, F f) noexcept {
    return {f(a.x, b.x), f(a.y, b.y), f(a.z, b.z), f(a.w, b.w)};
}
template <typename F>
constexpr vec2 zip(const vec2& a, const vec2& b, const vec2& c, F f) noexcept {
    return {f(a.x, b.x, c.x), f(a.y, b.y, c.y)};
}
template <typename F>
constexpr vec3 zip(const vec3& a, const vec3& b, const vec3& c, F f) noexcept {
    return {f(a.x, b.x, c.x), f(a.y, b.y, c.y), f(a.z, b.z, c.z)};
}
template <typename F>
constexpr vec4 zip(const vec4& a, const vec4& b, const vec4& c, F f) noexcept {
    return {f(a.x, b.x, c.x), f(a.y, b.y, c.y), f(a.z, b.z, c.z), f(a.w, b.w, c.w)};
}

}  // namespace detail

// ---------------------------------------------------------------- arithmetic

// Component-wise, for vec2, vec3 and vec4 (V below), between two vectors or a
// vector and a float on either side. Each component is one IEEE operation, so
// there is no order to choose; products are rounded on their own (detail::mul)
// so that a sum the caller writes around them is not fused. Division divides
// (it does not multiply by a reciprocal); x / 0 is an infinity or NaN. Unary
// minus flips every sign, zeros' and NaNs' included.

template <typename V>
constexpr detail::if_vector<V> operator+(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return p + q; });
}
template <typename V>
constexpr detail::if_vector<V> operator-(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return p - q; });
}
template <typename V>
constexpr detail::if_vector<V> operator*(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return detail::mul(p, q); });
}
template <typename V>
constexpr detail::if_vector<V> operator/(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return p / q; });
}
template <typename V>
constexpr detail::if_vector<V> operator-(const V& a) noexcept {
    return detail::map(a, [](float p) { return -p; });
}

template <typename V>
constexpr detail::if_vector<V> operator+(const V& a, float s) noexcept {
    return a + V(s);
}
template <typename V>
constexpr detail::if_vector<V> operator+(float s, const V& a) noexcept {
    return V(s) + a;
}
template <typename V>
constexpr detail::if_vector<V> operator-(const V& a, float s) noexcept {
    return a - V(s);
}
template <typename V>
constexpr detail::if_vector<V> operator-(float s, const V& a) noexcept {
    return V(s) - a;
}
template <typename V>
constexpr detail::if_vector<V> operator*(const V& a, float s) noexcept {
    return a * V(s);
}
template <typename V>
constexpr detail::if_vector<V> operator*(float s, const V& a) noexcept {
    return V(s) * a;
}
template <typename V>
constexpr detail::if_vector<V> operator/(const V& a, float s) noexcept {
    return a / V(s);
}
template <typename V>
constexpr detail::if_vector<V> operator/(float s, const V& a) noexcept {
    return V(s) / a;
}

template <typename V>
constexpr detail::if_vector<V, V&> operator+=(V& a, const V& b) noexcept {
    return a = a + b;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator-=(V& a, const V& b) noexcept {
    return a = a - b;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator*=(V& a, const V& b) noexcept {
    return a = a * b;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator/=(V& a, const V& b) noexcept {
    return a = a / b;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator+=(V& a, float s) noexcept {
    return a = a + s;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator-=(V& a, float s) noexcept {
    return a = a - s;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator*=(V& a, float s) noexcept {
    return a = a * s;
}
template <typename V>
constexpr detail::if_vector<V, V&> operator/=(V& a, float s) noexcept {
    return a = a / s;
}

// Component-wise IEEE comparison: -0 equals +0 and NaN equals nothing.
constexpr bool operator==(const vec2& a, const vec2& b) noexcept { return a.x == b.x && a.y == b.y; }
constexpr bool operator==(const vec3& a, const vec3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
constexpr bool operator==(const vec4& a, const vec4& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
constexpr bool operator!=(const vec2& a, const vec2& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec3& a, const vec3& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec4& a, const vec4& b) noexcept { return !(a == b); }

}  // namespace ormath

#endif  // ORMATH_CXX17
