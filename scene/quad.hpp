// The one square every demo shows: side 2, centred on its origin, in the
// plane z = 0. Corner i has index i in every array, and the corners run
// counter-clockwise as the viewer sees them: lower left, lower right, upper
// right, upper left. The arrays are handed to OpenGL as packed floats.
#pragma once

#include <ormath/ormath.hpp>

extern const ormath::vec2 quad_positions[4];
extern const ormath::vec3 palette_a[4];  // blue, red, yellow, green
extern const ormath::vec3 palette_b[4];  // palette_a moved on by one corner
extern ormath::vec3 quad_colours[4];     // this frame's colours; black until the first frame
