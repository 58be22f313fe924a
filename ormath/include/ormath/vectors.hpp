// Ormath's vectors: vec2, vec3 and vec4 of float, their component-wise
// arithmetic and comparison, and swizzles for every vector type.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/rounding.hpp>

#include <cstddef>
#include <type_traits>
#include <utility>

namespace ormath {

// Each vector is its components and nothing else, so an array of n vec2 or
// vec3 is 2n or 3n consecutive floats: what glVertexPointer and
// glColorPointer read with a stride of 0. The one-argument constructors are
// explicit, so a float or a longer vector never turns into a vector unasked.
// xy() and xyz() are the leading components, as GLSL's v.xy and v.xyz.

struct vec3;
struct vec4;

struct vec2 {
    float x, y;

    constexpr vec2() noexcept : x(), y() {}
    constexpr vec2(float x_, float y_) noexcept : x(x_), y(y_) {}
    constexpr explicit vec2(float s) noexcept : x(s), y(s) {}
    // The leading components of a longer vector.
    constexpr explicit vec2(const vec3& v) noexcept;
    constexpr explicit vec2(const vec4& v) noexcept;

    constexpr vec2 xy() const noexcept { return *this; }

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
    constexpr vec3(float x_, const vec2& v) noexcept : x(x_), y(v.x), z(v.y) {}
    constexpr explicit vec3(const vec4& v) noexcept;

    constexpr vec2 xy() const noexcept { return {x, y}; }
    constexpr vec3 xyz() const noexcept { return *this; }

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
    constexpr vec4(const vec2& a, const vec2& b) noexcept : x(a.x), y(a.y), z(b.x), w(b.y) {}
    constexpr vec4(float x_, const vec3& v) noexcept : x(x_), y(v.x), z(v.y), w(v.z) {}

    constexpr vec2 xy() const noexcept { return {x, y}; }
    constexpr vec3 xyz() const noexcept { return {x, y, z}; }

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    constexpr const float& operator[](int i) const noexcept {
        return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
    }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

constexpr vec2::vec2(const vec3& v) noexcept : x(v.x), y(v.y) {}
constexpr vec2::vec2(const vec4& v) noexcept : x(v.x), y(v.y) {}
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

// The vector of N components of type T: vec2..vec4 for float, and the
// integer and boolean vectors of integer.hpp.
template <typename T, int N>
struct vector_of;
template <>
struct vector_of<float, 2> {
    using type = vec2;
};
template <>
struct vector_of<float, 3> {
    using type = vec3;
};
template <>
struct vector_of<float, 4> {
    using type = vec4;
};

// A vector type's component type and number of components.
template <typename V>
using component_t = std::decay_t<decltype(std::declval<const V&>()[0])>;
template <typename V>
constexpr int size_of = static_cast<int>(sizeof(V) / sizeof(component_t<V>));

// f applied to the components of index I of the vectors v...
template <int I, typename F, typename... V>
constexpr auto at(F f, const V&... v) noexcept {
    return f(v[I]...);
}
template <typename F, int... I, typename V0, typename... V>
constexpr auto each_index(std::integer_sequence<int, I...>, F f, const V0& v0, const V&... v) noexcept {
    using R = typename vector_of<decltype(f(v0[0], v[0]...)), sizeof...(I)>::type;
    return R{at<I>(f, v0, v...)...};
}
// f applied to each component, or to each pair or triple of components, of
// vectors of any type and of one size; the result is the vector of what f
// returns (a bvec from a comparison, an ivec from a vec's exponents).
template <typename F, typename V0, typename... V>
constexpr auto each(F f, const V0& v0, const V&... v) noexcept {
    return detail::each_index(std::make_integer_sequence<int, size_of<V0>>(), f, v0, v...);
}

}  // namespace detail

// ---------------------------------------------------------------- swizzles

// GLSL's swizzles, reading only: swizzle<2, 1, 0>(v) is v.zyx, and
// swizzle<0, 0, 1, 1>(v) is v.xxyy. Two to four indices, in any order and with
// repeats, from a vector of any type; the result has v's component type.
template <int... I, typename V>
constexpr typename detail::vector_of<detail::component_t<V>, sizeof...(I)>::type swizzle(
    const V& v) noexcept {
    static_assert(sizeof...(I) >= 2 && sizeof...(I) <= 4, "a swizzle takes two to four indices");
    // clang-format off
    static_assert(((I >= 0 && I < detail::size_of<V>) && ...), "a swizzle index is beyond the vector");
    // clang-format on
    return {v[I]...};
}

// ---------------------------------------------------------------- arithmetic

// Component-wise, for vec2, vec3 and vec4 (V below), between two vectors or a
// vector and a float on either side. Each component is one IEEE operation, so
// there is no order to choose; each is rounded to float on its own
// (detail::mul and the like), so that a sum the caller writes around a
// product is not fused and no component is kept wider. Division divides
// (it does not multiply by a reciprocal); x / 0 is an infinity or NaN. Unary
// minus flips every sign, zeros' and NaNs' included.

template <typename V>
constexpr detail::if_vector<V> operator+(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return detail::narrow(p + q); });
}
template <typename V>
constexpr detail::if_vector<V> operator-(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return detail::narrow(p - q); });
}
template <typename V>
constexpr detail::if_vector<V> operator*(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return detail::mul(p, q); });
}
template <typename V>
constexpr detail::if_vector<V> operator/(const V& a, const V& b) noexcept {
    return detail::zip(a, b, [](float p, float q) { return detail::narrow(p / q); });
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
