// GLSL's elementary functions, correctly rounded, one header per family in
// elementary/. Each family's header says how it evaluates and which special
// values it gives; docs/elementary.md records the proof of each.
//
//   elementary/trigonometric.hpp          sin cos tan
//   elementary/inverse_trigonometric.hpp  asin acos atan(y_over_x) atan(y, x)
//   elementary/hyperbolic.hpp             sinh cosh tanh asinh acosh atanh
//   elementary/exponential.hpp            exp exp2 log log2 pow sqrt inversesqrt
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/elementary/exponential.hpp>
#include <ormath/elementary/hyperbolic.hpp>
#include <ormath/elementary/inverse_trigonometric.hpp>
#include <ormath/elementary/trigonometric.hpp>
