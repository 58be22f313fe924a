// Ormath: small, exact single-precision vector math for OpenGL 1.x programs.
//
// Value types vec2, vec3, vec4 and mat4 with the arithmetic that a renderer
// needs, plus the builders translate, rotate and perspective. Matrices are
// column-major and act on column vectors (M * v), the layout glLoadMatrixf
// reads. Angles are in degrees at every interface.
//
// Every result is bit-for-bit the one of the written evaluation order, with
// each product rounded to float before it is added, also when the including
// program is compiled with -ffp-contract=fast or -march=native: see
// detail::mul below.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstddef>
#include <cstring>
#include <type_traits>

namespace ormath {

namespace detail {

// True while the compiler evaluates a constant expression. Constant
// evaluation rounds every operation on its own, so it needs no guard.
constexpr bool constant_evaluated() noexcept {
#if defined(__GNUC__) || defined(__clang__) || defined(_MSC_VER)
    return __builtin_is_constant_evaluated();
#else
    return false;
#endif
}

// Hides a value from the optimiser without costing an instruction. A product
// that passes through here cannot be fused with the addition that follows
// into one multiply-add, which rounds once instead of twice and so changes
// the result's last bits. A per-function "fp-contract=off" attribute would do
// the same but stops the function from being inlined.
inline float opaque(float v) noexcept {
#if defined(__GNUC__) && (defined(__x86_64__) || defined(__SSE_MATH__))
    __asm__("" : "+x"(v));
#elif defined(__GNUC__) && defined(__aarch64__)
    __asm__("" : "+w"(v));
#elif defined(__GNUC__)
    __asm__("" : "+m"(v));
#endif
    return v;
}

// a * b, rounded to float on its own whatever the surrounding expression.
constexpr float mul(float a, float b) noexcept {
    if (constant_evaluated()) {
        return a * b;
    }
    return opaque(a * b);
}

}  // namespace detail

// ---------------------------------------------------------------- vectors

// Each vector is its components and nothing else, so an array of n vec2 or
// vec3 is 2n or 3n consecutive floats: what glVertexPointer and
// glColorPointer read with a stride of 0.

struct vec2 {
    float x, y;

    constexpr vec2() noexcept : x(), y() {}
    constexpr vec2(float x_, float y_) noexcept : x(x_), y(y_) {}

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : y; }
    constexpr const float& operator[](int i) const noexcept { return i == 0 ? x : y; }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

struct vec3 {
    float x, y, z;

    constexpr vec3() noexcept : x(), y(), z() {}
    constexpr vec3(float x_, float y_, float z_) noexcept : x(x_), y(y_), z(z_) {}

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr const float& operator[](int i) const noexcept { return i == 0 ? x : i == 1 ? y : z; }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

struct vec4 {
    float x, y, z, w;

    constexpr vec4() noexcept : x(), y(), z(), w() {}
    constexpr vec4(float x_, float y_, float z_, float w_) noexcept : x(x_), y(y_), z(z_), w(w_) {}
    constexpr vec4(const vec3& v, float w_) noexcept : x(v.x), y(v.y), z(v.z), w(w_) {}

    constexpr float& operator[](int i) noexcept { return i == 0 ? x : i == 1 ? y : i == 2 ? z : w; }
    constexpr const float& operator[](int i) const noexcept {
        return i == 0 ? x : i == 1 ? y : i == 2 ? z : w;
    }
    constexpr float* data() noexcept { return &x; }
    constexpr const float* data() const noexcept { return &x; }
};

// ---------------------------------------------------------------- matrix

// Four vec4 columns: m[c] is column c and m[c][r] the entry in row r of
// column c, float number 4c + r of data(), as glLoadMatrixf expects.
struct mat4 {
    vec4 columns[4];

    // The identity.
    constexpr mat4() noexcept : mat4(1.0f) {}
    // s on the main diagonal, 0 elsewhere: mat4(1) is the identity, mat4(0) all zeros.
    constexpr explicit mat4(float s) noexcept
        : columns{{s, 0, 0, 0}, {0, s, 0, 0}, {0, 0, s, 0}, {0, 0, 0, s}} {}
    constexpr mat4(const vec4& c0, const vec4& c1, const vec4& c2, const vec4& c3) noexcept
        : columns{c0, c1, c2, c3} {}

    constexpr vec4& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec4& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

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
static_assert(detail::packed_floats<mat4>(16), "mat4 must be sixteen packed floats");
static_assert(sizeof(vec2[4]) == 8 * sizeof(float) && sizeof(vec3[4]) == 12 * sizeof(float),
              "arrays of vectors must be tightly packed");

// ---------------------------------------------------------------- arithmetic

constexpr vec3 operator*(float s, const vec3& v) noexcept {
    return {detail::mul(s, v.x), detail::mul(s, v.y), detail::mul(s, v.z)};
}
constexpr vec3 operator*(const vec3& v, float s) noexcept { return s * v; }
constexpr vec4 operator*(float s, const vec4& v) noexcept {
    return {detail::mul(s, v.x), detail::mul(s, v.y), detail::mul(s, v.z), detail::mul(s, v.w)};
}
constexpr vec4 operator*(const vec4& v, float s) noexcept { return s * v; }

constexpr vec3 operator+(const vec3& a, const vec3& b) noexcept { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
constexpr vec4 operator+(const vec4& a, const vec4& b) noexcept {
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}

// Component-wise IEEE comparison: -0 equals +0 and NaN equals nothing.
constexpr bool operator==(const vec2& a, const vec2& b) noexcept { return a.x == b.x && a.y == b.y; }
constexpr bool operator==(const vec3& a, const vec3& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z;
}
constexpr bool operator==(const vec4& a, const vec4& b) noexcept {
    return a.x == b.x && a.y == b.y && a.z == b.z && a.w == b.w;
}
constexpr bool operator==(const mat4& a, const mat4& b) noexcept {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}
constexpr bool operator!=(const vec2& a, const vec2& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec3& a, const vec3& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec4& a, const vec4& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat4& a, const mat4& b) noexcept { return !(a == b); }

namespace detail {

#if (defined(__GNUC__) || defined(__clang__)) && (defined(__x86_64__) || defined(__aarch64__))
// One column of a product in four-wide registers, with the same roundings in
// the same order as the scalar form below: four products, summed left to right.
using simd4 = float __attribute__((vector_size(16)));

inline simd4 opaque(simd4 v) noexcept {
#if defined(__x86_64__)
    __asm__("" : "+x"(v));
#else
    __asm__("" : "+w"(v));
#endif
    return v;
}

#if defined(__AVX__)
template <int lane>
inline simd4 broadcast(simd4 v) noexcept {
#if defined(__clang__)
    return __builtin_shufflevector(v, v, lane, lane, lane, lane);
#else
    using lanes = int __attribute__((vector_size(16)));
    return __builtin_shuffle(v, lanes{lane, lane, lane, lane});
#endif
}
#endif

inline vec4 combine_columns(const mat4& m, const vec4& v) noexcept {
    simd4 c[4];
    std::memcpy(c, m.data(), sizeof c);
#if defined(__AVX__)
    // With AVX, spreading a lane across a register is one cheap instruction:
    // load the column whole once.
    simd4 whole;
    std::memcpy(&whole, v.data(), sizeof whole);
    const simd4 x = broadcast<0>(whole), y = broadcast<1>(whole), z = broadcast<2>(whole),
                w = broadcast<3>(whole);
#else
    // Without it, each scalar is best spread from where it already is: in
    // translate * rotate, a register that rotate has just computed.
    const float x = v.x, y = v.y, z = v.z, w = v.w;
#endif
    const simd4 sum = opaque(c[0] * x) + opaque(c[1] * y) + opaque(c[2] * z) + opaque(c[3] * w);
    vec4 r;
    std::memcpy(r.data(), &sum, sizeof sum);
    return r;
}
#define ORMATH_HAS_SIMD4 1
#endif

// m[0]*v.x + m[1]*v.y + m[2]*v.z + m[3]*v.w, each row summed left to right.
constexpr float combine_row(const mat4& m, const vec4& v, int r) noexcept {
    return ((mul(m[0][r], v.x) + mul(m[1][r], v.y)) + mul(m[2][r], v.z)) + mul(m[3][r], v.w);
}

}  // namespace detail

// M * v: v is a column vector, so the result is the columns of M weighted by
// v's components and added from column 0 to column 3.
constexpr vec4 operator*(const mat4& m, const vec4& v) noexcept {
#ifdef ORMATH_HAS_SIMD4
    if (!detail::constant_evaluated()) {
        return detail::combine_columns(m, v);
    }
#endif
    return {detail::combine_row(m, v, 0), detail::combine_row(m, v, 1), detail::combine_row(m, v, 2),
            detail::combine_row(m, v, 3)};
}

// The matrix product A * B, so that (A * B) * v == A * (B * v): in T * R the
// right-hand factor R acts first. Column c of the result is A * B[c]. Both
// operands are read whole before the result is written, so `a = a * b` is safe.
constexpr mat4 operator*(const mat4& a, const mat4& b) noexcept {
    return {a * b[0], a * b[1], a * b[2], a * b[3]};
}

// x * (1 - a) + y * a per component; a is not clamped, so weights outside
// 0..1 extrapolate. This form gives exactly x at a = 0 and y at a = 1, which
// the shorter x + (y - x) * a does not.
constexpr vec3 mix(const vec3& x, const vec3& y, float a) noexcept {
    const float keep = 1.0f - a;
    return {detail::mul(x.x, keep) + detail::mul(y.x, a), detail::mul(x.y, keep) + detail::mul(y.y, a),
            detail::mul(x.z, keep) + detail::mul(y.z, a)};
}

// ---------------------------------------------------------------- builders

// degrees * (single-precision pi / 180), one float multiplication.
constexpr float radians(float degrees) noexcept { return detail::mul(degrees, 0.017453292f); }

// The matrix of glTranslatef(v.x, v.y, v.z): the identity with column 3 = (v, 1).
constexpr mat4 translate(const vec3& v) noexcept {
    return {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, vec4(v, 1)};
}

// The matrix of glRotatef(angle_degrees, axis) for a unit-length axis (the
// axis is used as given, not normalised). A positive angle turns
// counter-clockwise seen from the axis tip. Every entry is evaluated by its
// formula, so entries that a special axis makes 0 or 1 carry the rounding of
// that formula (for the z axis, m[2][2] is cos + (1 - cos)).
inline mat4 rotate(float angle_degrees, const vec3& axis) noexcept {
    using detail::mul;
    const float a = radians(angle_degrees);
    const float cos_a = std::cos(a);
    const float sin_a = std::sin(a);
    const vec3 t = (1.0f - cos_a) * axis;
    // clang-format off
    return {{cos_a + mul(t.x, axis.x), mul(t.x, axis.y) + mul(sin_a, axis.z), mul(t.x, axis.z) - mul(sin_a, axis.y), 0},
            {mul(t.y, axis.x) - mul(sin_a, axis.z), cos_a + mul(t.y, axis.y), mul(t.y, axis.z) + mul(sin_a, axis.x), 0},
            {mul(t.z, axis.x) + mul(sin_a, axis.y), mul(t.z, axis.y) - mul(sin_a, axis.x), cos_a + mul(t.z, axis.z), 0},
            {0, 0, 0, 1}};
    // clang-format on
}

// The matrix of gluPerspective: a symmetric frustum whose near-plane
// half-height is tan(fovy / 2) * z_near. Points at eye-space z = -z_near and
// -z_far map to normalised depth -1 and +1; clip w is the eye distance.
// Arguments are not checked: fovy in (0, 180), aspect > 0 and z_near != z_far.
inline mat4 perspective(float fovy_degrees, float aspect, float z_near, float z_far) noexcept {
    using detail::mul;
    const float range = mul(std::tan(radians(fovy_degrees / 2.0f)), z_near);
    const float left = mul(-range, aspect);
    const float right = mul(range, aspect);
    const float bottom = -range;
    const float top = range;
    mat4 m(0.0f);
    m[0][0] = (2.0f * z_near) / (right - left);
    m[1][1] = (2.0f * z_near) / (top - bottom);
    m[2][2] = -(z_far + z_near) / (z_far - z_near);
    m[2][3] = -1.0f;
    m[3][2] = -(2.0f * z_far * z_near) / (z_far - z_near);
    return m;
}

}  // namespace ormath
