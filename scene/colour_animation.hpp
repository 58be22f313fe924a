// The per-frame colour step: the corner colours swing between the two
// palettes, one swing per whole unit of the clock, alternating direction.
#pragma once

// The program's colour speed: the blend factor is the fractional part of
// time * colour_time_scale. Each program defines it.
extern const float colour_time_scale;

// Rewrites all of quad_colours for the clock value `time`.
void animate_colours(float time);

// The two halves of the step, for tests and benchmarks.
// True when the integer part of time (truncated toward zero) is odd.
bool odd_phase(float time);
// The fractional part of a non-negative scaled clock, 0 for anything else.
float blend_factor(float scaled_time);
