// The exponential family's unit tests: Annex F's special values of exp,
// exp2, log, log2, sqrt, inversesqrt and pow, the over- and underflow
// thresholds, pow's exact results (floats and midpoints, which only an exact
// test rounds right), a few hard cases, the vector forms, and constant
// evaluation equal to run time. Expected values are MPFR's and mpmath's,
// rounded to float, as hex literals; the proof of correct rounding is
// elementary_check.
#include <ormath/elementary.hpp>

#include "elementary_support.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

using function = float (*)(float);
float exp_f(float x) { return ormath::exp(x); }
float exp2_f(float x) { return ormath::exp2(x); }
float log_f(float x) { return ormath::log(x); }
float log2_f(float x) { return ormath::log2(x); }
float sqrt_f(float x) { return ormath::sqrt(x); }
float inversesqrt_f(float x) { return ormath::inversesqrt(x); }

struct one_case {
    function f;
    const char* name;
    float x, expected;  // a NaN expected as any NaN
};

void expect_cases(const one_case* begin, const one_case* end) {
    for (const one_case* c = begin; c != end; ++c) {
        const float y = c->f(at_run_time(c->x));
        if (std::isnan(c->expected)) {
            EXPECT_TRUE(std::isnan(y)) << c->name << "(" << std::hexfloat << c->x << ") = " << y;
        } else {
            EXPECT_EQ(bits(y), bits(c->expected))
                << c->name << "(" << std::hexfloat << c->x << ") = " << y << ", expected " << c->expected;
        }
    }
}

// Annex F's special values of the one-argument functions.
const one_case specials[] = {
    {exp_f, "exp", 0.0f, 1.0f},
    {exp_f, "exp", -0.0f, 1.0f},
    {exp_f, "exp", inf, inf},
    {exp_f, "exp", -inf, 0.0f},
    {exp_f, "exp", nan, nan},
    {exp2_f, "exp2", 0.0f, 1.0f},
    {exp2_f, "exp2", -0.0f, 1.0f},
    {exp2_f, "exp2", inf, inf},
    {exp2_f, "exp2", -inf, 0.0f},
    {exp2_f, "exp2", -nan, nan},
    {log_f, "log", 0.0f, -inf},
    {log_f, "log", -0.0f, -inf},
    {log_f, "log", 1.0f, 0.0f},
    {log_f, "log", -1.0f, nan},
    {log_f, "log", -0x1p-149f, nan},
    {log_f, "log", -inf, nan},
    {log_f, "log", inf, inf},
    {log_f, "log", nan, nan},
    {log2_f, "log2", 0.0f, -inf},
    {log2_f, "log2", -0.0f, -inf},
    {log2_f, "log2", 1.0f, 0.0f},
    {log2_f, "log2", -2.0f, nan},
    {log2_f, "log2", inf, inf},
    {log2_f, "log2", nan, nan},
    {sqrt_f, "sqrt", 0.0f, 0.0f},
    {sqrt_f, "sqrt", -0.0f, -0.0f},
    {sqrt_f, "sqrt", -1.0f, nan},
    {sqrt_f, "sqrt", inf, inf},
    {inversesqrt_f, "inversesqrt", 0.0f, inf},
    {inversesqrt_f, "inversesqrt", -0.0f, -inf},
    {inversesqrt_f, "inversesqrt", -0x1p-149f, nan},
    {inversesqrt_f, "inversesqrt", -inf, nan},
    {inversesqrt_f, "inversesqrt", inf, 0.0f},
    {inversesqrt_f, "inversesqrt", nan, nan},
};

TEST(ExponentialSpecial, AnnexF) { expect_cases(std::begin(specials), std::end(specials)); }

// The floats either side of each threshold (overflow to +inf, underflow to
// +0 or the smallest subnormal), the extremes of the range, and the exact
// cases: powers of two of exp2 and log2, and 2^-150, which rounds to 0.
const one_case thresholds[] = {
    {exp_f, "exp", 0x1.62e42ep+6f, 0x1.ffff08p+127f},
    {exp_f, "exp", 0x1.62e43p+6f, inf},
    {exp_f, "exp", -0x1.9fe368p+6f, 0x1p-149f},
    {exp_f, "exp", -0x1.9fe36ap+6f, 0.0f},
    {exp_f, "exp", -0x1.9d1dap+6f, 0x1p-149f},
    {exp_f, "exp", 0x1p-149f, 1.0f},
    {exp_f, "exp", -0x1p-149f, 1.0f},
    {exp_f, "exp", -0x1p-25f, 1.0f},
    {exp_f, "exp", 1.0f, 0x1.5bf0a8p+1f},
    {exp2_f, "exp2", 0x1.fffffep+6f, 0x1.ffff4ep+127f},
    {exp2_f, "exp2", 128.0f, inf},
    {exp2_f, "exp2", -149.0f, 0x1p-149f},
    {exp2_f, "exp2", -0x1.2bfffep+7f, 0x1p-149f},
    {exp2_f, "exp2", -150.0f, 0.0f},
    {exp2_f, "exp2", -126.0f, 0x1p-126f},
    {exp2_f, "exp2", 127.0f, 0x1p127f},
    {exp2_f, "exp2", 0.5f, 0x1.6a09e6p+0f},
    {log_f, "log", 0x1p-149f, -0x1.9d1dap+6f},
    {log_f, "log", 0x1.fffffep+127f, 0x1.62e43p+6f},
    {log_f, "log", 0x1.000002p+0f, 0x1.fffffep-24f},
    {log_f, "log", 0x1.fffffep-1f, -0x1p-24f},
    {log_f, "log", 2.0f, 0x1.62e43p-1f},
    {log2_f, "log2", 0x1p-149f, -149.0f},
    {log2_f, "log2", 0x1p127f, 127.0f},
    {log2_f, "log2", 0x1.fffffep+127f, 128.0f},
    {log2_f, "log2", 0x1.000002p+0f, 0x1.715474p-23f},
    {log2_f, "log2", 0x1.fffffep-1f, -0x1.715478p-24f},
    {sqrt_f, "sqrt", 0x1p-149f, 0x1.6a09e6p-75f},
    {inversesqrt_f, "inversesqrt", 0x1p-149f, 0x1.6a09e6p+74f},
    {inversesqrt_f, "inversesqrt", 0x1.fffffep+127f, 0x1p-64f},
    {inversesqrt_f, "inversesqrt", 0x1p-126f, 0x1p63f},
    {inversesqrt_f, "inversesqrt", 2.0f, 0x1.6a09e6p-1f},
};

TEST(ExponentialSpecial, ThresholdsAndExtremes) {
    expect_cases(std::begin(thresholds), std::end(thresholds));
}

// Found by scripts/check-elementary.sh (its "hard" lines): the exact value
// lies within the given fraction of an ulp of a midpoint.
const one_case hard_cases[] = {
    {exp_f, "exp", -0x1.d2259ap+3f, 0x1.fa6636p-22f},                  // 2.4e-9 ulp
    {exp_f, "exp", -0x1.e1dbe2p-8f, 0x1.fc3fd2p-1f},                   // 4.5e-9 ulp
    {exp2_f, "exp2", -0x1.5a3f34p-21f, 0x1.fffffp-1f},                 // 3.2e-11 ulp
    {exp2_f, "exp2", -0x1.e7526ep-6f, 0x1.f58d62p-1f},                 // 1.2e-10 ulp
    {log_f, "log", 0x1.b121a6p+76f, 0x1.a9a3f2p+5f},                   // 5.7e-11 ulp
    {log_f, "log", 0x1.bacb4ap+25f, 0x1.1e0696p+4f},                   // 8.2e-11 ulp
    {log2_f, "log2", 0x1.40f572p-2f, -0x1.ac7b44p+0f},                 // 5.0e-9 ulp
    {log2_f, "log2", 0x1.40f572p+1f, 0x1.5384bcp+0f},                  // 5.0e-9 ulp
    {inversesqrt_f, "inversesqrt", 0x1.7431c6p-49f, 0x1.2c413cp+24f},  // 2.6e-9 ulp
    {inversesqrt_f, "inversesqrt", 0x1.7431c6p-3f, 0x1.2c413cp+1f},    // 2.6e-9 ulp
};

TEST(ExponentialHard, NearestToAMidpoint) { expect_cases(std::begin(hard_cases), std::end(hard_cases)); }

struct pow_case {
    float x, y, expected;  // a NaN expected as any NaN
};

void expect_pow(const pow_case* begin, const pow_case* end) {
    for (const pow_case* c = begin; c != end; ++c) {
        const float r = ormath::pow(at_run_time(c->x), at_run_time(c->y));
        if (std::isnan(c->expected)) {
            EXPECT_TRUE(std::isnan(r)) << "pow(" << std::hexfloat << c->x << ", " << c->y << ") = " << r;
        } else {
            EXPECT_EQ(bits(r), bits(c->expected)) << "pow(" << std::hexfloat << c->x << ", " << c->y
                                                  << ") = " << r << ", expected " << c->expected;
        }
    }
}

// Annex F's special values of pow, in its order.
const pow_case pow_specials[] = {
    {0.0f, -3.0f, inf},    // pow(+-0, odd y < 0) = +-inf
    {-0.0f, -3.0f, -inf},  //
    {0.0f, -2.0f, inf},    // pow(+-0, other y < 0) = +inf
    {-0.0f, -2.0f, inf},   //
    {-0.0f, -0.5f, inf},   //
    {-0.0f, -inf, inf},    //
    {0.0f, 3.0f, 0.0f},    // pow(+-0, odd y > 0) = +-0
    {-0.0f, 3.0f, -0.0f},  //
    {-0.0f, 2.0f, 0.0f},   // pow(+-0, other y > 0) = +0
    {-0.0f, 0.5f, 0.0f},   //
    {-0.0f, inf, 0.0f},    //
    {-1.0f, inf, 1.0f},    // pow(-1, +-inf) = 1
    {-1.0f, -inf, 1.0f},   //
    {1.0f, nan, 1.0f},     // pow(+1, y) = 1 for any y
    {1.0f, -inf, 1.0f},    //
    {nan, 0.0f, 1.0f},     // pow(x, +-0) = 1 for any x
    {-inf, -0.0f, 1.0f},   //
    {-2.0f, 0.5f, nan},    // pow(x < 0, non-integer y) is NaN
    {-0x1p-149f, 0x1.000002p+0f, nan},
    {0.5f, -inf, inf},                 // pow(|x| < 1, -inf) = +inf
    {-2.0f, -inf, 0.0f},               // pow(|x| > 1, -inf) = +0
    {-0.5f, inf, 0.0f},                // pow(|x| < 1, +inf) = +0
    {2.0f, inf, inf},                  // pow(|x| > 1, +inf) = +inf
    {-inf, -3.0f, -0.0f},              // pow(-inf, odd y < 0) = -0
    {-inf, -2.0f, 0.0f},               // pow(-inf, other y < 0) = +0
    {-inf, -0.5f, 0.0f},               //
    {-inf, 3.0f, -inf},                // pow(-inf, odd y > 0) = -inf
    {-inf, 0.5f, inf},                 // pow(-inf, other y > 0) = +inf
    {inf, -0x1p-149f, 0.0f},           // pow(+inf, y < 0) = +0
    {inf, 0x1p-149f, inf},             // pow(+inf, y > 0) = +inf
    {nan, 1.0f, nan},                  // any other NaN argument
    {2.0f, nan, nan},                  //
    {-1.0f, 0x1.fffffep+127f, 1.0f},   // an even integer: every float from 2^24 on
    {-1.0f, 0x1.fffffep+23f, -1.0f},   // the largest odd one
    {-2.0f, -0x1.fffffep+23f, -0.0f},  // -(2^-(2^24 - 1)), below the subnormals
    {-2.0f, 0x1.fffffep+23f, -inf},
    {-2.0f, 0x1p+24f, inf},
};

TEST(ExponentialPow, AnnexF) { expect_pow(std::begin(pow_specials), std::end(pow_specials)); }

// Exact results, from MPFR: where x^y is a midpoint between two floats, only
// the exact test rounds it (to even); where it is a float, the result is it.
const pow_case pow_exact[] = {
    {0x1.001p+12f, 2.0f, 0x1.002p+24f},      // 4097^2 = 2^24 + 2^13 + 1: a midpoint, down to even
    {0x1.03p+8f, 3.0f, 0x1.091b1cp+24f},     // 259^3: a midpoint, up to even
    {-0x1.03p+8f, 3.0f, -0x1.091b1cp+24f},   //
    {0x1.0609p+16f, 1.5f, 0x1.091b1cp+24f},  // (259^2)^(3/2), the same midpoint
    {0x1.8p-49f, 3.0f, 0x1.cp-146f},         // 27 2^-150: a subnormal midpoint, up to even
    {-0x1.8p-49f, 3.0f, -0x1.cp-146f},       //
    {0x1.8p-74f, 2.0f, 0x1p-147f},           // 9 2^-150: a subnormal midpoint, down to even
    {0x1p-75f, 2.0f, 0.0f},                  // 2^-150, the midpoint that rounds to 0
    {2.0f, -150.0f, 0.0f},                   //
    {2.0f, -149.0f, 0x1p-149f},              //
    {2.0f, -149.5f, 0x1p-149f},              //
    {0x1.2p-37f, 4.0f, 0x1.8p-148f},         // (9 2^-40)^4 = 6561 2^-160
    {0x1.8p+1f, 15.0f, 0x1.b5e4d6p+23f},     // 3^15, a float
    {-0x1.8p+1f, 15.0f, -0x1.b5e4d6p+23f},   //
    {0x1.2p+3f, 0.5f, 3.0f},                 // square roots of squares
    {0x1.9p+6f, 1.5f, 1000.0f},              //
    {16.0f, -0.25f, 0.5f},                   //
    {0x1p-128f, 0x1p-7f, 0.5f},              // 2^(-128/128)
    {2.0f, 127.0f, 0x1p127f},                //
    {2.0f, 128.0f, inf},                     //
    {0.5f, -128.0f, inf},                    //
    {0x1.9p+6f, -0.5f, 0x1.99999ap-4f},      // 1/10: not a float, rounded
};

TEST(ExponentialPow, ExactResults) { expect_pow(std::begin(pow_exact), std::end(pow_exact)); }

// Over- and underflow, and the hardest pairs the check has met: their exact
// value lies within the given fraction of an ulp of a midpoint.
const pow_case pow_hard[] = {
    {0x1.000002p+0f, 0x1.62e43p+29f, 0x1.ffff56p+127f},   // (1 + 2^-23)^y near the overflow threshold
    {0x1.000002p+0f, 0x1.62e432p+29f, inf},               //
    {0x1.fffffep-1f, -0x1.fffffep-1f, 1.0f},              // 8.9e-16 ulp: 1 + 2^-24 - 2^-72...
    {0x1.fffffep+127f, 0.5f, 0x1.fffffep+63f},            // 7.5e-9 ulp
    {0x1.e6ccc2p+82f, -0x1.a96ff6p-2f, 0x1.75e9dep-35f},  // 2.8e-10 ulp, of the 10^9 random pairs
    {0x1.6ca5b2p-17f, -0x1.dcec7ep-1f, 0x1.488ca4p+15f},  // 7.1e-10 ulp
    {0x1.240a08p+18f, 0x1.4072d8p+2f, 0x1.0e254cp+91f},   // 8.3e-10 ulp
};

TEST(ExponentialPow, HardCases) { expect_pow(std::begin(pow_hard), std::end(pow_hard)); }

TEST(ExponentialVector, ComponentByComponent) {
    const ormath::vec4 v(at_run_time(0.5f), at_run_time(2.0f), at_run_time(100.0f), at_run_time(-0.0f));
    for (const auto& [vf, f] :
         {std::pair<ormath::vec4 (*)(const ormath::vec4&), function>{
              [](const ormath::vec4& a) { return ormath::exp(a); }, exp_f},
          {[](const ormath::vec4& a) { return ormath::exp2(a); }, exp2_f},
          {[](const ormath::vec4& a) { return ormath::log(a); }, log_f},
          {[](const ormath::vec4& a) { return ormath::log2(a); }, log2_f},
          {[](const ormath::vec4& a) { return ormath::sqrt(a); }, sqrt_f},
          {[](const ormath::vec4& a) { return ormath::inversesqrt(a); }, inversesqrt_f}}) {
        const ormath::vec4 r = vf(v);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(bits(r[i]), bits(f(v[i]))) << i;
        }
    }
    const ormath::vec4 p = ormath::pow(v, ormath::vec4(at_run_time(3.0f), 0.5f, -1.0f, -1.0f));
    EXPECT_EQ(bits(p.x), bits(0.125f));
    EXPECT_EQ(bits(p.y), bits(0x1.6a09e6p+0f));
    EXPECT_EQ(bits(p.z), bits(0x1.47ae14p-7f));
    EXPECT_EQ(bits(p.w), bits(-inf));
    EXPECT_EQ(ormath::pow(ormath::vec2(at_run_time(4.0f), 9.0f), ormath::vec2(0.5f, 0.5f)),
              ormath::vec2(2.0f, 3.0f));
    EXPECT_EQ(ormath::exp2(ormath::vec3(at_run_time(1.0f), 2.0f, 3.0f)), ormath::vec3(2.0f, 4.0f, 8.0f));
}

#if defined(ORMATH_DETAIL_BIT_CAST)
// Inputs that take every path: special values, subnormals, the fast path,
// the accurate path (the midpoints, 2^-150), the extremes.
constexpr float inputs[] = {0.0f,    -0.0f,        0x1p-149f,  1.0f,          2.0f,           0.5f,
                            -1.0f,   10.0f,        -100.0f,    -150.0f,       88.0f,          1e30f,
                            3.0e38f, 0x1.001p+12f, 0x1.8p-49f, 0x1.0609p+16f, 0x1.fffffep-1f, inf};
constexpr int count = sizeof inputs / sizeof inputs[0];

struct table {
    float v[count][7];
};
constexpr table constant_table() {
    table t{};
    for (int i = 0; i < count; ++i) {
        const float x = inputs[i];
        t.v[i][0] = ormath::exp(x);
        t.v[i][1] = ormath::exp2(x);
        t.v[i][2] = ormath::log(x);
        t.v[i][3] = ormath::log2(x);
        t.v[i][4] = ormath::sqrt(x);
        t.v[i][5] = ormath::inversesqrt(x);
        t.v[i][6] = ormath::pow(x, inputs[(i + 5) % count] == inf ? 3.0f : inputs[(i + 5) % count] * 0.5f);
    }
    return t;
}
constexpr table constant = constant_table();
static_assert(ormath::exp(0.0f) == 1.0f && ormath::log2(8.0f) == 3.0f, "exp and log2 are constexpr");
static_assert(ormath::pow(0x1.001p+12f, 2.0f) == 0x1.002p+24f, "pow's exact midpoints are constexpr");
static_assert(ormath::sqrt(2.0f) == 0x1.6a09e6p+0f && ormath::inversesqrt(4.0f) == 0.5f,
              "sqrt and inversesqrt are constexpr");

TEST(ExponentialConstexpr, ConstantEvaluationIsRunTime) {
    for (int i = 0; i < count; ++i) {
        const float x = at_run_time(inputs[i]);
        const float y = inputs[(i + 5) % count] == inf ? 3.0f : inputs[(i + 5) % count] * 0.5f;
        const float run[7] = {ormath::exp(x),
                              ormath::exp2(x),
                              ormath::log(x),
                              ormath::log2(x),
                              ormath::sqrt(x),
                              ormath::inversesqrt(x),
                              ormath::pow(x, at_run_time(y))};
        for (int k = 0; k < 7; ++k) {
            if (std::isnan(run[k])) {
                EXPECT_TRUE(std::isnan(constant.v[i][k])) << k << " at " << std::hexfloat << x;
            } else {
                EXPECT_EQ(bits(constant.v[i][k]), bits(run[k])) << k << " at " << std::hexfloat << x;
            }
        }
    }
}
#endif

}  // namespace
