// What Ormath needs of the compiler, checked before anything else: every
// public header includes this one first.
//
// SPDX-License-Identifier: MIT
#pragma once

// Each header's body is compiled only under ORMATH_CXX17, so that an older
// standard gets this one message rather than a page of errors that follow from it.
#if defined(__cplusplus) && (__cplusplus >= 201703L || (defined(_MSVC_LANG) && _MSVC_LANG >= 201703L))
#define ORMATH_CXX17 1
#else
#error "Ormath needs C++17 or later (compile with -std=c++17)"
#endif

// These options let the compiler reorder, fuse, approximate or drop the
// operations whose order and rounding are Ormath's results. gcc defines
// __FINITE_MATH_ONLY__ as 0 when the option is off, so its value is tested.
#if defined(__FAST_MATH__)
#error "Ormath needs IEEE arithmetic in its written order; -ffast-math (__FAST_MATH__) breaks it"
#endif
#if defined(__FINITE_MATH_ONLY__) && __FINITE_MATH_ONLY__
#error "Ormath needs IEEE infinities and NaN; -ffinite-math-only (__FINITE_MATH_ONLY__) breaks it"
#endif
#if defined(__ASSOCIATIVE_MATH__)
#error "Ormath needs its written order of sums; -fassociative-math (__ASSOCIATIVE_MATH__) breaks it"
#endif
#if defined(__RECIPROCAL_MATH__)
#error "Ormath needs IEEE division; -freciprocal-math (__RECIPROCAL_MATH__) breaks it"
#endif
#if defined(__NO_SIGNED_ZEROS__)
#error "Ormath needs signed zeros; -fno-signed-zeros (__NO_SIGNED_ZEROS__) breaks it"
#endif
