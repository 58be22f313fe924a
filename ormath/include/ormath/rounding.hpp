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
// the same but stops the function from being inlined. Where float arithmetic
// is evaluated wider than float (x87: FLT_EVAL_METHOD is not 0), the value
// goes through memory instead, which rounds it to float; one store and one
// load, where an SSE register would cost a trip through memory each way.
inline float opaque(float v) noexcept {
#if defined(__GNUC__) && defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
    __asm__("" : "+m"(v));
#elif defined(__GNUC__) && (defined(__x86_64__) || defined(__SSE_MATH__))
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

// Whether float arithmetic is evaluated wider than float: on x87 (gcc's
// default on 32-bit x86, and -mfpmath=387) every intermediate value keeps a
// 64-bit significand and the exponent range of long double until it happens
// to be stored, so a sum, a quotient or a converted integer is rounded to
// float at a place that depends on the optimiser, or not at all.
#if defined(__FLT_EVAL_METHOD__) && __FLT_EVAL_METHOD__ != 0
inline constexpr bool wide_evaluation = true;
#else
inline constexpr bool wide_evaluation = false;
#endif

// v rounded to float as the operation that made it happens, where that takes
// a barrier (wide_evaluation); elsewhere every float operation already rounds
// and v passes untouched. Ormath writes each of its sums, differences and
// quotients as narrow(a + b), narrow(a - b), narrow(a / b), and so each
// conversion and square root: the operation keeps its infix form and its
// operands their order of evaluation, so where no barrier is needed the
// compiler sees exactly the plain expression and generates the same code.
// Rounding x87's 64-bit significand again to float gives the correctly
// rounded float of a sum, difference, product, quotient or square root of
// floats: 64 >= 2 * 24 + 2 makes that double rounding innocuous, subnormal
// results included.
constexpr float narrow(float v) noexcept {
    if constexpr (wide_evaluation) {
        return ormath::rounded(v);
    } else {
        return v;
    }
}
// A double from outside Ormath (the C library's), rounded to double first
// where it may come back wider (in x87's st(0)), so that narrowing it to float
// then rounds the double, as everywhere else.
constexpr double narrow(double v) noexcept {
    if constexpr (wide_evaluation) {
        return rounded_double(v);
    } else {
        return v;
    }
}

// a * b, rounded to float on its own whatever the surrounding expression:
// never fused into a multiply-add, and never kept wider (x87).
constexpr float mul(float a, float b) noexcept { return ormath::rounded(a * b); }

}  // namespace detail

}  // namespace ormath

#endif  // ORMATH_CXX17
