// The hyperbolic functions' unit tests: Annex F's special values, overflow
// and the limits where a result stops changing, tiny arguments (whose
// results are x or a float next to it), the hardest cases that
// scripts/check-elementary.sh found, the vector forms, and constant
// evaluation equal to run time. Every expected value is a literal: the
// correctly rounded float from MPFR, or exact by Annex F. The proof of
// correct rounding is the check itself (elementary_check).
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
float sinh_f(float x) { return ormath::sinh(x); }
float cosh_f(float x) { return ormath::cosh(x); }
float tanh_f(float x) { return ormath::tanh(x); }
float asinh_f(float x) { return ormath::asinh(x); }
float acosh_f(float x) { return ormath::acosh(x); }
float atanh_f(float x) { return ormath::atanh(x); }

struct exact_case {
    function f;
    const char* name;
    float x, expected;
};

void expect_bits(const exact_case* begin, const exact_case* end) {
    for (const exact_case* c = begin; c != end; ++c) {
        const float y = c->f(at_run_time(c->x));
        EXPECT_EQ(bits(y), bits(c->expected))
            << c->name << "(" << std::hexfloat << c->x << ") = " << y << ", expected " << c->expected;
    }
}
template <std::size_t N>
void expect_bits(const exact_case (&cases)[N]) {
    expect_bits(cases, cases + N);
}

// Annex F: the odd functions keep the sign of zero, cosh(+-0) = 1 and
// acosh(1) = +0; the infinities map as the limits do.
const exact_case annex_f[] = {
    {sinh_f, "sinh", 0.0f, 0.0f},    {sinh_f, "sinh", -0.0f, -0.0f},   {tanh_f, "tanh", 0.0f, 0.0f},
    {tanh_f, "tanh", -0.0f, -0.0f},  {asinh_f, "asinh", 0.0f, 0.0f},   {asinh_f, "asinh", -0.0f, -0.0f},
    {atanh_f, "atanh", 0.0f, 0.0f},  {atanh_f, "atanh", -0.0f, -0.0f}, {cosh_f, "cosh", 0.0f, 1.0f},
    {cosh_f, "cosh", -0.0f, 1.0f},   {acosh_f, "acosh", 1.0f, 0.0f},   {sinh_f, "sinh", inf, inf},
    {sinh_f, "sinh", -inf, -inf},    {cosh_f, "cosh", inf, inf},       {cosh_f, "cosh", -inf, inf},
    {tanh_f, "tanh", inf, 1.0f},     {tanh_f, "tanh", -inf, -1.0f},    {asinh_f, "asinh", inf, inf},
    {asinh_f, "asinh", -inf, -inf},  {acosh_f, "acosh", inf, inf},     {atanh_f, "atanh", 1.0f, inf},
    {atanh_f, "atanh", -1.0f, -inf},
};

TEST(HyperbolicSpecial, AnnexF) { expect_bits(annex_f); }

// acosh below 1 and atanh beyond +-1 are NaN, infinities and -0 included;
// a NaN gives a NaN.
TEST(HyperbolicSpecial, OutsideTheDomain) {
    for (const float x : {0x1.fffffep-1f, 0.5f, 0.0f, -0.0f, -1.0f, -inf}) {
        EXPECT_TRUE(std::isnan(ormath::acosh(at_run_time(x)))) << std::hexfloat << x;
    }
    for (const float x : {0x1.000002p+0f, -0x1.000002p+0f, 2.0f, inf, -inf}) {
        EXPECT_TRUE(std::isnan(ormath::atanh(at_run_time(x)))) << std::hexfloat << x;
    }
    for (const function f : {sinh_f, cosh_f, tanh_f, asinh_f, acosh_f, atanh_f}) {
        EXPECT_TRUE(std::isnan(f(at_run_time(nan))));
        EXPECT_TRUE(std::isnan(f(at_run_time(-nan))));
    }
}

// sinh and cosh overflow from 0x1.65a9fap+6 on; tanh is +-1 from
// 0x1.205968p+3 on; the largest floats reach asinh and acosh's largest
// results. The floats on either side of each limit (from MPFR).
const exact_case limits[] = {
    {sinh_f, "sinh", 0x1.65a9f8p+6f, 0x1.ffffd8p+127f},
    {sinh_f, "sinh", 0x1.65a9fap+6f, inf},
    {sinh_f, "sinh", -0x1.65a9fap+6f, -inf},
    {sinh_f, "sinh", 0x1.fffffep+127f, inf},
    {cosh_f, "cosh", -0x1.65a9f8p+6f, 0x1.ffffd8p+127f},
    {cosh_f, "cosh", 0x1.65a9fap+6f, inf},
    {cosh_f, "cosh", -0x1.fffffep+127f, inf},
    {tanh_f, "tanh", 0x1.205966p+3f, 0x1.fffffep-1f},
    {tanh_f, "tanh", 0x1.205968p+3f, 1.0f},
    {tanh_f, "tanh", -0x1.205968p+3f, -1.0f},
    {tanh_f, "tanh", 0x1.fffffep+127f, 1.0f},
    {asinh_f, "asinh", 0x1.fffffep+127f, 0x1.65a9f8p+6f},
    {acosh_f, "acosh", 0x1.fffffep+127f, 0x1.65a9f8p+6f},
    {atanh_f, "atanh", 0x1.fffffep-1f, 0x1.154246p+3f},
    {acosh_f, "acosh", 0x1.000002p+0f, 0x1p-11f},
    {cosh_f, "cosh", 0x1.6a09e6p-12f, 1.0f},  // x^2/2 just below 2^-24: 1
    {cosh_f, "cosh", -0x1.6a09e8p-12f, 0x1.000002p+0f},
    {cosh_f, "cosh", 0x1p-149f, 1.0f},
};

TEST(HyperbolicSpecial, Limits) { expect_bits(limits); }

// Tiny arguments: sinh and atanh lie above |x| by x^3/6 and x^3/3, tanh and
// asinh below by x^3/3 and x^3/6. Where that reaches half the gap to the
// next float the result is that float (two floats down for tanh below a
// power of two); subnormals stay as they are.
const exact_case tiny[] = {
    {sinh_f, "sinh", 0x1p-149f, 0x1p-149f},
    {tanh_f, "tanh", -0x1p-149f, -0x1p-149f},
    {asinh_f, "asinh", 0x1p-149f, 0x1p-149f},
    {atanh_f, "atanh", -0x1p-149f, -0x1p-149f},
    {tanh_f, "tanh", 0x1.fffffcp-127f, 0x1.fffffcp-127f},
    {sinh_f, "sinh", 0x1p-126f, 0x1p-126f},
    {atanh_f, "atanh", 0x1p-30f, 0x1p-30f},
    {sinh_f, "sinh", 0x1.fffffep-13f, 0x1.fffffep-13f},
    {sinh_f, "sinh", 0x1.fffffep-12f, 0x1p-11f},
    {sinh_f, "sinh", -0x1.fffffep-12f, -0x1p-11f},
    {atanh_f, "atanh", 0x1.fffffep-13f, 0x1.fffffep-13f},
    {atanh_f, "atanh", 0x1.fffffep-12f, 0x1p-11f},
    {tanh_f, "tanh", 0x1p-12f, 0x1p-12f},
    {tanh_f, "tanh", 0x1p-11f, 0x1.fffffep-12f},
    {tanh_f, "tanh", -0x1.fffffep-12f, -0x1.fffffcp-12f},
    {asinh_f, "asinh", 0x1p-12f, 0x1p-12f},
    {asinh_f, "asinh", -0x1p-11f, -0x1.fffffep-12f},
    {asinh_f, "asinh", 0x1.fffffep-12f, 0x1.fffffcp-12f},
};

TEST(HyperbolicSpecial, TinyArguments) { expect_bits(tiny); }

// Ordinary arguments on each branch of the evaluation (asinh below and
// above 1, acosh below and above 2, both signs), from MPFR.
const exact_case ordinary[] = {
    {sinh_f, "sinh", 0x1.8p+0f, 0x1.108c3ap+1f},      {sinh_f, "sinh", -0x1.9p+3f, -0x1.060c52p+17f},
    {sinh_f, "sinh", 0x1.4p+6f, 0x1.55779cp+114f},    {cosh_f, "cosh", 0x1.8p+0f, 0x1.2d1bc2p+1f},
    {cosh_f, "cosh", -0x1.9p+3f, 0x1.060c52p+17f},    {cosh_f, "cosh", -0x1.2p-4f, 0x1.00a212p+0f},
    {tanh_f, "tanh", 0x1.8p+0f, 0x1.cf6f98p-1f},      {tanh_f, "tanh", -0x1.2p+1f, -0x1.f4bfd6p-1f},
    {tanh_f, "tanh", 0x1.4p-3f, 0x1.3d6bc8p-3f},      {asinh_f, "asinh", 0x1.8p+0f, 0x1.31dcp+0f},
    {asinh_f, "asinh", -0x1.9p+6f, -0x1.53180ap+2f},  {asinh_f, "asinh", 0x1.4p+50f, 0x1.1c96d6p+5f},
    {acosh_f, "acosh", 0x1.8p+0f, 0x1.ecc2cap-1f},    {acosh_f, "acosh", 0x1.04p+0f, 0x1.6991a4p-3f},
    {acosh_f, "acosh", 0x1.9p+6f, 0x1.531738p+2f},    {atanh_f, "atanh", 0x1.8p-1f, 0x1.f2272ap-1f},
    {atanh_f, "atanh", -0x1.f4p-1f, -0x1.1bd364p+1f},
};

TEST(HyperbolicValues, Ordinary) { expect_bits(ordinary); }

// Found by scripts/check-elementary.sh (its "hard" lines) and, for tanh,
// among the inputs that take the double-double path: the exact value lies
// within the given fraction of an ulp of a midpoint, so that only that path
// rounds them right. Expected values from MPFR.
const exact_case hard_cases[] = {
    {sinh_f, "sinh", 0x1.250bfep-11f, 0x1.250bfep-11f},      // 4.4e-10 ulp
    {sinh_f, "sinh", -0x1.6d543ep-9f, -0x1.6d545ep-9f},      // 6.4e-9 ulp
    {sinh_f, "sinh", 0x1.fbe4bp-1f, 0x1.29b154p+0f},         // 8.6e-9 ulp
    {cosh_f, "cosh", 0x1.deeeap-11f, 0x1.000008p+0f},        // 7.5e-10 ulp
    {cosh_f, "cosh", -0x1.c12a5p-5f, 0x1.00628ap+0f},        // 1.2e-9 ulp
    {cosh_f, "cosh", 0x1.0f876cp-10f, 0x1.000008p+0f},       // 4.6e-9 ulp
    {tanh_f, "tanh", 0x1.86fbc4p-10f, 0x1.86fbb2p-10f},      // 9.4e-9 ulp
    {tanh_f, "tanh", -0x1.dc0accp-2f, -0x1.bc797cp-2f},      // 1.7e-8 ulp
    {tanh_f, "tanh", 0x1.5969ap+2f, 0x1.fffaap-1f},          // 2.6e-8 ulp
    {asinh_f, "asinh", 0x1.b121a6p+75f, 0x1.a9a3f2p+5f},     // 5.7e-11 ulp
    {asinh_f, "asinh", -0x1.c09d7cp+26f, -0x1.346a58p+4f},   // 1.5e-10 ulp
    {asinh_f, "asinh", 0x1.bacb4ap+24f, 0x1.1e0696p+4f},     // 2.4e-10 ulp
    {acosh_f, "acosh", 0x1.b121a6p+75f, 0x1.a9a3f2p+5f},     // 5.7e-11 ulp
    {acosh_f, "acosh", 0x1.bacb4ap+24f, 0x1.1e0694p+4f},     // 7.4e-11 ulp
    {acosh_f, "acosh", 0x1.c09d7cp+26f, 0x1.346a58p+4f},     // 1.3e-10 ulp
    {atanh_f, "atanh", 0x1.e3cf42p-11f, 0x1.e3cf4cp-11f},    // 1.9e-9 ulp
    {atanh_f, "atanh", -0x1.713744p-12f, -0x1.713746p-12f},  // 2.1e-9 ulp
    {atanh_f, "atanh", 0x1.ac6fd6p-10f, 0x1.ac6feep-10f},    // 3.5e-9 ulp
};

TEST(HyperbolicValues, NearestToAMidpoint) { expect_bits(hard_cases); }

TEST(HyperbolicVector, ComponentByComponent) {
    const ormath::vec4 v(at_run_time(0.5f), at_run_time(-2.0f), at_run_time(1.5f), at_run_time(-0.0f));
    using vector_function = ormath::vec4 (*)(const ormath::vec4&);
    const std::pair<vector_function, function> pairs[] = {
        {[](const ormath::vec4& a) { return ormath::sinh(a); }, sinh_f},
        {[](const ormath::vec4& a) { return ormath::cosh(a); }, cosh_f},
        {[](const ormath::vec4& a) { return ormath::tanh(a); }, tanh_f},
        {[](const ormath::vec4& a) { return ormath::asinh(a); }, asinh_f},
        {[](const ormath::vec4& a) { return ormath::acosh(a); }, acosh_f},
        {[](const ormath::vec4& a) { return ormath::atanh(a); }, atanh_f},
    };
    for (const auto& [vf, f] : pairs) {
        const ormath::vec4 r = vf(v);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(bits(r[i]), bits(f(v[i]))) << i;
        }
    }
    EXPECT_EQ(ormath::acosh(ormath::vec2(at_run_time(1.0f), 1.5f)), ormath::vec2(0.0f, 0x1.ecc2cap-1f));
    EXPECT_EQ(ormath::tanh(ormath::vec3(at_run_time(0x1.8p+0f), -inf, 0x1p-11f)),
              ormath::vec3(0x1.cf6f98p-1f, -1.0f, 0x1.fffffep-12f));
}

#if defined(ORMATH_DETAIL_BIT_CAST)
// Inputs that take every path: each branch of the fast path, the
// double-double path (the last five are hard cases of sinh, cosh, tanh,
// asinh and acosh, and atanh), the limits and special values.
constexpr float inputs[] = {0.0f,
                            -0.0f,
                            0x1p-149f,
                            0x1p-11f,
                            -0x1.fffffep-12f,
                            0.5f,
                            0x1.8p+0f,
                            -0x1.8p-1f,
                            0x1.04p+0f,
                            2.5f,
                            -0x1.9p+3f,
                            0x1.9p+6f,
                            0x1.65a9fap+6f,
                            0x1.4p+50f,
                            0x1.fffffep+127f,
                            0x1.fffffep-1f,
                            1.0f,
                            -1.0f,
                            -inf,
                            0x1.205968p+3f,
                            0x1.250bfep-11f,
                            0x1.deeeap-11f,
                            0x1.86fbc4p-10f,
                            0x1.b121a6p+75f,
                            0x1.e3cf42p-11f};
constexpr int count = sizeof inputs / sizeof inputs[0];

struct table {
    float v[6][count];
};
constexpr table constant_table() {
    table t{};
    for (int i = 0; i < count; ++i) {
        t.v[0][i] = ormath::sinh(inputs[i]);
        t.v[1][i] = ormath::cosh(inputs[i]);
        t.v[2][i] = ormath::tanh(inputs[i]);
        t.v[3][i] = ormath::asinh(inputs[i]);
        t.v[4][i] = ormath::acosh(inputs[i]);
        t.v[5][i] = ormath::atanh(inputs[i]);
    }
    return t;
}
constexpr table constant = constant_table();
static_assert(ormath::sinh(0.0f) == 0.0f && ormath::cosh(0.0f) == 1.0f && ormath::acosh(1.0f) == 0.0f,
              "the hyperbolic functions are constexpr");
static_assert(ormath::tanh(0x1p-11f) == 0x1.fffffep-12f && ormath::asinh(0x1.8p+0f) == 0x1.31dcp+0f,
              "and correctly rounded in a constant expression");
static_assert(ormath::tanh(ormath::vec2(inf, -inf)) == ormath::vec2(1.0f, -1.0f),
              "the vector forms are constexpr");

TEST(HyperbolicConstexpr, ConstantEvaluationIsRunTime) {
    const function fs[6] = {sinh_f, cosh_f, tanh_f, asinh_f, acosh_f, atanh_f};
    for (int k = 0; k < 6; ++k) {
        for (int i = 0; i < count; ++i) {
            const float x = at_run_time(inputs[i]);
            const float y = fs[k](x);
            // NaN outside the domain: any NaN.
            if (std::isnan(y)) {
                EXPECT_TRUE(std::isnan(constant.v[k][i])) << k << " " << std::hexfloat << x;
            } else {
                EXPECT_EQ(bits(constant.v[k][i]), bits(y)) << k << " " << std::hexfloat << x;
            }
        }
    }
}
#endif

}  // namespace
