// The elementary functions' unit tests: Annex F's special values, a handful
// of hard cases per function (inputs whose exact value lies extremely close
// to a midpoint between two floats, found by scripts/check-elementary.sh), the
// vector forms, and constant evaluation equal to run time. The proof of
// correct rounding is the check itself (elementary_check).
#include <ormath/elementary.hpp>

#include "elementary_support.hpp"

#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

using function = float (*)(float);
float sin_f(float x) { return ormath::sin(x); }
float cos_f(float x) { return ormath::cos(x); }
float tan_f(float x) { return ormath::tan(x); }

// Annex F: sin(+-0) = +-0, tan(+-0) = +-0, cos(+-0) = 1; infinities give NaN.
TEST(ElementarySpecial, SignedZeros) {
    EXPECT_EQ(bits(ormath::sin(at_run_time(0.0f))), bits(0.0f));
    EXPECT_EQ(bits(ormath::sin(at_run_time(-0.0f))), bits(-0.0f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(0.0f))), bits(0.0f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(-0.0f))), bits(-0.0f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(0.0f))), bits(1.0f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(-0.0f))), bits(1.0f));
}

TEST(ElementarySpecial, InfinitiesAndNaN) {
    for (const function f : {sin_f, cos_f, tan_f}) {
        EXPECT_TRUE(std::isnan(f(at_run_time(inf))));
        EXPECT_TRUE(std::isnan(f(at_run_time(-inf))));
        EXPECT_TRUE(std::isnan(f(at_run_time(nan))));
        EXPECT_TRUE(std::isnan(f(at_run_time(-nan))));
    }
}

// The smallest subnormal, the largest float and the floats nearest pi/2 and
// pi (whose results are tiny or huge): no overflow, underflow or lost sign.
TEST(ElementarySpecial, Extremes) {
    EXPECT_EQ(bits(ormath::sin(at_run_time(0x1p-149f))), bits(0x1p-149f));
    EXPECT_EQ(bits(ormath::sin(at_run_time(-0x1p-149f))), bits(-0x1p-149f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(-0x1p-149f))), bits(-0x1p-149f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(0x1p-149f))), bits(1.0f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(0x1.921fb6p+0f))), bits(-0x1.777a5cp-25f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(0x1.921fb6p+0f))), bits(-0x1.5d1494p+24f));
    EXPECT_EQ(bits(ormath::sin(at_run_time(0x1.921fb6p+1f))), bits(-0x1.777a5cp-24f));
    EXPECT_EQ(bits(ormath::sin(at_run_time(0x1.fffffep+127f))), bits(-0x1.0b3366p-1f));
}

// The floats nearest a multiple of pi/2 below and above 2^20, where the
// two reductions work (|x| * 2/pi within 2^-28.5 and 2^-29.9 of an
// integer): cos is tiny and tan huge, so an error in a reduction constant
// shows. Expected values from mpmath at 400 bits, rounded to 24.
TEST(ElementarySpecial, NearMultiplesOfHalfPi) {
    EXPECT_EQ(bits(ormath::sin(at_run_time(0x1.f9cbe2p+7f))), bits(1.0f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(0x1.f9cbe2p+7f))), bits(-0x1.1fa3bcp-28f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(0x1.f9cbe2p+7f))), bits(-0x1.c7ae6ep+27f));
    EXPECT_EQ(bits(ormath::sin(at_run_time(0x1.f37c8ap+95f))), bits(1.0f));
    EXPECT_EQ(bits(ormath::cos(at_run_time(0x1.f37c8ap+95f))), bits(-0x1.bbdd52p-30f));
    EXPECT_EQ(bits(ormath::tan(at_run_time(0x1.f37c8ap+95f))), bits(-0x1.274c1cp+29f));
}

struct exact_case {
    float x, sin, cos, tan;
};

// Either side of the thresholds between the paths (2^-12: x itself below it;
// 2^20: the reduction in double below it, in integers above), and negative
// arguments above 2^20, whose reduction works on |x|. Expected values from
// mpmath at 2000 bits, rounded to 24.
const exact_case boundaries[] = {
    {0x1.fffffep-13f, 0x1.fffffep-13f, 1.0f, 0x1.fffffep-13f},
    {0x1.fffffep-11f, 0x1.fffff8p-11f, 0x1.fffffp-1f, 0x1.000004p-10f},
    {0x1.fffffep-10f, 0x1.ffffe8p-10f, 0x1.ffffcp-1f, 0x1.000014p-9f},
    {0x1.fffffep+19f, 0x1.156658p-2f, 0x1.ecdaf4p-1f, 0x1.202cdcp-2f},
    {0x1p+20f, 0x1.526cccp-2f, 0x1.e33adap-1f, 0x1.6692e6p-2f},
    {-0x1p+20f, -0x1.526cccp-2f, 0x1.e33adap-1f, -0x1.6692e6p-2f},
    {-0x1.2a05f2p+99f, 0x1.62066ap-1f, -0x1.71e0f2p-1f, -0x1.ea0e08p-1f},
    {-0x1.fffffep+127f, 0x1.0b3366p-1f, 0x1.b4bf2cp-1f, 0x1.393d94p-1f},
};

TEST(ElementarySpecial, PathBoundaries) {
    for (const exact_case& c : boundaries) {
        const float x = at_run_time(c.x);
        EXPECT_EQ(bits(ormath::sin(x)), bits(c.sin)) << std::hexfloat << x;
        EXPECT_EQ(bits(ormath::cos(x)), bits(c.cos)) << std::hexfloat << x;
        EXPECT_EQ(bits(ormath::tan(x)), bits(c.tan)) << std::hexfloat << x;
    }
}

// glibc's double function at x rounded to float, where that is the correctly
// rounded result: the double lies within an ulp of the exact value, so when
// it and its neighbours 4 ulps away round to the same float, so does the
// exact value. False where they do not (the test then fails: pick another x).
bool reference(double d, float* result) {
    double lo = d, hi = d;
    for (int i = 0; i < 4; ++i) {
        lo = std::nextafter(lo, -INFINITY);
        hi = std::nextafter(hi, INFINITY);
    }
    const volatile auto lo_float = static_cast<float>(lo);
    const volatile auto hi_float = static_cast<float>(hi);
    *result = lo_float;
    return bits(lo_float) == bits(hi_float);
}

// The fast path takes sin and cos of k pi/64 from a table of 128 entries:
// every entry, with r of either sign, in both reductions' ranges; and the
// floats nearest multiples of pi/2, where the reduction must keep r exact
// relative to itself (sin or cos of them is tiny).
TEST(ElementaryReference, EveryTableEntryAndNearZeros) {
    const double pi = 3.141592653589793;
    std::vector<float> xs;
    for (int k = -260; k <= 260; ++k) {
        for (const double r : {-0.47, -0.29, -0.11, 0.07, 0.23, 0.41}) {
            xs.push_back(static_cast<float>((k + r) * pi / 64));
            xs.push_back(static_cast<float>((k * 8191 + r) * pi / 64));
        }
    }
    for (int m = 1; m <= 4000; m += 3) {
        xs.push_back(static_cast<float>(m * pi / 2));
        xs.push_back(-static_cast<float>(m * 977 * pi / 2));
    }
    for (const float x : xs) {
        const auto xd = static_cast<double>(x);
        float s = 0, c = 0, t = 0;
        ASSERT_TRUE(reference(std::sin(xd), &s) && reference(std::cos(xd), &c) && reference(std::tan(xd), &t))
            << std::hexfloat << x;
        EXPECT_EQ(bits(ormath::sin(at_run_time(x))), bits(s)) << "sin(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(ormath::cos(at_run_time(x))), bits(c)) << "cos(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(ormath::tan(at_run_time(x))), bits(t)) << "tan(" << std::hexfloat << x << ")";
    }
}

struct hard_case {
    function f;
    const char* name;
    float x, expected;
};

// Found by scripts/check-elementary.sh (its "hard" lines): the exact value
// lies within the given fraction of an ulp of a midpoint.
const hard_case hard_cases[] = {
    {sin_f, "sin", 0x1.487e0cp+103f, 0x1.287508p-2f},  // 4.7e-10 ulp
    {sin_f, "sin", -0x1.33333p+13f, 0x1.63f4bap-2f},   // 6.6e-10 ulp
    {sin_f, "sin", 0x1.95f654p+44f, -0x1.fcf42ep-1f},  // 1.3e-9 ulp
    {cos_f, "cos", 0x1.2b9622p+67f, 0x1.f0285ep-1f},   // 2.4e-10 ulp
    {cos_f, "cos", 0x1.887814p+51f, 0x1.84bec4p-1f},   // 2.5e-10 ulp
    {cos_f, "cos", 0x1.3170fp+63f, 0x1.fe2976p-1f},    // 3.1e-10 ulp
    {tan_f, "tan", 0x1.fa6748p+64f, 0x1.a0d918p+0f},   // 5.3e-10 ulp
    {tan_f, "tan", 0x1.b0e75cp+59f, 0x1.4d7fdap-2f},   // 2.2e-9 ulp
    {tan_f, "tan", 0x1.02e9bap+2f, 0x1.453662p+0f},    // 3.2e-9 ulp
};

TEST(ElementaryHard, NearestToAMidpoint) {
    for (const hard_case& c : hard_cases) {
        EXPECT_EQ(bits(c.f(at_run_time(c.x))), bits(c.expected))
            << c.name << "(" << std::hexfloat << c.x << ") = " << c.f(at_run_time(c.x)) << ", expected "
            << c.expected;
    }
}

TEST(ElementaryVector, ComponentByComponent) {
    const ormath::vec4 v(at_run_time(0.5f), at_run_time(-2.0f), at_run_time(100.0f), at_run_time(-0.0f));
    for (const auto& [vf, f] : {std::pair<ormath::vec4 (*)(const ormath::vec4&), function>{
                                    [](const ormath::vec4& a) { return ormath::sin(a); }, sin_f},
                                {[](const ormath::vec4& a) { return ormath::cos(a); }, cos_f},
                                {[](const ormath::vec4& a) { return ormath::tan(a); }, tan_f}}) {
        const ormath::vec4 r = vf(v);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(bits(r[i]), bits(f(v[i]))) << i;
        }
    }
    EXPECT_EQ(ormath::sin(ormath::vec2(at_run_time(1.0f), 2.0f)),
              ormath::vec2(ormath::sin(1.0f), ormath::sin(2.0f)));
    EXPECT_EQ(ormath::cos(ormath::vec3(at_run_time(1.0f), 2.0f, 3.0f)),
              ormath::vec3(ormath::cos(1.0f), ormath::cos(2.0f), ormath::cos(3.0f)));
}

#if defined(ORMATH_DETAIL_BIT_CAST)
// Inputs that take every path: no reduction, the reduction at small and
// large exponents, the accurate path (the hard cases), the special values.
constexpr float inputs[] = {0.0f,
                            -0.0f,
                            0x1p-149f,
                            0x1p-20f,
                            0.5f,
                            -0.78f,
                            0.8f,
                            1.0f,
                            2.0f,
                            -3.0f,
                            10.0f,
                            100.0f,
                            1e10f,
                            -1e20f,
                            3.4e38f,
                            0x1.487e0cp+103f,
                            -0x1.33333p+13f,
                            0x1.95f654p+44f};
constexpr int count = sizeof inputs / sizeof inputs[0];

template <function F>
struct table {
    float v[count];
};
constexpr table<sin_f> sin_table() {
    table<sin_f> t{};
    for (int i = 0; i < count; ++i)
        t.v[i] = ormath::sin(inputs[i]);
    return t;
}
constexpr table<cos_f> cos_table() {
    table<cos_f> t{};
    for (int i = 0; i < count; ++i)
        t.v[i] = ormath::cos(inputs[i]);
    return t;
}
constexpr table<tan_f> tan_table() {
    table<tan_f> t{};
    for (int i = 0; i < count; ++i)
        t.v[i] = ormath::tan(inputs[i]);
    return t;
}
constexpr auto sin_constant = sin_table();
constexpr auto cos_constant = cos_table();
constexpr auto tan_constant = tan_table();
static_assert(ormath::sin(0.0f) == 0.0f && ormath::cos(0.0f) == 1.0f, "sin and cos are constexpr");
static_assert(ormath::cos(ormath::vec2(0.0f, -0.0f)) == ormath::vec2(1.0f, 1.0f),
              "the vector forms are constexpr");

TEST(ElementaryConstexpr, ConstantEvaluationIsRunTime) {
    for (int i = 0; i < count; ++i) {
        const float x = at_run_time(inputs[i]);
        EXPECT_EQ(bits(sin_constant.v[i]), bits(ormath::sin(x))) << "sin(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(cos_constant.v[i]), bits(ormath::cos(x))) << "cos(" << std::hexfloat << x << ")";
        EXPECT_EQ(bits(tan_constant.v[i]), bits(ormath::tan(x))) << "tan(" << std::hexfloat << x << ")";
    }
    // A NaN from an infinity at compile time too.
    constexpr float from_inf = ormath::sin(inf);
    EXPECT_TRUE(std::isnan(from_inf));
}
#endif

}  // namespace
