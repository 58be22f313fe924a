// What the elementary functions' unit tests share beside the bit patterns.
#pragma once

#include "../support/floats.hpp"

// The argument through memory that the optimiser cannot see into, so that
// the call happens at run time.
inline float at_run_time(float f) {
    volatile float v = f;
    return v;
}
