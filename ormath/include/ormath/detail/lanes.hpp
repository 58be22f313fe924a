// The four-lane forms of the matrix product, matrix times vector and the
// 4x4 inverse, for x86-64 and AArch64 with gcc or clang. Each lane does the
// same operations on the same operands in the same order as the scalar form
// in matrices.hpp, so the bits are the scalar form's; only the speed differs.
// Defining ORMATH_NO_LANES before including Ormath leaves them out, and the
// scalar forms run everywhere.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cstring>

#if !defined(ORMATH_NO_LANES) && (defined(__GNUC__) || defined(__clang__)) && \
    (defined(__x86_64__) || defined(__aarch64__))
#define ORMATH_HAS_SIMD4 1

namespace ormath::detail {

// Four floats in one register; each lane is rounded as a float is.
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

// m * v, with m the 16 floats of a mat4: four products, summed left to right.
inline vec4 combine_columns(const float* m, const vec4& v) noexcept {
    simd4 c[4];
    std::memcpy(c, m, sizeof c);
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

// A * B for mat3 (nine floats each) with A's columns held in registers: column c of the result
// is A * B[c] as matrix times vector forms it, three lanes at a time.
// The nine floats are read four at a time, never past their end: columns 0
// and 1 from floats 0 and 3 (lane 3 is the next column's), column 2 from
// float 5, moved down a lane. They are written as floats 0..3, 4..7 and 8,
// never overlapping, so that a reader of the result finds each float in one
// store (a load that spans two stores waits for both).
inline void product_in_lanes(const float* a, const float* b, float* result) noexcept {
    simd4 column0, column1, column2;
    std::memcpy(&column0, a, sizeof column0);
    std::memcpy(&column1, a + 3, sizeof column1);
    std::memcpy(&column2, a + 5, sizeof column2);
    column2 = pick<1, 2, 3, 3>(column2);
    const auto times = [&](const float* v) {
        return (opaque(column0 * v[0]) + opaque(column1 * v[1])) + opaque(column2 * v[2]);
    };
    const simd4 first = times(b), second = times(b + 3), third = times(b + 6);
    const simd4 low = pick<0, 1, 2, 4>(first, second), high = pick<1, 2, 4, 5>(second, third);
#if defined(__AVX__) && (defined(__clang__) || __GNUC__ >= 12)
    // One store for both: a reader that loads 32 bytes at once (AVX code
    // does) then finds them in one store rather than waiting for two.
    using simd8 = float __attribute__((vector_size(32)));
    const simd8 both = __builtin_shufflevector(low, high, 0, 1, 2, 3, 4, 5, 6, 7);
    std::memcpy(result, &both, sizeof both);
#else
    std::memcpy(result, &low, sizeof low);
    std::memcpy(result + 4, &high, sizeof high);
#endif
    result[8] = third[2];
}

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

// inverse(mat4) of matrices.hpp, four entries at a time: each entry is formed by the
// same operations on the same operands in the same order, so the bits are
// those of the scalar form.
inline void inverse_in_lanes(const float* m, float* result) noexcept {
    simd4 a, b, c, d;  // the columns, with x, y, z, w in lane 3
    std::memcpy(&a, m, sizeof a);
    std::memcpy(&b, m + 4, sizeof b);
    std::memcpy(&c, m + 8, sizeof c);
    std::memcpy(&d, m + 12, sizeof d);
    const simd4 x = pick<3, 3, 3, 3>(a), y = pick<3, 3, 3, 3>(b), z = pick<3, 3, 3, 3>(c),
                w = pick<3, 3, 3, 3>(d);
    const simd4 s = cross_in_lanes(a, b), t = cross_in_lanes(c, d);
    const simd4 u = opaque(y * a) - opaque(x * b), v = opaque(w * c) - opaque(z * d);
    const simd4 sv = opaque(s * v), tu = opaque(t * u);
    // Scalar float arithmetic: x87's with -mfpmath=387, so each step is rounded on its own.
    const float r =
        narrow(1.0f / narrow(narrow(narrow(sv[0] + sv[1]) + sv[2]) + narrow(narrow(tu[0] + tu[1]) + tu[2])));
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
    std::memcpy(result, entries, sizeof entries);
}

}  // namespace ormath::detail

#endif

#endif  // ORMATH_CXX17
