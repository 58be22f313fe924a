// GLSL's elementary functions, correctly rounded, one header per family in
// elementary/. Each family's header says how it evaluates and which special
// values it gives; docs/elementary.md records the proof of each.
//
//   elementary/trigonometric.hpp  sin cos tan
//
// SPDX-License-Identifier: MIT
#pragma once

#include <ormath/guard.hpp>

#include <ormath/elementary/trigonometric.hpp>
