// Ormath: small, exact single-precision vector math for OpenGL programs.
//
// Value types vec2, vec3, vec4, mat2, mat3 and mat4; component-wise
// arithmetic; GLSL's common and geometric functions with GLSL's names,
// overload sets and argument orders; transpose, determinant and inverse; and
// the matrices of the OpenGL and GLU calls translate, rotate, scale, frustum,
// ortho, perspective and look_at, with the mappings project and unproject.
// Matrices are column-major and act on column vectors (M * v), the layout
// glLoadMatrixf reads. Angles are in degrees at every builder's interface
// (radians() and degrees() convert).
//
// The contract. Each function below states its evaluation order wherever more
// than one is possible, and its result is bit-for-bit that order's in IEEE
// single precision, rounding to nearest: in any consumer's build, at -O0 or
// at -O3 -march=native -ffp-contract=fast, with gcc or clang, on x86-64 or
// AArch64, with no compile option needed. Every product that feeds an
// addition or subtraction is rounded to float on its own (see detail::mul),
// so no multiply-add is ever fused; sums run left to right as written.
// std::sqrt is correctly rounded, so length, distance, normalize, refract and
// look_at give the same bits everywhere. Only rotate and perspective call
// std::sin, std::cos or std::tan, whose last bit belongs to the C library.
//
// Undefined input is defined here: infinities and NaN pass through as IEEE
// arithmetic makes them, and every degenerate case (a zero vector to
// normalize, a singular matrix to invert, a camera looking nowhere, a
// frustum with equal planes) gives the IEEE result of the function's written
// formula, never a trap. The header says so at each function. Where a result
// is a NaN, its sign and payload are not part of the contract.
//
// Call these functions qualified (ormath::abs, ormath::floor): C's global
// abs, floor and friends make an unqualified call ambiguous under
// `using namespace ormath`.
//
// SPDX-License-Identifier: MIT
#pragma once

#if defined(__FAST_MATH__)
// -ffast-math lets the compiler reorder, fuse and drop the operations whose
// order and rounding are Ormath's results.
#error "Ormath needs IEEE arithmetic in its written order; -ffast-math (__FAST_MATH__) breaks it"
#endif

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

// ---------------------------------------------------------------- matrices

// Matrices of column vectors: m[c] is column c and m[c][r] the entry in row r
// of column c, float number N*c + r of data(); for mat4 that is what
// glLoadMatrixf expects. matN() is the identity and matN(s) has s on the main
// diagonal and 0 elsewhere: matN(1) is the identity, matN(0) all zeros.

struct mat2 {
    vec2 columns[2];

    constexpr mat2() noexcept : mat2(1.0f) {}
    constexpr explicit mat2(float s) noexcept : columns{{s, 0}, {0, s}} {}
    constexpr mat2(const vec2& c0, const vec2& c1) noexcept : columns{c0, c1} {}

    constexpr vec2& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec2& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

struct mat4;

struct mat3 {
    vec3 columns[3];

    constexpr mat3() noexcept : mat3(1.0f) {}
    constexpr explicit mat3(float s) noexcept : columns{{s, 0, 0}, {0, s, 0}, {0, 0, s}} {}
    constexpr mat3(const vec3& c0, const vec3& c1, const vec3& c2) noexcept : columns{c0, c1, c2} {}
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
    // m in the upper-left 3x3 block, 0 in the rest of row and column 3, and a 1 in the corner.
    constexpr explicit mat4(const mat3& m) noexcept
        : columns{vec4(m[0], 0), vec4(m[1], 0), vec4(m[2], 0), {0, 0, 0, 1}} {}

    constexpr vec4& operator[](int c) noexcept { return columns[c]; }
    constexpr const vec4& operator[](int c) const noexcept { return columns[c]; }
    constexpr float* data() noexcept { return &columns[0].x; }
    constexpr const float* data() const noexcept { return &columns[0].x; }
};

constexpr mat3::mat3(const mat4& m) noexcept : columns{vec3(m[0]), vec3(m[1]), vec3(m[2])} {}

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
static_assert(detail::packed_floats<mat2>(4), "mat2 must be four packed floats");
static_assert(detail::packed_floats<mat3>(9), "mat3 must be nine packed floats");
static_assert(detail::packed_floats<mat4>(16), "mat4 must be sixteen packed floats");
static_assert(sizeof(vec2[4]) == 8 * sizeof(float) && sizeof(vec3[4]) == 12 * sizeof(float),
              "arrays of vectors must be tightly packed");

// ---------------------------------------------------------------- component-wise helpers

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

// ---------------------------------------------------------------- vector arithmetic

// Component-wise, for vec2, vec3 and vec4 (V below), between two vectors or a
// vector and a float on either side. Each component is one IEEE operation, so
// there is no order to choose; products are rounded on their own (detail::mul)
// so that a sum the caller writes around them is not fused. Division divides
// (it does not multiply by a reciprocal); x / 0 is an infinity or NaN. Unary
// minus flips every sign, zeros' and NaNs' included.

// vec3 and vec4 keep the overloads that the demos were built with; the
// templates below give the same bits for every vector type.
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
constexpr bool operator==(const mat2& a, const mat2& b) noexcept { return a[0] == b[0] && a[1] == b[1]; }
constexpr bool operator==(const mat3& a, const mat3& b) noexcept {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2];
}
constexpr bool operator==(const mat4& a, const mat4& b) noexcept {
    return a[0] == b[0] && a[1] == b[1] && a[2] == b[2] && a[3] == b[3];
}
constexpr bool operator!=(const vec2& a, const vec2& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec3& a, const vec3& b) noexcept { return !(a == b); }
constexpr bool operator!=(const vec4& a, const vec4& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat2& a, const mat2& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat3& a, const mat3& b) noexcept { return !(a == b); }
constexpr bool operator!=(const mat4& a, const mat4& b) noexcept { return !(a == b); }

// ---------------------------------------------------------------- matrix arithmetic

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
// Lanes i0..i3 of a, b taken together (b's lanes are 4..7).
template <int i0, int i1, int i2, int i3>
inline simd4 pick(simd4 a, simd4 b) noexcept {
#if defined(__clang__)
    return __builtin_shufflevector(a, b, i0, i1, i2, i3);
#else
    using lanes = int __attribute__((vector_size(16)));
    return __builtin_shuffle(a, b, lanes{i0, i1, i2, i3});
#endif
}
template <int i0, int i1, int i2, int i3>
inline simd4 pick(simd4 a) noexcept {
    return pick<i0, i1, i2, i3>(a, a);
}

// A * B for mat3 with A's columns held in registers: column c of the result
// is A * B[c] as matrix times vector forms it, three lanes at a time.
// The nine floats are read four at a time, never past their end: columns 0
// and 1 from floats 0 and 3 (lane 3 is the next column's), column 2 from
// float 5, moved down a lane. They are written as floats 0..3, 4..7 and 8,
// never overlapping, so that a reader of the result finds each float in one
// store (a load that spans two stores waits for both).
inline mat3 product_in_lanes(const mat3& a, const mat3& b) noexcept {
    simd4 column0, column1, column2;
    std::memcpy(&column0, a.data(), sizeof column0);
    std::memcpy(&column1, a.data() + 3, sizeof column1);
    std::memcpy(&column2, a.data() + 5, sizeof column2);
    column2 = pick<1, 2, 3, 3>(column2);
    const auto times = [&](const vec3& v) {
        return (opaque(column0 * v.x) + opaque(column1 * v.y)) + opaque(column2 * v.z);
    };
    const simd4 first = times(b[0]), second = times(b[1]), third = times(b[2]);
    const simd4 low = pick<0, 1, 2, 4>(first, second), high = pick<1, 2, 4, 5>(second, third);
    mat3 result;
#if defined(__AVX__) && (defined(__clang__) || __GNUC__ >= 12)
    // One store for both: a reader that loads 32 bytes at once (AVX code
    // does) then finds them in one store rather than waiting for two.
    using simd8 = float __attribute__((vector_size(32)));
    const simd8 both = __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7);
    std::memcpy(result.data(), &both, sizeof both);
#else
    std::memcpy(result.data(), &low, sizeof low);
    std::memcpy(result.data() + 4, &high, sizeof high);
#endif
    result[2].z = third[2];
    return result;
}
#define ORMATH_HAS_SIMD4 1
#endif

// m[0]*v.x + m[1]*v.y + m[2]*v.z + m[3]*v.w, each row summed left to right.
constexpr float combine_row(const mat4& m, const vec4& v, int r) noexcept {
    return ((mul(m[0][r], v.x) + mul(m[1][r], v.y)) + mul(m[2][r], v.z)) + mul(m[3][r], v.w);
}

}  // namespace detail

// M * v: v is a column vector, so the result is the columns of M weighted by
// v's components and added from column 0 on: row r is
// ((m[0][r]*v.x + m[1][r]*v.y) + m[2][r]*v.z) + m[3][r]*v.w, each product rounded.
constexpr vec4 operator*(const mat4& m, const vec4& v) noexcept {
#ifdef ORMATH_HAS_SIMD4
    if (!detail::constant_evaluated()) {
        return detail::combine_columns(m, v);
    }
#endif
    return {detail::combine_row(m, v, 0), detail::combine_row(m, v, 1), detail::combine_row(m, v, 2),
            detail::combine_row(m, v, 3)};
}
// Row r is (m[0][r]*v.x + m[1][r]*v.y) + m[2][r]*v.z.
constexpr vec3 operator*(const mat3& m, const vec3& v) noexcept {
    using detail::mul;
    return {(mul(m[0].x, v.x) + mul(m[1].x, v.y)) + mul(m[2].x, v.z),
            (mul(m[0].y, v.x) + mul(m[1].y, v.y)) + mul(m[2].y, v.z),
            (mul(m[0].z, v.x) + mul(m[1].z, v.y)) + mul(m[2].z, v.z)};
}
// Row r is m[0][r]*v.x + m[1][r]*v.y.
constexpr vec2 operator*(const mat2& m, const vec2& v) noexcept {
    using detail::mul;
    return {mul(m[0].x, v.x) + mul(m[1].x, v.y), mul(m[0].y, v.x) + mul(m[1].y, v.y)};
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
        return detail::product_in_lanes(a, b);
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

// a = a * b: b acts first, then the old a.
constexpr mat2& operator*=(mat2& a, const mat2& b) noexcept { return a = a * b; }
constexpr mat3& operator*=(mat3& a, const mat3& b) noexcept { return a = a * b; }
constexpr mat4& operator*=(mat4& a, const mat4& b) noexcept { return a = a * b; }
constexpr mat2& operator*=(mat2& a, float s) noexcept { return a = a * s; }
constexpr mat3& operator*=(mat3& a, float s) noexcept { return a = a * s; }
constexpr mat4& operator*=(mat4& a, float s) noexcept { return a = a * s; }

// ---------------------------------------------------------------- common functions

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

// The demos' blend, kept as it was written for them: per component
// x * (1 - a) + y * a, with 1 - a formed once.
constexpr vec3 mix(const vec3& x, const vec3& y, float a) noexcept {
    const float keep = 1.0f - a;
    return {detail::mul(x.x, keep) + detail::mul(y.x, a), detail::mul(x.y, keep) + detail::mul(y.y, a),
            detail::mul(x.z, keep) + detail::mul(y.z, a)};
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

// ---------------------------------------------------------------- geometric functions

// Products rounded one by one and summed from x on: ((x*x' + y*y') + z*z') + w*w'.
constexpr float dot(float a, float b) noexcept { return detail::mul(a, b); }
constexpr float dot(const vec2& a, const vec2& b) noexcept {
    return detail::mul(a.x, b.x) + detail::mul(a.y, b.y);
}
constexpr float dot(const vec3& a, const vec3& b) noexcept {
    using detail::mul;
    return (mul(a.x, b.x) + mul(a.y, b.y)) + mul(a.z, b.z);
}
constexpr float dot(const vec4& a, const vec4& b) noexcept {
    using detail::mul;
    return ((mul(a.x, b.x) + mul(a.y, b.y)) + mul(a.z, b.z)) + mul(a.w, b.w);
}

// (a.y*b.z - a.z*b.y, a.z*b.x - a.x*b.z, a.x*b.y - a.y*b.x), each product rounded.
constexpr vec3 cross(const vec3& a, const vec3& b) noexcept {
    using detail::mul;
    return {mul(a.y, b.z) - mul(a.z, b.y), mul(a.z, b.x) - mul(a.x, b.z), mul(a.x, b.y) - mul(a.y, b.x)};
}

// std::sqrt(dot(x, x)), unscaled: a vector with a component beyond about
// 1.8e19 has an infinite length, one whose components are all below about
// 1e-23 a length of 0. For a float, |x| (which sqrt(x * x) is whenever the
// square neither overflows nor underflows).
constexpr float length(float x) noexcept { return ormath::abs(x); }
template <typename V>
inline detail::if_vector<V, float> length(const V& x) noexcept {
    return std::sqrt(ormath::dot(x, x));
}

// length(a - b).
constexpr float distance(float a, float b) noexcept { return ormath::length(a - b); }
template <typename V>
inline detail::if_vector<V, float> distance(const V& a, const V& b) noexcept {
    return ormath::length(a - b);
}

// x / length(x): each component divided by the length (not multiplied by its
// reciprocal). A zero vector gives NaN in every component (0 / 0); an
// infinite component gives NaN there and 0 in the finite ones; for a float,
// x / |x| is 1 or -1, NaN at 0 and at an infinity.
constexpr float normalize(float x) noexcept { return x / ormath::length(x); }
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
constexpr float reflect(float i, float n) noexcept { return i - detail::mul(2.0f * ormath::dot(n, i), n); }
template <typename V>
constexpr detail::if_vector<V> reflect(const V& i, const V& n) noexcept {
    return i - (2.0f * ormath::dot(n, i)) * n;
}

// With d = dot(n, i) and k = 1 - (eta * eta) * (1 - d * d), each product
// rounded: 0 (all components +0) if k < 0, total internal reflection; else
// eta * i - (eta * d + sqrt(k)) * n, with eta * i and the bracket's product
// with n rounded per component before the subtraction. A NaN k gives NaN.
// i and n should be of unit length.
inline float refract(float i, float n, float eta) noexcept {
    using detail::mul;
    const float d = ormath::dot(n, i);
    const float k = 1.0f - mul(mul(eta, eta), 1.0f - mul(d, d));
    if (k < 0.0f) {
        return 0.0f;
    }
    return mul(eta, i) - mul(mul(eta, d) + std::sqrt(k), n);
}
template <typename V>
inline detail::if_vector<V> refract(const V& i, const V& n, float eta) noexcept {
    using detail::mul;
    const float d = ormath::dot(n, i);
    const float k = 1.0f - mul(mul(eta, eta), 1.0f - mul(d, d));
    if (k < 0.0f) {
        return V(0.0f);
    }
    return eta * i - (mul(eta, d) + std::sqrt(k)) * n;
}

// ---------------------------------------------------------------- matrix functions

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
    return detail::mul(m[0].x, m[1].y) - detail::mul(m[1].x, m[0].y);
}
// The adjugate is ((m[1][1], -m[0][1]), (-m[1][0], m[0][0])) by columns.
constexpr mat2 inverse(const mat2& m) noexcept {
    const float r = 1.0f / ormath::determinant(m);
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
    const float r = 1.0f / ormath::dot(m[0], row0);
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

#ifdef ORMATH_HAS_SIMD4
namespace detail {

// cross(p, q) in lanes 0..2: p.yzx * q.zxy - p.zxy * q.yzx, the products of
// cross() in its order. Lane 3 is not used.
inline simd4 cross_in_lanes(simd4 p, simd4 q) noexcept {
    return opaque(pick<1, 2, 0, 3>(p) * pick<2, 0, 1, 3>(q)) -
           opaque(pick<2, 0, 1, 3>(p) * pick<1, 2, 0, 3>(q));
}

// Lanes 0..2 of four registers as three: (p[k], q[k], r[k], s[k]) for k = 0, 1, 2.
struct three_lanes {
    simd4 x, y, z;
};
inline three_lanes transpose_lanes(simd4 p, simd4 q, simd4 r, simd4 s) noexcept {
    const simd4 low_pq = pick<0, 4, 1, 5>(p, q), low_rs = pick<0, 4, 1, 5>(r, s);
    const simd4 high_pq = pick<2, 6, 3, 7>(p, q), high_rs = pick<2, 6, 3, 7>(r, s);
    return {pick<0, 1, 4, 5>(low_pq, low_rs), pick<2, 3, 6, 7>(low_pq, low_rs),
            pick<0, 1, 4, 5>(high_pq, high_rs)};
}

// inverse(mat4) below, four entries at a time: each entry is formed by the
// same operations on the same operands in the same order, so the bits are
// those of the scalar form.
inline mat4 inverse_in_lanes(const mat4& m) noexcept {
    simd4 a, b, c, d;  // the columns, with x, y, z, w in lane 3
    std::memcpy(&a, m[0].data(), sizeof a);
    std::memcpy(&b, m[1].data(), sizeof b);
    std::memcpy(&c, m[2].data(), sizeof c);
    std::memcpy(&d, m[3].data(), sizeof d);
    const simd4 x = pick<3, 3, 3, 3>(a), y = pick<3, 3, 3, 3>(b), z = pick<3, 3, 3, 3>(c),
                w = pick<3, 3, 3, 3>(d);
    const simd4 s = cross_in_lanes(a, b), t = cross_in_lanes(c, d);
    const simd4 u = opaque(y * a) - opaque(x * b), v = opaque(w * c) - opaque(z * d);
    const simd4 sv = opaque(s * v), tu = opaque(t * u);
    const float r = 1.0f / (((sv[0] + sv[1]) + sv[2]) + ((tu[0] + tu[1]) + tu[2]));
    // The adjugate's rows in lanes 0..2, then as columns.
    const three_lanes columns =
        transpose_lanes(cross_in_lanes(b, v) + opaque(y * t), cross_in_lanes(v, a) - opaque(x * t),
                        cross_in_lanes(d, u) + opaque(w * s), cross_in_lanes(u, c) - opaque(z * s));
    // Column 3: -dot(b, t), dot(a, t), -dot(d, s), dot(c, s).
    const three_lanes products = transpose_lanes(opaque(b * t), opaque(a * t), opaque(d * s), opaque(c * s));
    const simd4 dots = (products.x + products.y) + products.z;
    using bits = unsigned __attribute__((vector_size(16)));
    bits signs;
    std::memcpy(&signs, &dots, sizeof signs);
    signs ^= bits{0x80000000u, 0, 0x80000000u, 0};
    simd4 column3;
    std::memcpy(&column3, &signs, sizeof column3);
    const simd4 scale{r, r, r, r};
    const simd4 entries[4] = {scale * columns.x, scale * columns.y, scale * columns.z, scale * column3};
    mat4 result;
    std::memcpy(result.data(), entries, sizeof entries);
    return result;
}

}  // namespace detail
#endif

// dot(s, v) + dot(t, u), with s, t, u, v the minors of detail::minors above.
constexpr float determinant(const mat4& m) noexcept {
    const detail::minors4 k = detail::minors(m);
    return ormath::dot(k.s, k.v) + ormath::dot(k.t, k.u);
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
        return detail::inverse_in_lanes(m);
    }
#endif
    const detail::minors4 k = detail::minors(m);
    const float r = 1.0f / (ormath::dot(k.s, k.v) + ormath::dot(k.t, k.u));
    const vec4 row0(ormath::cross(k.b, k.v) + k.t * k.y, -ormath::dot(k.b, k.t));
    const vec4 row1(ormath::cross(k.v, k.a) - k.t * k.x, ormath::dot(k.a, k.t));
    const vec4 row2(ormath::cross(k.d, k.u) + k.s * k.w, -ormath::dot(k.d, k.s));
    const vec4 row3(ormath::cross(k.u, k.c) - k.s * k.z, ormath::dot(k.c, k.s));
    return ormath::transpose(mat4(row0 * r, row1 * r, row2 * r, row3 * r));
}

// ---------------------------------------------------------------- builders

// Each builder returns the matrix that the OpenGL or GLU call of the same
// name multiplies onto the current matrix, column-major. None checks its
// arguments.

// The matrix of glTranslatef(v.x, v.y, v.z): the identity with column 3 = (v, 1).
constexpr mat4 translate(const vec3& v) noexcept {
    return {{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, vec4(v, 1)};
}

// The matrix of glScalef(v.x, v.y, v.z): (v.x, v.y, v.z, 1) on the diagonal.
constexpr mat4 scale(const vec3& v) noexcept {
    return {{v.x, 0, 0, 0}, {0, v.y, 0, 0}, {0, 0, v.z, 0}, {0, 0, 0, 1}};
}

// The matrix of glRotatef(angle_degrees, axis) for a unit-length axis (the
// axis is used as given, not normalised). A positive angle turns
// counter-clockwise seen from the axis tip. With a = radians(angle),
// c = std::cos(a), s = std::sin(a) and t = (1 - c) * axis, the 3x3 block is
// c + t.x*axis.x, t.x*axis.y + s*axis.z, t.x*axis.z - s*axis.y in column 0
// and likewise for the others, products rounded. Every entry is evaluated by
// its formula, so entries that a special axis makes 0 or 1 carry the rounding
// of that formula (for the z axis, m[2][2] is c + (1 - c)). The last bit of
// c and s belongs to the C library.
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

// The matrix of glFrustum, with every entry a quotient:
//   m[0][0] = (2 * z_near) / (right - left)
//   m[1][1] = (2 * z_near) / (top - bottom)
//   m[2][0] = (right + left) / (right - left)
//   m[2][1] = (top + bottom) / (top - bottom)
//   m[2][2] = -(z_far + z_near) / (z_far - z_near)
//   m[2][3] = -1
//   m[3][2] = -(2 * z_far * z_near) / (z_far - z_near)
// and 0 elsewhere, m[3][3] included. Equal planes (left == right,
// bottom == top or z_near == z_far) divide by zero: infinities or NaN.
constexpr mat4 frustum(float left, float right, float bottom, float top, float z_near, float z_far) noexcept {
    mat4 m(0.0f);
    m[0][0] = (2.0f * z_near) / (right - left);
    m[1][1] = (2.0f * z_near) / (top - bottom);
    m[2][0] = (right + left) / (right - left);
    m[2][1] = (top + bottom) / (top - bottom);
    m[2][2] = -(z_far + z_near) / (z_far - z_near);
    m[2][3] = -1.0f;
    m[3][2] = -(2.0f * z_far * z_near) / (z_far - z_near);
    return m;
}

// The matrix of glOrtho:
//   m[0][0] = 2 / (right - left)
//   m[1][1] = 2 / (top - bottom)
//   m[2][2] = -2 / (z_far - z_near)
//   m[3][0] = -(right + left) / (right - left)
//   m[3][1] = -(top + bottom) / (top - bottom)
//   m[3][2] = -(z_far + z_near) / (z_far - z_near)
//   m[3][3] = 1
// and 0 elsewhere. Equal planes divide by zero: infinities or NaN.
constexpr mat4 ortho(float left, float right, float bottom, float top, float z_near, float z_far) noexcept {
    mat4 m(0.0f);
    m[0][0] = 2.0f / (right - left);
    m[1][1] = 2.0f / (top - bottom);
    m[2][2] = -2.0f / (z_far - z_near);
    m[3][0] = -(right + left) / (right - left);
    m[3][1] = -(top + bottom) / (top - bottom);
    m[3][2] = -(z_far + z_near) / (z_far - z_near);
    m[3][3] = 1.0f;
    return m;
}

// The matrix of gluPerspective: a symmetric frustum whose near-plane
// half-height is tan(fovy / 2) * z_near. Points at eye-space z = -z_near and
// -z_far map to normalised depth -1 and +1; clip w is the eye distance.
// range = tan(radians(fovy / 2)) * z_near, right = range * aspect,
// left = -range * aspect, then the entries of frustum(left, right, -range,
// range, z_near, z_far), the same bits. The tangent's last bit belongs to the
// C library. A field of view of 0, an aspect of 0 or z_near == z_far give
// infinities or NaN.
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

// The matrix of gluLookAt: a camera at eye looking at center, with up giving
// the upward direction on screen. f = normalize(center - eye),
// s = normalize(cross(f, up)) and u = cross(s, f); the rows of the rotation
// are s, u and -f, and column 3 is (-dot(s, eye), -dot(u, eye), dot(f, eye), 1),
// the rotation applied to -eye. up need not be of unit length or
// perpendicular to f. With eye == center, f divides 0 by 0 and every entry
// of the rotation and the translation is NaN; with up parallel to f (or
// zero), s does, and rows 0 and 1 are NaN while row 2 is still -f and dot(f, eye).
inline mat4 look_at(const vec3& eye, const vec3& center, const vec3& up) noexcept {
    const vec3 f = ormath::normalize(center - eye);
    const vec3 s = ormath::normalize(ormath::cross(f, up));
    const vec3 u = ormath::cross(s, f);
    return {{s.x, u.x, -f.x, 0},
            {s.y, u.y, -f.y, 0},
            {s.z, u.z, -f.z, 0},
            {-ormath::dot(s, eye), -ormath::dot(u, eye), ormath::dot(f, eye), 1}};
}

// gluProject: object coordinates to window coordinates.
// clip = projection * (modelview * (object, 1)); ndc = clip's x, y, z each
// divided by clip.w; then window = (viewport.x + viewport.z * ((ndc.x + 1) * 0.5),
// viewport.y + viewport.w * ((ndc.y + 1) * 0.5), (ndc.z + 1) * 0.5), each
// product rounded before the sum. viewport is (x, y, width, height) as
// glViewport takes it. A point in the eye's plane (clip.w = 0) gives
// infinities or NaN.
constexpr vec3 project(const vec3& object, const mat4& modelview, const mat4& projection,
                       const vec4& viewport) noexcept {
    using detail::mul;
    const vec4 clip = projection * (modelview * vec4(object, 1.0f));
    const float x = clip.x / clip.w, y = clip.y / clip.w, z = clip.z / clip.w;
    return {viewport.x + mul(viewport.z, mul(x + 1.0f, 0.5f)),
            viewport.y + mul(viewport.w, mul(y + 1.0f, 0.5f)), mul(z + 1.0f, 0.5f)};
}

// gluUnProject: window coordinates back to object coordinates.
// ndc = (((window.x - viewport.x) / viewport.z) * 2 - 1,
//        ((window.y - viewport.y) / viewport.w) * 2 - 1, window.z * 2 - 1, 1);
// p = inverse(projection * modelview) * ndc, in the orders of the product,
// inverse and matrix times vector; the result is p's x, y, z each divided by
// p.w. A singular product, an empty viewport or p.w = 0 give infinities or NaN.
constexpr vec3 unproject(const vec3& window, const mat4& modelview, const mat4& projection,
                         const vec4& viewport) noexcept {
    using detail::mul;
    const vec4 ndc(mul((window.x - viewport.x) / viewport.z, 2.0f) - 1.0f,
                   mul((window.y - viewport.y) / viewport.w, 2.0f) - 1.0f, mul(window.z, 2.0f) - 1.0f, 1.0f);
    const vec4 p = ormath::inverse(projection * modelview) * ndc;
    return {p.x / p.w, p.y / p.w, p.z / p.w};
}

}  // namespace ormath
