// GLSL's packing functions: two or four normalised numbers, or two halves,
// in the bits of one uint32_t, and back.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

#include <ormath/common.hpp>
#include <ormath/integer.hpp>
#include <ormath/rounding.hpp>
#include <ormath/vectors.hpp>

#include <cstdint>

namespace ormath {

// The first component goes to the least significant bits. Packing follows
// GLSL's formulas: clamp, then one float product rounded on its own, then
// round() (halves away from zero) to the integer, so a NaN component packs as
// 0:
//   packUnorm2x16: round(clamp(c, 0, 1) * 65535)   packSnorm2x16: round(clamp(c, -1, 1) * 32767)
//   packUnorm4x8:  round(clamp(c, 0, 1) * 255)     packSnorm4x8:  round(clamp(c, -1, 1) * 127)
// with the signed fields in two's complement. Unpacking divides (one
// correctly rounded float division): f / 65535 and f / 255, and
// clamp(f / 32767, -1, 1) and clamp(f / 127, -1, 1), so the most negative
// field gives -1 as the next one does.

namespace detail {
// round(clamp(c, lo, 1) * scale), NaN to 0, as the field's bits.
inline std::uint32_t pack_field(float c, float lo, float scale, std::uint32_t mask) noexcept {
    const float r = ormath::round(detail::mul(ormath::clamp(c, lo, 1.0f), scale));
    return static_cast<std::uint32_t>(detail::convert<std::int32_t>(r)) & mask;
}
// The field at bit `shift` of p: as an unsigned number, or sign-extended.
// At most 16 bits, so the float is exact and x87 has nothing to round.
constexpr float unorm_field(std::uint32_t p, int shift, std::uint32_t mask) noexcept {
    return static_cast<float>((p >> shift) & mask);
}
constexpr float snorm_field(std::uint32_t p, int shift, int bits) noexcept {
    return static_cast<float>(ormath::bitfieldExtract(detail::to_signed(p >> shift), 0, bits));
}
}  // namespace detail

inline std::uint32_t packUnorm2x16(const vec2& v) noexcept {
    return detail::pack_field(v.x, 0.0f, 65535.0f, 0xffffu) |
           (detail::pack_field(v.y, 0.0f, 65535.0f, 0xffffu) << 16);
}
inline std::uint32_t packSnorm2x16(const vec2& v) noexcept {
    return detail::pack_field(v.x, -1.0f, 32767.0f, 0xffffu) |
           (detail::pack_field(v.y, -1.0f, 32767.0f, 0xffffu) << 16);
}
inline std::uint32_t packUnorm4x8(const vec4& v) noexcept {
    std::uint32_t p = 0;
    for (int i = 0; i < 4; ++i) {
        p |= detail::pack_field(v[i], 0.0f, 255.0f, 0xffu) << (8 * i);
    }
    return p;
}
inline std::uint32_t packSnorm4x8(const vec4& v) noexcept {
    std::uint32_t p = 0;
    for (int i = 0; i < 4; ++i) {
        p |= detail::pack_field(v[i], -1.0f, 127.0f, 0xffu) << (8 * i);
    }
    return p;
}

constexpr vec2 unpackUnorm2x16(std::uint32_t p) noexcept {
    return vec2(detail::unorm_field(p, 0, 0xffffu), detail::unorm_field(p, 16, 0xffffu)) / 65535.0f;
}
constexpr vec2 unpackSnorm2x16(std::uint32_t p) noexcept {
    return ormath::clamp(vec2(detail::snorm_field(p, 0, 16), detail::snorm_field(p, 16, 16)) / 32767.0f,
                         -1.0f, 1.0f);
}
constexpr vec4 unpackUnorm4x8(std::uint32_t p) noexcept {
    return vec4(detail::unorm_field(p, 0, 0xffu), detail::unorm_field(p, 8, 0xffu),
                detail::unorm_field(p, 16, 0xffu), detail::unorm_field(p, 24, 0xffu)) /
           255.0f;
}
constexpr vec4 unpackSnorm4x8(std::uint32_t p) noexcept {
    return ormath::clamp(vec4(detail::snorm_field(p, 0, 8), detail::snorm_field(p, 8, 8),
                              detail::snorm_field(p, 16, 8), detail::snorm_field(p, 24, 8)) /
                             127.0f,
                         -1.0f, 1.0f);
}

// IEEE binary16 halves, by their bits. A float rounds to the nearest half,
// ties to even: to a subnormal half below 2^-14, to 0 (with the float's sign)
// at or below 2^-25, and to an infinity from 65520 on; infinities stay
// infinities, and a NaN becomes a quiet NaN with the float's sign and the
// nine payload bits below the float's quiet bit. A half converts to the float
// of the same value, exactly, NaN payloads kept.

namespace detail {
constexpr std::uint32_t float_to_half(std::uint32_t f) noexcept {
    const std::uint32_t sign = (f >> 16) & 0x8000u;
    const std::uint32_t a = f & 0x7fffffffu;
    if (a > 0x7f800000u) {
        return sign | 0x7e00u | ((a >> 13) & 0x1ffu);  // NaN, quiet
    }
    if (a >= 0x477ff000u) {
        return sign | 0x7c00u;  // 65520 and above, infinities included
    }
    if (a <= 0x33000000u) {
        return sign;  // 2^-25 and below: half of the smallest subnormal ties to 0
    }
    // A normal half rebiases the exponent (the subtraction) and keeps the top
    // 10 fraction bits; a subnormal half is the significand, implicit bit
    // included, in units of 2^-24. The dropped bits round the kept ones.
    const std::uint32_t exponent = a >> 23;
    const std::uint32_t shift = exponent >= 113 ? 13 : 126 - exponent;
    const std::uint32_t significand = exponent >= 113 ? a - (112u << 23) : (a & 0x7fffffu) | 0x800000u;
    const std::uint32_t kept = significand >> shift;
    const std::uint32_t rest = significand & ((1u << shift) - 1u);
    const std::uint32_t half = 1u << (shift - 1u);
    // A carry out of the fraction raises the exponent, as it should.
    return sign | (kept + (rest > half || (rest == half && (kept & 1u) != 0) ? 1u : 0u));
}
constexpr std::uint32_t half_to_float(std::uint32_t h) noexcept {
    const std::uint32_t sign = (h & 0x8000u) << 16;
    const std::uint32_t exponent = (h >> 10) & 0x1fu;
    const std::uint32_t fraction = h & 0x3ffu;
    if (exponent == 0x1f) {
        return sign | 0x7f800000u | (fraction << 13);
    }
    if (exponent != 0) {
        return sign | ((exponent + 112u) << 23) | (fraction << 13);
    }
    if (fraction == 0) {
        return sign;
    }
    // A subnormal half, fraction * 2^-24: normalise the fraction.
    const std::int32_t top = ormath::findMSB(fraction);
    return sign | (static_cast<std::uint32_t>(top + 103) << 23) | ((fraction << (23 - top)) & 0x7fffffu);
}
}  // namespace detail

inline std::uint32_t packHalf2x16(const vec2& v) noexcept {
    return detail::float_to_half(ormath::floatBitsToUint(v.x)) |
           (detail::float_to_half(ormath::floatBitsToUint(v.y)) << 16);
}
inline vec2 unpackHalf2x16(std::uint32_t p) noexcept {
    return {ormath::uintBitsToFloat(detail::half_to_float(p & 0xffffu)),
            ormath::uintBitsToFloat(detail::half_to_float(p >> 16))};
}

}  // namespace ormath

#endif  // ORMATH_CXX17
