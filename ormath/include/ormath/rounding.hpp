// The rounding barrier: how Ormath keeps each operation rounded to float on
// its own, whatever the compiler would like to fuse or keep wider.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>
#ifdef ORMATH_CXX17

namespace ormath {

namespace detail {

// True while the compiler evaluates a constant expression. Constant
// evaluation rounds every operation on its own, so it needs no barrier.
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

// The same for a double, the barrier that the elementary functions put after
// each of their double operations. Where the compiler evaluates double
// arithmetic wider than double (x87: FLT_EVAL_METHOD is not 0, or no SSE2
// math), the value goes through memory, which rounds it to double as the
// operation happens; elsewhere it stays in its register.
inline double opaque(double v) noexcept {
#if defined(__GNUC__) && defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
    __asm__("" : "+m"(v));
#elif defined(__GNUC__) && (defined(__x86_64__) || defined(__SSE2_MATH__))
    __asm__("" : "+x"(v));
#elif defined(__GNUC__) && defined(__aarch64__)
    __asm__("" : "+w"(v));
#elif defined(__GNUC__)
    __asm__("" : "+m"(v));
#endif
    return v;
}

// v rounded to double on its own, as rounded() does for float.
constexpr double rounded_double(double v) noexcept {
    if (constant_evaluated()) {
        return v;
    }
    return opaque(v);
}

}  // namespace detail

// v as a float that the compiler can neither fuse into a multiply-add nor
// keep in a wider register: the barrier that Ormath puts after each of its
// own products, for a caller's expression that wants the same bits in every
// build, e.g. ormath::rounded(a * b) - c. Free at run time.
constexpr float rounded(float v) noexcept {
    if (detail::constant_evaluated()) {
        return v;
    }
    return detail::opaque(v);
}

namespace detail {

// a * b, rounded to float on its own whatever the surrounding expression.
constexpr float mul(float a, float b) noexcept { return ormath::rounded(a * b); }

}  // namespace detail

}  // namespace ormath

#endif  // ORMATH_CXX17
