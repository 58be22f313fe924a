// Ormath's matrices: mat2, mat3 and mat4 of float columns, their
// arithmetic, the products with vectors, transpose, determinant, inverse,
// outerProduct and matrixCompMult.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/detail/lanes.hpp>
#include <ormath/geometric.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <type_traits>

namespace ormath {

// Matrices of column vectors: m[c] is column c and m[c][r] the entry in row r
// of column c, float number N*c + r of data(); for mat4 that is what
// glLoadMatrixf expects. matN() is the identity and matN(s) has s on the main
// diagonal and 0 elsewhere: matN(1) is the identity, matN(0) all zeros.
// From N*N floats, they fill column after column, as GLSL's constructors do.
// From another size (explicit), a matrix keeps the upper-left block of a
// larger one, and puts a smaller one in its upper-left block with the
// identity's entries around it.

struct mat3;
struct mat4;

struct mat2 {
    vec2 columns[2];

    constexpr mat2() noexcept : mat2(1.0f) {}
    constexpr explicit mat2(float s) noexcept : columns{{s, 0}, {0, s}} {}
    constexpr mat2(const vec2& c0, const vec2& c1) noexcept : columns{c0, c1} {}
    constexpr mat2(float m00, float m01, float m10, float m11) noexcept : columns{{m00, m01}, {m10, m11}} {}
    constexpr explicit mat2(const mat3& m) noexcept;
    constexpr explicit mat2(const mat4& m) noexcept;

    constexpr vec2& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec2& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

struct mat3 {
    vec3 columns[3];

    constexpr mat3() noexcept : mat3(1.0f) {}
    constexpr explicit mat3(float s) noexcept : columns{{s, 0, 0}, {0, s, 0}, {0, 0, s}} {}
    constexpr mat3(const vec3& c0, const vec3& c1, const vec3& c2) noexcept : columns{c0, c1, c2} {}
    constexpr mat3(float m00, float m01, float m02, float m10, float m11, float m12, float m20, float m21,
                   float m22) noexcept
        : columns{{m00, m01, m02}, {m10, m11, m12}, {m20, m21, m22}} {}
    constexpr explicit mat3(const mat2& m) noexcept : columns{vec3(m[0], 0), vec3(m[1], 0), {0, 0, 1}} {}
    // The upper-left 3x3 block of m: a transform's rotation and scale without its translation.
    constexpr explicit mat3(const mat4& m) noexcept;

    constexpr vec3& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec3& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

struct mat4 {
    vec4 columns[4];

    // The identity.
    constexpr mat4() noexcept : mat4(1.0f) {}
    // s on the main diagonal, 0 elsewhere: mat4(1) is the identity, mat4(0) all zeros.
    constexpr explicit mat4(float s) noexcept
        : columns{{s, 0, 0, 0}, {0, s, 0, 0}, {0, 0, s, 0}, {0, 0, 0, s}} {}
    constexpr mat4(const vec4& c0, const vec4& c1, const vec4& c2, const vec4& c3) noexcept
        : columns{c0, c1, c2, c3} {}
    constexpr mat4(float m00, float m01, float m02, float m03, float m10, float m11, float m12, float m13,
                   float m20, float m21, float m22, float m23, float m30, float m31, float m32,
                   float m33) noexcept
        : columns{{m00, m01, m02, m03}, {m10, m11, m12, m13}, {m20, m21, m22, m23}, {m30, m31, m32, m33}} {}
    // m in the upper-left 3x3 block, 0 in the rest of row and column 3, and a 1 in the corner.
    constexpr explicit mat4(const mat3& m) noexcept
        : columns{vec4(m[0], 0), vec4(m[1], 0), vec4(m[2], 0), {0, 0, 0, 1}} {}
    constexpr explicit mat4(const mat2& m) noexcept
        : columns{vec4(m[0], 0, 0), vec4(m[1], 0, 0), {0, 0, 1, 0}, {0, 0, 0, 1}} {}

    constexpr vec4& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec4& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

constexpr mat3::mat3(const mat4& m) noexcept : columns{vec3(m[0]), vec3(m[1]), vec3(m[2])} {}
constexpr mat2::mat2(const mat3& m) noexcept : columns{vec2(m[0]), vec2(m[1])} {}
constexpr mat2::mat2(const mat4& m) noexcept : columns{vec2(m[0]), vec2(m[1])} {}

// The layout is the contract with OpenGL; check it where the types are made.
static_assert(detail::packed_floats<mat2>(4), "mat2 must be four packed floats");
static_assert(detail::packed_floats<mat3>(9), "mat3 must be nine packed floats");
static_assert(detail::packed_floats<mat4>(16), "mat4 must be sixteen packed floats");

// Component-wise IEEE comparison, as for vectors.
constexpr bool operator==(const mat2& a, const mat2& b) noexcept { return a[0] == b[0] && a[1] == b[1]; }
constexpr bool operator==(const mat3& a, const mat3& b) noexcept {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
constexpr bool operator==(const mat4& a, const mat4& b) noexcept {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}
constexpr bool operator!=(const mat2& a, const mat2& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat3& a, const mat3& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat4& a, const mat4& b) noexcept { return !(a == b); }

// ---------------------------------------------------------------- arithmetic

namespace detail {

// m[0]*v.x + m[1]*v.y + m[2]*v.z + m[3]*v.w, each row summed left to right.
constexpr float combine_row(const mat4& m, const vec4& v, int r) noexcept {
    return narrow(narrow(narrow(mul(m[0][r], v.x) + mul(m[1][r], v.y)) + mul(m[2][r], v.z)) +
                  mul(m[3][r], v.w));
}

}  // namespace detail

// M * v: v is a column vector, so the result is the columns of M weighted by
// v's components and added from column 0 on: row r is
// ((m[0][r]*v.x + m[1][r]*v.y) + m[2][r]*v.z) + m[3][r]*v.w, each product rounded.
constexpr vec4 operator*(const mat4& m, const vec4& v) noexcept {
#ifdef ORMATH_HAS_SIMD4
    if (!detail::constant_evaluated()) {
        return detail::combine_columns(m.data(), v);
    }
#endif
    return {detail::combine_row(m, v, 0), detail::combine_row(m, v, 1), detail::combine_row(m, v, 2),
            detail::combine_row(m, v, 3)};
}
// Row r is (m[0][r]*v.x + m[1][r]*v.y) + m[2][r]*v.z.
constexpr vec3 operator*(const mat3& m, const vec3& v) noexcept {
    using detail::mul;
    using detail::narrow;
    return {narrow(narrow(mul(m[0].x, v.x) + mul(m[1].x, v.y)) + mul(m[2].x, v.z)),
            narrow(narrow(mul(m[0].y, v.x) + mul(m[1].y, v.y)) + mul(m[2].y, v.z)),
            narrow(narrow(mul(m[0].z, v.x) + mul(m[1].z, v.y)) + mul(m[2].z, v.z))};
}
// Row r is m[0][r]*v.x + m[1][r]*v.y.
constexpr vec2 operator*(const mat2& m, const vec2& v) noexcept {
    using detail::mul;
    using detail::narrow;
    return {narrow(mul(m[0].x, v.x) + mul(m[1].x, v.y)), narrow(mul(m[0].y, v.x) + mul(m[1].y, v.y))};
}

// The matrix product A * B, so that (A * B) * v == A * (B * v): in T * R the
// right-hand factor R acts first. Column c of the result is A * B[c], in the
// order of matrix times vector above. Both operands are read whole before the
// result is written, so `a = a * b` is safe.
constexpr mat4 operator*(const mat4& a, const mat4& b) noexcept {
    return {a * b[0], a * b[1], a * b[2], a * b[3]};
}
constexpr mat3 operator*(const mat3& a, const mat3& b) noexcept {
#ifdef ORMATH_HAS_SIMD4
    if (!detail::constant_evaluated()) {
        mat3 result;
        detail::product_in_lanes(a.data(), b.data(), result.data());
        return result;
    }
#endif
    return {a * b[0], a * b[1], a * b[2]};
}
constexpr mat2 operator*(const mat2& a, const mat2& b) noexcept { return {a * b[0], a * b[1]}; }

// Entry by entry: sums, differences and products with a float.
constexpr mat2 operator+(const mat2& a, const mat2& b) noexcept { return {a[0] + b[0], a[1] + b[1]}; }
constexpr mat3 operator+(const mat3& a, const mat3& b) noexcept {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2]};
}
constexpr mat4 operator+(const mat4& a, const mat4& b) noexcept {
    return {a[0] + b[0], a[1] + b[1], a[2] + b[2], a[3] + b[3]};
}
constexpr mat2 operator-(const mat2& a, const mat2& b) noexcept { return {a[0] - b[0], a[1] - b[1]}; }
constexpr mat3 operator-(const mat3& a, const mat3& b) noexcept {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2]};
}
constexpr mat4 operator-(const mat4& a, const mat4& b) noexcept {
    return {a[0] - b[0], a[1] - b[1], a[2] - b[2], a[3] - b[3]};
}
constexpr mat2 operator*(float s, const mat2& m) noexcept { return {s * m[0], s * m[1]}; }
constexpr mat3 operator*(float s, const mat3& m) noexcept { return {s * m[0], s * m[1], s * m[2]}; }
constexpr mat4 operator*(float s, const mat4& m) noexcept { return {s * m[0], s * m[1], s * m[2], s * m[3]}; }
constexpr mat2 operator*(const mat2& m, float s) noexcept { return s * m; }
constexpr mat3 operator*(const mat3& m, float s) noexcept { return s * m; }
constexpr mat4 operator*(const mat4& m, float s) noexcept { return s * m; }

namespace detail {
template <typename M>
struct is_matrix : std::false_type {};
template <>
struct is_matrix<mat2> : std::true_type {};
template <>
struct is_matrix<mat3> : std::true_type {};
template <>
struct is_matrix<mat4> : std::true_type {};
template <typename M, typename R = M>
using if_matrix = std::enable_if_t<is_matrix<M>::value, R>;

// f applied to each column, or to each pair of columns.
template <typename F>
constexpr mat2 columns(const mat2& a, F f) noexcept {
    return {f(a[0]), f(a[1])};
}
template <typename F>
constexpr mat3 columns(const mat3& a, F f) noexcept {
    return {f(a[0]), f(a[1]), f(a[2])};
}
template <typename F>
constexpr mat4 columns(const mat4& a, F f) noexcept {
    return {f(a[0]), f(a[1]), f(a[2]), f(a[3])};
}
template <typename F>
constexpr mat2 columns(const mat2& a, const mat2& b, F f) noexcept {
    return {f(a[0], b[0]), f(a[1], b[1])};
}
template <typename F>
constexpr mat3 columns(const mat3& a, const mat3& b, F f) noexcept {
    return {f(a[0], b[0]), f(a[1], b[1]), f(a[2], b[2])};
}
template <typename F>
constexpr mat4 columns(const mat4& a, const mat4& b, F f) noexcept {
    return {f(a[0], b[0]), f(a[1], b[1]), f(a[2], b[2]), f(a[3], b[3])};
}
}  // namespace detail

// Entry by entry, for mat2, mat3 and mat4 (M): a float added to or
// subtracted from every entry, every entry divided by a float, m / m entry by
// entry (unlike m * m, as in GLSL), and unary minus, which flips every sign.
// One IEEE operation per entry, so there is no order to choose; a division
// divides (it does not multiply by a reciprocal).
template <typename M>
constexpr detail::if_matrix<M> operator+(const M& m, float s) noexcept {
    return detail::columns(m, [s](const auto& c) { return c + s; });
}
template <typename M>
constexpr detail::if_matrix<M> operator-(const M& m, float s) noexcept {
    return detail::columns(m, [s](const auto& c) { return c - s; });
}
template <typename M>
constexpr detail::if_matrix<M> operator/(const M& m, float s) noexcept {
    return detail::columns(m, [s](const auto& c) { return c / s; });
}
template <typename M>
constexpr detail::if_matrix<M> operator/(const M& a, const M& b) noexcept {
    return detail::columns(a, b, [](const auto& c, const auto& d) { return c / d; });
}
template <typename M>
constexpr detail::if_matrix<M> operator-(const M& m) noexcept {
    return detail::columns(m, [](const auto& c) { return -c; });
}

// v * M: v is a row vector, so entry c of the result is dot(v, m[c]), in
// dot's order (products rounded, summed from x on). v * m == transpose(m) * v.
constexpr vec2 operator*(const vec2& v, const mat2& m) noexcept {
    return {ormath::dot(v, m[0]), ormath::dot(v, m[1])};
}
constexpr vec3 operator*(const vec3& v, const mat3& m) noexcept {
    return {ormath::dot(v, m[0]), ormath::dot(v, m[1]), ormath::dot(v, m[2])};
}
constexpr vec4 operator*(const vec4& v, const mat4& m) noexcept {
    return {ormath::dot(v, m[0]), ormath::dot(v, m[1]), ormath::dot(v, m[2]), ormath::dot(v, m[3])};
}

// The compound forms: a op= b is a = a op b, so a *= b is the matrix
// product (b acts first, then the old a) while a /= b divides entry by entry.
template <typename M>
constexpr detail::if_matrix<M, M&> operator+=(M& a, const M& b) noexcept {
    return a = a + b;
}
template <typename M>
constexpr detail::if_matrix<M, M&> operator-=(M& a, const M& b) noexcept {
    return a = a - b;
}
template <typename M>
constexpr detail::if_matrix<M, M&> operator/=(M& a, const M& b) noexcept {
    return a = a / b;
}
template <typename M>
constexpr detail::if_matrix<M, M&> operator+=(M& a, float s) noexcept {
    return a = a + s;
}
template <typename M>
constexpr detail::if_matrix<M, M&> operator-=(M& a, float s) noexcept {
    return a = a - s;
}
template <typename M>
constexpr detail::if_matrix<M, M&> operator/=(M& a, float s) noexcept {
    return a = a / s;
}
constexpr mat2& operator*=(mat2& a, const mat2& b) noexcept { return a = a * b; }
constexpr mat3& operator*=(mat3& a, const mat3& b) noexcept { return a = a * b; }
constexpr mat4& operator*=(mat4& a, const mat4& b) noexcept { return a = a * b; }
constexpr mat2& operator*=(mat2& a, float s) noexcept { return a = a * s; }
constexpr mat3& operator*=(mat3& a, float s) noexcept { return a = a * s; }
constexpr mat4& operator*=(mat4& a, float s) noexcept { return a = a * s; }

// ---------------------------------------------------------------- functions

// outerProduct(c, r): c as a column times r as a row, so column j is c * r[j];
// matrixCompMult(a, b): the entries' products. One rounded product per entry.
constexpr mat2 outerProduct(const vec2& c, const vec2& r) noexcept { return {c * r.x, c * r.y}; }
constexpr mat3 outerProduct(const vec3& c, const vec3& r) noexcept { return {c * r.x, c * r.y, c * r.z}; }
constexpr mat4 outerProduct(const vec4& c, const vec4& r) noexcept {
    return {c * r.x, c * r.y, c * r.z, c * r.w};
}
template <typename M>
constexpr detail::if_matrix<M> matrixCompMult(const M& a, const M& b) noexcept {
    return detail::columns(a, b, [](const auto& c, const auto& d) { return c * d; });
}

// Rows become columns. Exact.
constexpr mat2 transpose(const mat2& m) noexcept { return {{m[0].x, m[1].x}, {m[0].y, m[1].y}}; }
constexpr mat3 transpose(const mat3& m) noexcept {
    return {{m[0].x, m[1].x, m[2].x}, {m[0].y, m[1].y, m[2].y}, {m[0].z, m[1].z, m[2].z}};
}
constexpr mat4 transpose(const mat4& m) noexcept {
    return {{m[0].x, m[1].x, m[2].x, m[3].x},
            {m[0].y, m[1].y, m[2].y, m[3].y},
            {m[0].z, m[1].z, m[2].z, m[3].z},
            {m[0].w, m[1].w, m[2].w, m[3].w}};
}

// The inverses below are the adjugate (the transposed cofactors, formed as
// stated at each size) multiplied entry by entry by the reciprocal of the
// determinant: one division, then one rounded product per entry. A singular
// matrix (determinant 0) gives an infinite reciprocal and so infinities, and
// NaN where a cofactor is 0; nothing traps. Inverses of matrices whose
// entries and determinant are small powers of two, or of rotations by whole
// quarter turns with integer translations, are exact.

// m[0][0] * m[1][1] - m[1][0] * m[0][1], each product rounded.
constexpr float determinant(const mat2& m) noexcept {
    return detail::narrow(detail::mul(m[0].x, m[1].y) - detail::mul(m[1].x, m[0].y));
}
// The adjugate is ((m[1][1], -m[0][1]), (-m[1][0], m[0][0])) by columns.
constexpr mat2 inverse(const mat2& m) noexcept {
    const float r = detail::narrow(1.0f / ormath::determinant(m));
    return {vec2(m[1].y, -m[0].y) * r, vec2(-m[1].x, m[0].x) * r};
}

// dot(m[0], cross(m[1], m[2])), in the orders of dot and cross.
constexpr float determinant(const mat3& m) noexcept { return ormath::dot(m[0], ormath::cross(m[1], m[2])); }
// The adjugate's rows are cross(m[1], m[2]), cross(m[2], m[0]) and
// cross(m[0], m[1]); the determinant is dot(m[0], row 0) as above.
constexpr mat3 inverse(const mat3& m) noexcept {
    const vec3 row0 = ormath::cross(m[1], m[2]);
    const vec3 row1 = ormath::cross(m[2], m[0]);
    const vec3 row2 = ormath::cross(m[0], m[1]);
    const float r = detail::narrow(1.0f / ormath::dot(m[0], row0));
    return ormath::transpose(mat3(row0 * r, row1 * r, row2 * r));
}

namespace detail {
// The 2x2 minors of a mat4 as four vec3. With a, b, c, d the upper three
// entries of columns 0..3 and x, y, z, w their entries in row 3:
// s = cross(a, b), t = cross(c, d), u = a * y - b * x, v = c * w - d * z
// (each product rounded before the subtraction).
struct minors4 {
    vec3 a, b, c, d;
    float x, y, z, w;
    vec3 s, t, u, v;
};
constexpr minors4 minors(const mat4& m) noexcept {
    const vec3 a(m[0]), b(m[1]), c(m[2]), d(m[3]);
    const float x = m[0].w, y = m[1].w, z = m[2].w, w = m[3].w;
    return {a, b, c, d, x, y, z, w, ormath::cross(a, b), ormath::cross(c, d), a * y - b * x, c * w - d * z};
}
}  // namespace detail

// dot(s, v) + dot(t, u), with s, t, u, v the minors of detail::minors above.
constexpr float determinant(const mat4& m) noexcept {
    const detail::minors4 k = detail::minors(m);
    return detail::narrow(ormath::dot(k.s, k.v) + ormath::dot(k.t, k.u));
}
// The adjugate's rows, from the minors (a sum of a cross product and a
// rounded product, in that order, then the dot product in row 3):
//   row 0: cross(b, v) + t * y,  -dot(b, t)
//   row 1: cross(v, a) - t * x,   dot(a, t)
//   row 2: cross(d, u) + s * w,  -dot(d, s)
//   row 3: cross(u, c) - s * z,   dot(c, s)
// and the determinant as determinant() forms it.
constexpr mat4 inverse(const mat4& m) noexcept {
#ifdef ORMATH_HAS_SIMD4
    if (!detail::constant_evaluated()) {
        mat4 result;
        detail::inverse_in_lanes(m.data(), result.data());
        return result;
    }
#endif
    const detail::minors4 k = detail::minors(m);
    const float r = detail::narrow(1.0f / detail::narrow(ormath::dot(k.s, k.v) + ormath::dot(k.t, k.u)));
    const vec4 row0(ormath::cross(k.b, k.v) + k.t * k.y, -ormath::dot(k.b, k.t));
    const vec4 row1(ormath::cross(k.v, k.a) - k.t * k.x, ormath::dot(k.a, k.t));
    const vec4 row2(ormath::cross(k.d, k.u) + k.s * k.w, -ormath::dot(k.d, k.s));
    const vec4 row3(ormath::cross(k.u, k.c) - k.s * k.z, ormath::dot(k.c, k.s));
    return ormath::transpose(mat4(row0 * r, row1 * r, row2 * r, row3 * r));
}

}  // namespace ormath

#endif  // ORMATH_CXX17
