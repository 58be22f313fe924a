// The inverse trigonometric functions' unit tests: Annex F's special values
// (all of atan(y, x)'s table), the ends of the domains and of the quotient's
// range, the hardest cases that scripts/check-elementary.sh found, the
// vector forms, and constant evaluation equal to run time. Expected values
// are mpmath's at 1200 bits rounded to the nearest float (subnormals
// included); the proof of correct rounding is the check itself.
#include <ormath/elementary.hpp>

#include "elementary_support.hpp"

#include <cmath>
#include <cstdint>
#include <limits>

#include <gtest/gtest.h>

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();
// pi, pi/2, pi/4 and 3pi/4 rounded to float.
constexpr float pi = 0x1.921fb6p+1f, half_pi = 0x1.921fb6p+0f, quarter_pi = 0x1.921fb6p-1f,
                three_quarters_pi = 0x1.2d97c8p+1f;

using function = float (*)(float);
float asin_f(float x) { return ormath::asin(x); }
float acos_f(float x) { return ormath::acos(x); }
float atan_f(float x) { return ormath::atan(x); }

struct one_case {
    function f;
    const char* name;
    float x, expected;
};

struct pair_case {
    float y, x, expected;
};

void expect_cases(const one_case* begin, const one_case* end) {
    for (const one_case* c = begin; c != end; ++c) {
        const float got = c->f(at_run_time(c->x));
        EXPECT_EQ(bits(got), bits(c->expected))
            << c->name << "(" << std::hexfloat << c->x << ") = " << got << ", expected " << c->expected;
    }
}

void expect_pairs(const pair_case* begin, const pair_case* end) {
    for (const pair_case* c = begin; c != end; ++c) {
        const float got = ormath::atan(at_run_time(c->y), at_run_time(c->x));
        EXPECT_EQ(bits(got), bits(c->expected)) << "atan(" << std::hexfloat << c->y << ", " << c->x
                                                << ") = " << got << ", expected " << c->expected;
    }
}

// Annex F for asinf, acosf and atanf: the signed zeros and the ends.
const one_case special_cases[] = {
    {asin_f, "asin", 0.0f, 0.0f},      {asin_f, "asin", -0.0f, -0.0f},   {asin_f, "asin", 1.0f, half_pi},
    {asin_f, "asin", -1.0f, -half_pi}, {acos_f, "acos", 1.0f, 0.0f},     {acos_f, "acos", -1.0f, pi},
    {acos_f, "acos", 0.0f, half_pi},   {acos_f, "acos", -0.0f, half_pi}, {atan_f, "atan", 0.0f, 0.0f},
    {atan_f, "atan", -0.0f, -0.0f},    {atan_f, "atan", inf, half_pi},   {atan_f, "atan", -inf, -half_pi},
};

TEST(InverseTrigSpecial, SignedZerosAndEnds) {
    expect_cases(std::begin(special_cases), std::end(special_cases));
}

TEST(InverseTrigSpecial, NaNOutsideTheDomain) {
    for (const function f : {asin_f, acos_f}) {
        for (const float x :
             {0x1.000002p+0f, -0x1.000002p+0f, 2.0f, -0x1.fffffep+127f, inf, -inf, nan, -nan}) {
            EXPECT_TRUE(std::isnan(f(at_run_time(x)))) << std::hexfloat << x;
        }
    }
    EXPECT_TRUE(std::isnan(ormath::atan(at_run_time(nan))));
    EXPECT_TRUE(std::isnan(ormath::atan(at_run_time(-nan))));
}

// Annex F for atan2f, row by row; GLSL leaves atan(+-0, +-0) undefined, and
// Ormath gives Annex F's value there too.
const pair_case special_pairs[] = {
    {0.0f, 0.0f, 0.0f},
    {-0.0f, 0.0f, -0.0f},
    {0.0f, -0.0f, pi},
    {-0.0f, -0.0f, -pi},
    {0.0f, 2.0f, 0.0f},
    {-0.0f, 2.0f, -0.0f},
    {0.0f, -2.0f, pi},
    {-0.0f, -2.0f, -pi},
    {0.0f, inf, 0.0f},
    {-0.0f, inf, -0.0f},
    {0.0f, -inf, pi},
    {-0.0f, -inf, -pi},
    {3.0f, 0.0f, half_pi},
    {3.0f, -0.0f, half_pi},
    {-3.0f, 0.0f, -half_pi},
    {-3.0f, -0.0f, -half_pi},
    {3.0f, inf, 0.0f},
    {-3.0f, inf, -0.0f},
    {3.0f, -inf, pi},
    {-3.0f, -inf, -pi},
    {inf, 3.0f, half_pi},
    {-inf, 3.0f, -half_pi},
    {inf, -3.0f, half_pi},
    {-inf, -0.0f, -half_pi},
    {inf, inf, quarter_pi},
    {-inf, inf, -quarter_pi},
    {inf, -inf, three_quarters_pi},
    {-inf, -inf, -three_quarters_pi},
};

TEST(InverseTrigSpecial, AtanOfAPairAnnexF) {
    expect_pairs(std::begin(special_pairs), std::end(special_pairs));
}

TEST(InverseTrigSpecial, AtanOfAPairNaN) {
    for (const float other : {0.0f, -1.0f, inf, nan}) {
        EXPECT_TRUE(std::isnan(ormath::atan(at_run_time(nan), at_run_time(other))));
        EXPECT_TRUE(std::isnan(ormath::atan(at_run_time(other), at_run_time(-nan))));
    }
}

// The smallest subnormal, the floats around 1 and 1/sqrt 2 (where asin and
// acos change table), the ends of atan's table, and a largest argument.
const one_case extremes[] = {
    {asin_f, "asin", 0x1p-149f, 0x1p-149f},
    {asin_f, "asin", -0x1p-149f, -0x1p-149f},
    {asin_f, "asin", 0x1p-12f, 0x1p-12f},
    {asin_f, "asin", 0x1.fffffep-1f, 0x1.920914p+0f},
    {acos_f, "acos", 0x1.fffffep-1f, 0x1.6a09e6p-12f},
    {acos_f, "acos", -0x1.fffffep-1f, 0x1.921464p+1f},
    {asin_f, "asin", 0x1.6a09e6p-1f, 0x1.921fb4p-1f},
    {asin_f, "asin", 0x1.6a09e8p-1f, 0x1.921fb8p-1f},
    {acos_f, "acos", 0x1.6a09e6p-1f, 0x1.921fb6p-1f},
    {acos_f, "acos", -0x1.6a09e8p-1f, 0x1.2d97c8p+1f},
    {atan_f, "atan", 0x1p-149f, 0x1p-149f},
    {atan_f, "atan", 0x1p-6f, 0x1.fff556p-7f},
    {atan_f, "atan", 0x1p6f, 0x1.8e1fcap+0f},
    {atan_f, "atan", -1.0f, -quarter_pi},
    {atan_f, "atan", 0x1.fffffep+127f, half_pi},
};

TEST(InverseTrigSpecial, Extremes) { expect_cases(std::begin(extremes), std::end(extremes)); }

// Quotients beyond float's range (formed in double) and quotients that are
// exactly a midpoint between two subnormals: 3 * 2^-150 has its angle just
// below it, so the result is 2^-149, where the quotient rounded to float
// (ties to even) would give 2^-148.
const pair_case extreme_pairs[] = {
    {0x1p127f, 0x1p-149f, half_pi},
    {0x1.fffffep+127f, -0x1p-149f, half_pi},
    {0x1p-149f, 0x1p127f, 0.0f},
    {-0x1p-149f, -0x1p127f, -pi},
    {0x1.fffffep+127f, 0x1.fffffep+127f, quarter_pi},
    {-0x1p-149f, -0x1p-149f, -three_quarters_pi},
    {0x1p-149f, 0x1p-23f, 0x1p-126f},
    {0x1p-149f, 3.0f, 0.0f},
    {0x1.8p-148f, 2.0f, 0x1p-149f},
    {-0x1.8p-148f, 2.0f, -0x1p-149f},
    {0x1.8p-148f, -2.0f, pi},
};

TEST(InverseTrigSpecial, QuotientsBeyondFloat) {
    expect_pairs(std::begin(extreme_pairs), std::end(extreme_pairs));
}

// A pair whose angle lies 5.6e-17 (relative) below a midpoint, where the
// atan of y / x rounded to double lies 2.4e-17 above it: the result must
// come from y and x, not from their rounded quotient (found by a search).
const pair_case quotient_pairs[] = {
    {0x1.34d636p-3f, 0x1.1a061cp+0f, 0x1.169b72p-3f},
    {-0x1.34d636p-3f, -0x1.1a061cp+0f, -0x1.80b5fep+1f},
};

// atan(y, x)'s pairs nearest a midpoint among the check's 10^9.
const pair_case hard_pairs[] = {
    {0x1.9165dep+127f, 0x1.9df7bep+115f, 0x1.920f36p+0f},     // 3.0e-10 ulp
    {-0x1.7b281cp-16f, -0x1.7c3bdep-16f, -0x1.2dc642p+1f},    // 1.6e-9 ulp
    {-0x1.0e43d2p+117f, -0x1.8f2566p+117f, -0x1.45f052p+1f},  // 2.3e-9 ulp
    {-0x1.52225cp+71f, -0x1.2a5b4cp+93f, -0x1.921fb2p+1f},    // 2.4e-9 ulp
};

TEST(InverseTrigHard, PairsNearestToAMidpoint) { expect_pairs(std::begin(hard_pairs), std::end(hard_pairs)); }

TEST(InverseTrigHard, AngleOfTheExactQuotient) {
    expect_pairs(std::begin(quotient_pairs), std::end(quotient_pairs));
}

// Found by scripts/check-elementary.sh (its "hard" lines): the exact value
// lies within the given fraction of an ulp of a midpoint.
const one_case hard_cases[] = {
    {asin_f, "asin", 0x1.107434p-1f, 0x1.1f4b64p-1f},      // 6.9e-10 ulp
    {asin_f, "asin", -0x1.cbf43cp-4f, -0x1.cced1cp-4f},    // 2.5e-9 ulp
    {asin_f, "asin", 0x1.0f2b38p-5f, 0x1.0f37e6p-5f},      // 6.2e-9 ulp
    {acos_f, "acos", 0x1.04c444p-12f, 0x1.920f6ap+0f},     // 8.4e-11 ulp
    {acos_f, "acos", 0x1.110b46p-26f, 0x1.921fb6p+0f},     // 5.1e-10 ulp
    {acos_f, "acos", 0x1.145f36p-6f, 0x1.8dce2cp+0f},      // 3.8e-9 ulp
    {atan_f, "atan", 0x1.1ad646p-4f, 0x1.1a6386p-4f},      // 2.5e-10 ulp
    {atan_f, "atan", -0x1.ac6ff4p-10f, -0x1.ac6fdcp-10f},  // 3.5e-9 ulp
    {atan_f, "atan", 0x1.f83792p-9f, 0x1.f836fp-9f},       // 3.8e-9 ulp
    {atan_f, "atan", 0x1.e00a3p+25f, 0x1.921fb6p+0f},      // 4.0e-9 ulp
};

TEST(InverseTrigHard, NearestToAMidpoint) { expect_cases(std::begin(hard_cases), std::end(hard_cases)); }

TEST(InverseTrigVector, ComponentByComponent) {
    const ormath::vec4 v(at_run_time(0.5f), at_run_time(-0.99f), at_run_time(0x1p-20f), at_run_time(-0.0f));
    const ormath::vec4 u(at_run_time(-3.0f), at_run_time(2.0f), at_run_time(0.0f), at_run_time(-1e30f));
    const ormath::vec4 s = ormath::asin(v), c = ormath::acos(v), t = ormath::atan(u), p = ormath::atan(v, u);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(bits(s[i]), bits(ormath::asin(v[i]))) << i;
        EXPECT_EQ(bits(c[i]), bits(ormath::acos(v[i]))) << i;
        EXPECT_EQ(bits(t[i]), bits(ormath::atan(u[i]))) << i;
        EXPECT_EQ(bits(p[i]), bits(ormath::atan(v[i], u[i]))) << i;
    }
    EXPECT_EQ(ormath::asin(ormath::vec2(at_run_time(0.25f), 1.0f)),
              ormath::vec2(ormath::asin(0.25f), ormath::asin(1.0f)));
    EXPECT_EQ(ormath::acos(ormath::vec3(at_run_time(0.25f), 1.0f, -1.0f)),
              ormath::vec3(ormath::acos(0.25f), ormath::acos(1.0f), ormath::acos(-1.0f)));
    EXPECT_EQ(ormath::atan(ormath::vec2(at_run_time(4.0f), 1.0f)),
              ormath::vec2(ormath::atan(4.0f), ormath::atan(1.0f)));
    EXPECT_EQ(ormath::atan(ormath::vec3(at_run_time(1.0f), -1.0f, 0.0f), ormath::vec3(-1.0f, -1.0f, -0.0f)),
              ormath::vec3(three_quarters_pi, -three_quarters_pi, pi));
    EXPECT_EQ(ormath::atan(ormath::vec2(at_run_time(1.0f), -2.0f), ormath::vec2(1.0f, 0.0f)),
              ormath::vec2(quarter_pi, -half_pi));
}

#if defined(ORMATH_DETAIL_BIT_CAST)
// Inputs that take every path: each table and its ends, both sides of
// 1/sqrt 2, the accurate path (the hard cases) and the special values.
constexpr float inputs[] = {
    0.0f, -0.0f, 0x1p-149f, 0x1p-7f, 0.3f,  -0.5f, 0x1.6a09e6p-1f, 0x1.6a09e8p-1f, -0.9f, 0x1.fffffep-1f,
    1.0f, -1.0f, 2.0f,      -70.0f,  3e38f, inf,   0x1.107434p-1f, -0x1.107434p-1f};
constexpr int count = sizeof inputs / sizeof inputs[0];

struct results {
    float asin[count], acos[count], atan[count], pair[count];
};

// Each input as y against the next as x, for atan(y, x).
constexpr results constant_results() {
    results r{};
    for (int i = 0; i < count; ++i) {
        r.asin[i] = ormath::asin(inputs[i]);
        r.acos[i] = ormath::acos(inputs[i]);
        r.atan[i] = ormath::atan(inputs[i]);
        r.pair[i] = ormath::atan(inputs[i], inputs[(i + 1) % count]);
    }
    return r;
}
constexpr results constant = constant_results();
static_assert(ormath::atan(0.0f, -1.0f) == pi && ormath::acos(-1.0f) == pi, "atan and acos are constexpr");
static_assert(ormath::asin(ormath::vec2(0.0f, 1.0f)) == ormath::vec2(0.0f, half_pi),
              "the vector forms are constexpr");

TEST(InverseTrigConstexpr, ConstantEvaluationIsRunTime) {
    for (int i = 0; i < count; ++i) {
        const float x = at_run_time(inputs[i]), next = at_run_time(inputs[(i + 1) % count]);
        const float asin_x = ormath::asin(x), acos_x = ormath::acos(x);
        // A NaN (asin and acos beyond 1) matches any NaN.
        EXPECT_TRUE(std::isnan(asin_x) ? std::isnan(constant.asin[i])
                                       : bits(constant.asin[i]) == bits(asin_x))
            << "asin(" << std::hexfloat << x << ")";
        EXPECT_TRUE(std::isnan(acos_x) ? std::isnan(constant.acos[i])
                                       : bits(constant.acos[i]) == bits(acos_x))
            << "acos(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(constant.atan[i]), bits(ormath::atan(x))) << "atan(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(constant.pair[i]), bits(ormath::atan(x, next)))
            << "atan(" << std::hexfloat << x << ", " << next << ")";
    }
}
#endif

}  // namespace
