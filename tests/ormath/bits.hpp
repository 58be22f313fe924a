// Helpers of Ormath's tests. Float comparison by bit pattern: == would take
// -0 for +0, and NaN for nothing. Any NaN matches any NaN, since payloads are
// not part of a result.
#pragma once

#include "../support/floats.hpp"

#include <ormath/ormath.hpp>

#include <cmath>

#include <gtest/gtest.h>

inline ::testing::AssertionResult same_floats(const float* actual, const float* expected, int n) {
    for (int i = 0; i < n; ++i) {
        const bool both_nan = std::isnan(actual[i]) && std::isnan(expected[i]);
        if (!both_nan && bits(actual[i]) != bits(expected[i])) {
            return ::testing::AssertionFailure() << "float " << i << ": " << std::hexfloat << actual[i]
                                                 << " where " << expected[i] << " was expected";
        }
    }
    return ::testing::AssertionSuccess();
}
