// Ormath: small, exact single-precision vector math for OpenGL programs.
//
// This header includes the whole library. Each family lives in a header of
// its own, which may be included alone:
//
//   rounding.hpp    rounded(): the barrier that keeps each operation a float
//   vectors.hpp     vec2, vec3, vec4; + - * / between vectors and floats; == !=;
//                   xy() xyz() swizzle<I...>()
//   integer.hpp     ivec2..4, uvec2..4, bvec2..4; their operators and conversions;
//                   abs sign min max clamp; bitCount findLSB findMSB bitfieldExtract
//                   bitfieldInsert bitfieldReverse uaddCarry usubBorrow umulExtended
//                   imulExtended
//   matrices.hpp    mat2, mat3, mat4; + - * /, M * v, v * M, transpose, determinant,
//                   inverse, outerProduct, matrixCompMult
//   common.hpp      abs sign floor ceil trunc round roundEven fract mod modf min max
//                   clamp mix step smoothstep isnan isinf fma frexp ldexp radians
//                   degrees floatBitsToInt floatBitsToUint intBitsToFloat uintBitsToFloat
//   relational.hpp  lessThan lessThanEqual greaterThan greaterThanEqual equal notEqual
//                   any all not_
//   packing.hpp     packUnorm2x16 packSnorm2x16 packUnorm4x8 packSnorm4x8 packHalf2x16
//                   and their unpack forms
//   geometric.hpp   dot cross length distance normalize faceforward reflect refract
//   elementary.hpp  sin cos tan sinh cosh tanh asinh acosh atanh, correctly
//                   rounded (radians); one header a family in elementary/
//   transforms.hpp  translate scale rotate frustum ortho perspective look_at
//                   pick_matrix, clip_depth; project unproject
//   quaternion.hpp  quat; quat_rotation quat_between, q * p, q * v, conjugate
//                   inverse dot length normalize slerp nlerp angle axis,
//                   mat3(q) mat4(q) quat(mat3)
//   geometry.hpp    frustum_planes sphere_visible box_visible, ray_plane
//                   ray_sphere ray_box ray_triangle
//   hash.hpp        std::hash for every vector, matrix and quat
//   io.hpp          operator<< for every type (opt-in: not included here)
//
// guard.hpp, included first by each of them, refuses the compiler options
// that would change Ormath's results; detail/ holds the four-lane forms of
// the matrix code.
//
// Matrices are column-major and act on column vectors (M * v), the layout
// glLoadMatrixf reads. Angles are in degrees at every builder's interface
// (radians() and degrees() convert).
//
// The contract. Each function states its evaluation order wherever more than
// one is possible, and its result is bit-for-bit that order's in IEEE single
// precision, rounding to nearest: in any consumer's build, at -O0 or at -O3
// -march=native -ffp-contract=fast, with gcc or clang, on x86-64 or AArch64,
// and with the x87 arithmetic of 32-bit x86 (FLT_EVAL_METHOD 2), with no
// compile option needed. Every product that feeds an addition or
// subtraction is rounded to float on its own (see rounded()), so no
// multiply-add is ever fused; sums run left to right as written. Where the
// compiler evaluates float arithmetic wider (x87), every operation is rounded
// to float as it happens, through memory (detail::mul and detail::narrow),
// so no intermediate keeps extra bits or range. std::sqrt is
// correctly rounded, so length, distance, normalize, refract and look_at give
// the same bits everywhere. The elementary functions (elementary.hpp) are
// Ormath's own and correctly rounded, so rotate and perspective, which use
// them, call no C library function whose last bit could differ;
// quat_rotation, slerp and angle call std::sin, std::cos, std::acos and
// std::atan2 in double and round once to float: the same float from every C
// library but in rare cases within 2^-29 of a rounding midpoint.
//
// Undefined input is defined here: infinities and NaN pass through as IEEE
// arithmetic makes them, and every degenerate case (a zero vector to
// normalize, a singular matrix to invert, a camera looking nowhere, a
// frustum with equal planes) gives the IEEE result of the function's written
// formula, never a trap. The header says so at each function. Where a result
// is a NaN, its sign and payload are not part of the contract.
//
// Call these functions qualified (ormath::abs, ormath::floor, ormath::round,
// ormath::any): C's global abs, floor, round, trunc, modf, frexp, ldexp, fma,
// isnan, isinf and friends, and std::any, make an unqualified call ambiguous
// under `using namespace ormath`.
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/common.hpp>
#include <ormath/elementary.hpp>
#include <ormath/geometric.hpp>
#include <ormath/geometry.hpp>
#include <ormath/hash.hpp>
#include <ormath/integer.hpp>
#include <ormath/matrices.hpp>
#include <ormath/packing.hpp>
#include <ormath/quaternion.hpp>
#include <ormath/relational.hpp>
#include <ormath/rounding.hpp>
#include <ormath/transforms.hpp>
#include <ormath/vectors.hpp>
