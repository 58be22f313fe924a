// Ormath's values, construction and layout, case by case. Expectations are
// exact; sine, cosine and tangent are Ormath's own, correctly rounded.
#include <ormath/ormath.hpp>

#include "bits.hpp"
#include "functions.hpp"

#include <cmath>
#include <cstddef>
#include <limits>
#include <random>

using ormath::mat2;
using ormath::mat3;
using ormath::mat4;
using ormath::vec2;
using ormath::vec3;
using ormath::vec4;

namespace {

// Row r, column c of the textbook notation is m[c][r].
mat4 from_rows(const float rows[4][4]) {
    mat4 m;
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            m[c][r] = rows[r][c];
        }
    }
    return m;
}

TEST(Layout, MatrixIsColumnMajor) {
    mat4 m(0.0f);
    m[3][0] = 7;  // column 3, row 0: a translation's x
    m[2][3] = -1;
    EXPECT_EQ(m.data()[12], 7.0f);
    EXPECT_EQ(m.data()[11], -1.0f);
    EXPECT_EQ(&m[1][2], m.data() + 6);
}

TEST(Construction, DefaultsAndDiagonals) {
    const float identity[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    const float zeros[16] = {};
    EXPECT_TRUE(same_floats(mat4().data(), identity, 16));
    EXPECT_TRUE(same_floats(mat4(1).data(), identity, 16));
    EXPECT_TRUE(same_floats(mat4(0).data(), zeros, 16));
    EXPECT_TRUE(same_floats(vec3().data(), zeros, 3));
    EXPECT_EQ(vec4(vec3(1, 2, 3), 4), vec4(1, 2, 3, 4));
}

TEST(Access, ComponentsByIndexAndName) {
    vec4 v(1, 2, 3, 4);
    v[2] = 9;
    v.w = 8;
    EXPECT_EQ(v, vec4(1, 2, 9, 8));
    EXPECT_EQ(v[0] + v[1], 3.0f);
    vec2 p(5, 6);
    p[1] = 7;
    EXPECT_EQ(p.y, 7.0f);
}

TEST(Arithmetic, ScalarTimesVectorAndSum) {
    EXPECT_EQ(2.0f * vec3(1, -2, 3), vec3(2, -4, 6));
    EXPECT_EQ(vec4(1, 2, 3, 4) * 0.5f, vec4(0.5f, 1, 1.5f, 2));
    EXPECT_EQ(vec3(1, 2, 3) + vec3(10, 20, 30), vec3(11, 22, 33));
    EXPECT_EQ(vec4(1, 2, 3, 4) + vec4(-1, -2, -3, -4), vec4());
}

TEST(Product, IdentityIsNeutral) {
    const mat4 m = functions::m4(functions::find("product4").in);
    EXPECT_TRUE(same_floats((mat4() * m).data(), m.data(), 16));
    EXPECT_TRUE(same_floats((m * mat4()).data(), m.data(), 16));
}

TEST(Product, OrderIsTranslationAfterRotation) {
    // T moves by (1, 0, 0); R turns a quarter counter-clockwise about z.
    const mat4 t({1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 1});
    const mat4 r({0, 1, 0, 0}, {-1, 0, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1});
    EXPECT_EQ((t * r)[3], vec4(1, 0, 0, 1));
    EXPECT_EQ((r * t)[3], vec4(0, 1, 0, 1));
    // T * R turns first: the point (1, 0, 0) goes to (0, 1, 0), then to (1, 1, 0).
    EXPECT_EQ((t * r) * vec4(1, 0, 0, 1), vec4(1, 1, 0, 1));
    EXPECT_EQ((r * t) * vec4(1, 0, 0, 1), vec4(0, 2, 0, 1));
}

TEST(Product, SmallIntegersGiveTheTextbookProduct) {
    const float a_rows[4][4] = {{1, 2, 3, 4}, {-5, 6, 7, 8}, {9, -10, 11, 12}, {13, 14, -15, 16}};
    const float b_rows[4][4] = {{2, 0, -1, 3}, {1, 4, 2, -2}, {0, -3, 5, 1}, {7, 1, 0, 6}};
    float expected[4][4];
    for (int r = 0; r < 4; ++r) {
        for (int c = 0; c < 4; ++c) {
            int sum = 0;
            for (int k = 0; k < 4; ++k) {
                sum += static_cast<int>(a_rows[r][k]) * static_cast<int>(b_rows[k][c]);
            }
            expected[r][c] = static_cast<float>(sum);
        }
    }
    const mat4 a = from_rows(a_rows);
    const mat4 b = from_rows(b_rows);
    EXPECT_EQ(a * b, from_rows(expected));
    const vec4 v(1, -2, 3, 5);
    EXPECT_EQ((a * b) * v, a * (b * v));
    EXPECT_NE(a * b, b * a);
}

TEST(Product, ResultMayOverwriteAnOperand) {
    const functions::row& product = functions::find("product4");
    const mat4 a = functions::m4(product.in);
    const mat4 b = functions::m4(product.in + 16);
    mat4 left = a;
    left = left * b;
    mat4 right = b;
    right = a * right;
    mat4 both = a;
    both = both * both;
    EXPECT_TRUE(same_floats(left.data(), product.expected, 16));
    EXPECT_TRUE(same_floats(right.data(), product.expected, 16));
    EXPECT_TRUE(same_floats(both.data(), (a * a).data(), 16));
}

TEST(Mix, EndpointsQuarterAndExtrapolation) {
    const vec3 x(0.3f, -7.5f, 1e6f);
    const vec3 y(-2.25f, 0.1f, 3.0f);
    EXPECT_TRUE(same_floats(ormath::mix(x, y, 0).data(), x.data(), 3));
    EXPECT_TRUE(same_floats(ormath::mix(x, y, 1).data(), y.data(), 3));
    EXPECT_EQ(ormath::mix(vec3(1, 0, 0), vec3(0, 0, 1), 0.25f), vec3(0.75f, 0, 0.25f));
    // Not clamped: weight 2 gives 2y - x, weight -1 gives 2x - y (exact for these).
    EXPECT_EQ(ormath::mix(vec3(1, 2, 3), vec3(4, 8, -1), 2), vec3(7, 14, -5));
    EXPECT_EQ(ormath::mix(vec3(1, 2, 3), vec3(4, 8, -1), -1), vec3(-2, -4, 7));
}

TEST(Builders, RadiansAndTranslate) {
    EXPECT_EQ(bits(ormath::radians(180)), bits(0x1.921fb6p+1f));  // the float nearest pi
    EXPECT_EQ(bits(ormath::radians(0)), 0u);
    const mat4 t = ormath::translate(vec3(0, 0, -4));
    const float expected[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, -4, 1};
    EXPECT_TRUE(same_floats(t.data(), expected, 16));
}

TEST(Builders, RotateAboutZ) {
    const vec3 z(0, 0, 1);
    EXPECT_TRUE(same_floats(ormath::rotate(0, z).data(), mat4().data(), 16));

    // A quarter turn: cos of the float pi/2 is -0x1.777a5cp-25, not 0, and
    // cos + (1 - cos) then rounds to just below 1 instead of being set to 1.
    const mat4 quarter = ormath::rotate(90, z);
    const float c = -0x1.777a5cp-25f;
    const float expected[16] = {c, 1, 0, 0, -1, c, 0, 0, 0, 0, 0x1.fffffep-1f, 0, 0, 0, 0, 1};
    EXPECT_TRUE(same_floats(quarter.data(), expected, 16));
    const vec4 turned = quarter * vec4(1, 0, 0, 1);
    EXPECT_NEAR(turned.x, 0.0f, 1e-7f);
    EXPECT_EQ(turned.y, 1.0f);
}

TEST(Builders, RotateAboutAnyUnitAxisIsARotation) {
    // Rotating the axis leaves it in place; the matrix is orthonormal.
    const float s = 0x1.279a74p-1f;  // 1/sqrt(3), rounded
    const vec3 axes[] = {{1, 0, 0}, {0, 1, 0}, {0.6f, 0.8f, 0}, {s, -s, s}};
    for (const vec3& axis : axes) {
        for (float degrees : {-135.0f, 30.0f, 200.0f}) {
            const mat4 m = ormath::rotate(degrees, axis);
            const vec4 moved = m * vec4(axis, 0);
            for (int i = 0; i < 3; ++i) {
                EXPECT_NEAR(moved[i], axis[i], 1e-6f) << "axis component " << i << " at " << degrees;
            }
            const mat4 identity = m * ormath::rotate(-degrees, axis);
            for (int i = 0; i < 16; ++i) {
                EXPECT_NEAR(identity.data()[i], mat4().data()[i], 1e-6f);
            }
        }
    }
}

TEST(Builders, PerspectiveOfTheDemos) {
    const mat4 p = ormath::perspective(45, 4.0f / 3.0f, 0.1f, 100);
    // tan(22.5 degrees) is correctly rounded, so every entry is exact.
    EXPECT_EQ(bits(p[0][0]), bits(0x1.cf876ap+0f));   // 1.81066
    EXPECT_EQ(bits(p[1][1]), bits(0x1.3504f2p+1f));   // 2.41421
    EXPECT_EQ(bits(p[2][2]), bits(-0x1.008334p+0f));  // -1.002002
    EXPECT_EQ(bits(p[2][3]), bits(-1.0f));
    EXPECT_EQ(bits(p[3][2]), bits(-0x1.9a029p-3f));  // -0.2002002
    for (int i = 0; i < 16; ++i) {
        if (i != 0 && i != 5 && i != 10 && i != 11 && i != 14) {
            EXPECT_EQ(bits(p.data()[i]), 0u) << "float " << i;
        }
    }
    // The near and far planes map to depth -1 and +1; w is the eye distance.
    const vec4 near_point = p * vec4(0, 0, -0.1f, 1);
    const vec4 far_point = p * vec4(0, 0, -100, 1);
    EXPECT_FLOAT_EQ(near_point.w, 0.1f);
    EXPECT_FLOAT_EQ(near_point.z / near_point.w, -1.0f);
    EXPECT_FLOAT_EQ(far_point.z / far_point.w, 1.0f);
}

const float nan = std::numeric_limits<float>::quiet_NaN();
const float inf = std::numeric_limits<float>::infinity();

TEST(Construction, ConversionsBetweenSizes) {
    EXPECT_TRUE(same_floats(vec2(vec3(1, 2, 3)).data(), vec2(1, 2).data(), 2));
    EXPECT_TRUE(same_floats(vec3(vec4(1, 2, 3, 4)).data(), vec3(1, 2, 3).data(), 3));
    EXPECT_TRUE(same_floats(vec3(vec2(1, 2), 3).data(), vec3(1, 2, 3).data(), 3));
    EXPECT_TRUE(same_floats(vec4(vec2(1, 2), 3, 4).data(), vec4(1, 2, 3, 4).data(), 4));
    EXPECT_TRUE(same_floats(vec4(-0.0f).data(), vec4(-0.0f, -0.0f, -0.0f, -0.0f).data(), 4));
    EXPECT_EQ(vec2(5), vec2(5, 5));
    EXPECT_EQ(vec3(5), vec3(5, 5, 5));

    const float m2_identity[4] = {1, 0, 0, 1};
    const float m3_twos[9] = {2, 0, 0, 0, 2, 0, 0, 0, 2};
    EXPECT_TRUE(same_floats(mat2().data(), m2_identity, 4));
    EXPECT_TRUE(same_floats(mat3(2).data(), m3_twos, 9));
    const float* a = functions::find("product4").in;
    const mat3 upper(functions::m4(a));
    const float expected_upper[9] = {a[0], a[1], a[2], a[4], a[5], a[6], a[8], a[9], a[10]};
    EXPECT_TRUE(same_floats(upper.data(), expected_upper, 9));
    const float widened[16] = {a[0], a[1], a[2], 0, a[4], a[5], a[6], 0, a[8], a[9], a[10], 0, 0, 0, 0, 1};
    EXPECT_TRUE(same_floats(mat4(upper).data(), widened, 16));
    const mat3 identity;
    EXPECT_EQ(&identity[2][1], identity.data() + 7);
}

TEST(Arithmetic, EveryOperatorWithOperandsInTheirPlaces) {
    // Non-commutative operators with the scalar on either side catch swapped operands.
    EXPECT_EQ(vec2(1, 2) - vec2(4, 8), vec2(-3, -6));
    EXPECT_EQ(3.0f - vec3(1, 2, 3), vec3(2, 1, 0));
    EXPECT_EQ(vec3(1, 2, 3) - 3.0f, vec3(-2, -1, 0));
    EXPECT_EQ(1.0f / vec4(2, 4, -8, 16), vec4(0.5f, 0.25f, -0.125f, 0.0625f));
    EXPECT_EQ(vec4(2, 4, -8, 16) / 2.0f, vec4(1, 2, -4, 8));
    EXPECT_EQ(vec2(3, 8) / vec2(2, -4), vec2(1.5f, -2));
    EXPECT_EQ(vec3(1, 2, 3) * vec3(4, 5, -6), vec3(4, 10, -18));
    EXPECT_EQ(1.0f + vec2(1, 2), vec2(2, 3));
    EXPECT_EQ(vec2(1, 2) * 3.0f, 3.0f * vec2(1, 2));
    const vec3 flipped = -vec3(0, 1, -2);
    EXPECT_EQ(bits(flipped.x), bits(-0.0f));
    EXPECT_EQ(flipped, vec3(0, -1, 2));

    vec4 v(1, 2, 3, 4);
    v += vec4(1);
    v -= 0.5f;
    v *= vec4(2, 2, 2, -2);
    v /= 4.0f;
    EXPECT_EQ(v, vec4(0.75f, 1.25f, 1.75f, -2.25f));
    vec2 w(8, 6);
    w -= vec2(2, 1);
    w /= vec2(3, 5);
    w += 1.0f;
    w *= 2.0f;
    EXPECT_EQ(w, vec2(6, 4));
}

TEST(Arithmetic, SmallerMatricesMultiplyAsTheTextbookSays) {
    // Row r, column c is m[c][r]: the literals below are written by columns.
    const mat3 a({1, -5, 9}, {2, 6, -10}, {3, 7, 11});
    const mat3 b({2, 1, 0}, {0, 4, -3}, {-1, 2, 5});
    // Rows of a: (1 2 3), (-5 6 7), (9 -10 11); columns of b: (2 1 0), (0 4 -3), (-1 2 5).
    EXPECT_EQ(a * b, mat3({4, -4, 8}, {-1, 3, -73}, {18, 52, 26}));
    EXPECT_EQ(a * vec3(1, -1, 2), vec3(5, 3, 41));
    const mat2 c({1, 3}, {2, 4});
    EXPECT_EQ(c * mat2({0, 1}, {-1, 0}), mat2({2, 4}, {-1, -3}));
    EXPECT_EQ(c * vec2(1, 1), vec2(3, 7));

    EXPECT_EQ(a + b, mat3({3, -4, 9}, {2, 10, -13}, {2, 9, 16}));
    EXPECT_EQ(a - b, mat3({-1, -6, 9}, {2, 2, -7}, {4, 5, 6}));
    EXPECT_EQ(2.0f * c, c + c);
    EXPECT_EQ(c * 0.5f, mat2({0.5f, 1.5f}, {1, 2}));
    const mat4 m = functions::m4(functions::find("product4").in);
    EXPECT_EQ((m + m) - m, m);
    mat3 d = a;
    d *= b;
    EXPECT_EQ(d, a * b);
    d *= 2.0f;
    EXPECT_EQ(d, (a * b) * 2.0f);
    mat4 e = m;
    const mat4 other = functions::m4(functions::find("product4").in + 16);
    e *= other;
    EXPECT_TRUE(same_floats(e.data(), (m * other).data(), 16));
}

// GLSL leaves these cases open; the header defines them. Each row is a call
// and its exact result.
TEST(Functions, DefinedResultsOfTheCommonFunctions) {
    const struct {
        const char* call;
        float actual, expected;
    } cases[] = {
        {"abs(-0)", ormath::abs(-0.0f), 0.0f},
        {"abs(-inf)", ormath::abs(-inf), inf},
        {"sign(-0)", ormath::sign(-0.0f), -0.0f},
        {"sign(+0)", ormath::sign(0.0f), 0.0f},
        {"sign(-3)", ormath::sign(-3.0f), -1.0f},
        {"sign(NaN)", ormath::sign(nan), nan},
        {"floor(-0.5)", ormath::floor(-0.5f), -1.0f},
        {"ceil(-0.5)", ormath::ceil(-0.5f), -0.0f},
        {"fract(-1.25)", ormath::fract(-1.25f), 0.75f},
        {"fract(-2^-30)", ormath::fract(-0x1p-30f), 1.0f},
        {"mod(-1.5, 1)", ormath::mod(-1.5f, 1.0f), 0.5f},
        {"mod(1.5, -1)", ormath::mod(1.5f, -1.0f), -0.5f},
        {"mod(5.5, 2)", ormath::mod(5.5f, 2.0f), 1.5f},
        {"mod(1, 0)", ormath::mod(1.0f, 0.0f), nan},
        {"min(-0, +0)", ormath::min(-0.0f, 0.0f), -0.0f},
        {"min(+0, -0)", ormath::min(0.0f, -0.0f), 0.0f},
        {"max(-0, +0)", ormath::max(-0.0f, 0.0f), -0.0f},
        {"min(NaN, 1)", ormath::min(nan, 1.0f), nan},
        {"min(1, NaN)", ormath::min(1.0f, nan), 1.0f},
        {"max(NaN, 1)", ormath::max(nan, 1.0f), nan},
        {"max(1, NaN)", ormath::max(1.0f, nan), 1.0f},
        {"min(2, 1)", ormath::min(2.0f, 1.0f), 1.0f},
        {"max(2, 1)", ormath::max(2.0f, 1.0f), 2.0f},
        {"clamp(NaN, 0, 1)", ormath::clamp(nan, 0.0f, 1.0f), nan},
        {"clamp(2, NaN, 1)", ormath::clamp(2.0f, nan, 1.0f), 1.0f},
        {"clamp(-1, 0, NaN)", ormath::clamp(-1.0f, 0.0f, nan), 0.0f},
        {"clamp(0.5, 1, 0)", ormath::clamp(0.5f, 1.0f, 0.0f), 0.0f},
        {"mix(2, 6, 0.25)", ormath::mix(2.0f, 6.0f, 0.25f), 3.0f},
        {"mix(2, 6, -1)", ormath::mix(2.0f, 6.0f, -1.0f), -2.0f},
        {"step(1, 1)", ormath::step(1.0f, 1.0f), 1.0f},
        {"step(1, 0.5)", ormath::step(1.0f, 0.5f), 0.0f},
        {"step(0, -0)", ormath::step(0.0f, -0.0f), 1.0f},
        {"step(0, NaN)", ormath::step(0.0f, nan), 1.0f},
        {"smoothstep(0, 4, 1)", ormath::smoothstep(0.0f, 4.0f, 1.0f), 0.15625f},
        {"smoothstep(4, 0, 1)", ormath::smoothstep(4.0f, 0.0f, 1.0f), 0.84375f},
        {"smoothstep(0, 4, -1)", ormath::smoothstep(0.0f, 4.0f, -1.0f), 0.0f},
        {"smoothstep(0, 4, 5)", ormath::smoothstep(0.0f, 4.0f, 5.0f), 1.0f},
        {"smoothstep(1, 1, 1)", ormath::smoothstep(1.0f, 1.0f, 1.0f), nan},
        {"smoothstep(1, 1, 2)", ormath::smoothstep(1.0f, 1.0f, 2.0f), 1.0f},
        {"smoothstep(1, 1, 0)", ormath::smoothstep(1.0f, 1.0f, 0.0f), 0.0f},
        {"degrees(float pi)", ormath::degrees(0x1.921fb6p+1f), 180.0f},
        {"dot(3, -4)", ormath::dot(3.0f, -4.0f), -12.0f},
        {"length(-3)", ormath::length(-3.0f), 3.0f},
        {"distance(1, -2)", ormath::distance(1.0f, -2.0f), 3.0f},
        {"normalize(-0.5)", ormath::normalize(-0.5f), -1.0f},
        {"normalize(0)", ormath::normalize(0.0f), nan},
        {"faceforward(1, -1, 1)", ormath::faceforward(1.0f, -1.0f, 1.0f), 1.0f},
        {"faceforward(1, 1, 1)", ormath::faceforward(1.0f, 1.0f, 1.0f), -1.0f},
        {"faceforward(1, NaN, 1)", ormath::faceforward(1.0f, nan, 1.0f), -1.0f},
        {"reflect(1, -1)", ormath::reflect(1.0f, -1.0f), -1.0f},
        {"refract(-1, 1, 0.5)", ormath::refract(-1.0f, 1.0f, 0.5f), -1.0f},
        {"refract(-0.5, 1, 4)", ormath::refract(-0.5f, 1.0f, 4.0f), 0.0f},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(same_floats(&c.actual, &c.expected, 1)) << c.call;
    }
}

// The vector forms apply the float ones per component, mixed forms with the
// float in the place GLSL gives it.
TEST(Functions, VectorFormsAndTheirMixedForms) {
    const auto join = [](vec2 a, vec2 b) { return vec4(a, b.x, b.y); };
    const struct {
        const char* call;
        vec4 actual, expected;
    } cases[] = {
        {"abs", ormath::abs(vec4(-0.0f, -2, 3, -inf)), {0, 2, 3, inf}},
        {"sign", ormath::sign(vec4(-0.0f, -2, 3, nan)), {-0.0f, -1, 1, nan}},
        {"floor, ceil",
         join(ormath::floor(vec2(-0.5f, 1.5f)), ormath::ceil(vec2(-0.5f, 1.5f))),
         {-1, 1, -0.0f, 2}},
        {"fract", vec4(ormath::fract(vec3(-1.25f, 2.5f, 3)), 0), {0.75f, 0.5f, 0, 0}},
        {"mod(v, v)", vec4(ormath::mod(vec3(-1.5f, 5.5f, 1.5f), vec3(1, 2, -1)), 0), {0.5f, 1.5f, -0.5f, 0}},
        {"mod(v, float)", ormath::mod(vec4(-1.5f, 5.5f, 1.5f, 2), 2.0f), {0.5f, 1.5f, 1.5f, 0}},
        {"min(v, v)", ormath::min(vec4(1, -0.0f, nan, 2), vec4(2, 0, 1, nan)), {1, -0.0f, nan, 2}},
        {"min(v, float)", ormath::min(vec4(1, -1, nan, 0), 0.0f), {0, -1, nan, 0}},
        {"max(v, float)", ormath::max(vec4(1, -1, nan, -0.0f), 0.0f), {1, 0, nan, -0.0f}},
        {"clamp(v, float, float)", ormath::clamp(vec4(-1, 0.5f, 2, nan), 0.0f, 1.0f), {0, 0.5f, 1, nan}},
        {"clamp(v, v, v)",
         ormath::clamp(vec4(-1, 0.5f, 2, 3), vec4(0), vec4(1, 0.25f, 4, 2)),
         {0, 0.25f, 2, 2}},
        {"mix(v, v, float)", ormath::mix(vec4(2, 4, 0, 1), vec4(6, 8, 1, 1), 0.25f), {3, 5, 0.25f, 1}},
        {"mix(v, v, v)", vec4(ormath::mix(vec2(2, 4), vec2(6, 8), vec2(0.25f, 0.5f)), 0, 0), {3, 6, 0, 0}},
        {"step(float, v)", vec4(ormath::step(0.5f, vec2(0.25f, 0.75f)), 0, 0), {0, 1, 0, 0}},
        {"step(v, v)", ormath::step(vec4(1, 2, 3, 4), vec4(2, 2, 2, 2)), {1, 1, 0, 0}},
        {"smoothstep(float, float, v)",
         vec4(ormath::smoothstep(0.0f, 4.0f, vec3(1, -1, 5)), 0),
         {0.15625f, 0, 1, 0}},
        {"smoothstep(v, v, v)",
         vec4(ormath::smoothstep(vec2(0, 4), vec2(4, 0), vec2(1, 1)), 0, 0),
         {0.15625f, 0.84375f, 0, 0}},
        {"radians, degrees",
         join(ormath::radians(vec2(180, 0)), ormath::degrees(vec2(0x1.921fb6p+1f, 0))),
         {0x1.921fb6p+1f, 0, 180, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_TRUE(same_floats(c.actual.data(), c.expected.data(), 4)) << c.call;
    }
}

TEST(Geometry, ExactValuesAndTheUnitAxes) {
    const vec3 x(1, 0, 0), y(0, 1, 0), z(0, 0, 1);
    EXPECT_EQ(ormath::cross(x, y), z);
    EXPECT_EQ(ormath::cross(y, z), x);
    EXPECT_EQ(ormath::cross(z, x), y);
    EXPECT_EQ(ormath::cross(y, x), -z);
    EXPECT_EQ(ormath::cross(vec3(1, 2, 3), vec3(4, 5, 6)), vec3(-3, 6, -3));
    EXPECT_EQ(ormath::dot(vec4(1, 2, 3, 4), vec4(5, -6, 7, -8)), -18.0f);
    EXPECT_EQ(ormath::dot(vec2(1, 2), vec2(3, 4)), 11.0f);
    EXPECT_EQ(ormath::length(vec2(3, -4)), 5.0f);
    EXPECT_EQ(ormath::distance(vec3(1, 2, 3), vec3(3, 5, 9)), 7.0f);
    // Dividing by the length rounds each component once: 3/5 is the float 0.6.
    EXPECT_EQ(ormath::normalize(vec3(3, 0, -4)), vec3(0.6f, 0, -0.8f));
    EXPECT_EQ(ormath::reflect(vec3(1, -1, 0), y), vec3(1, 1, 0));
    EXPECT_EQ(ormath::faceforward(y, vec3(0, -1, 0), y), y);
    EXPECT_EQ(ormath::faceforward(y, vec3(0, 1, 0), y), -y);
    // Straight through at eta 1; beyond the critical angle nothing comes out.
    EXPECT_EQ(ormath::refract(vec3(0.6f, -0.8f, 0), y, 1.0f), vec3(0.6f, -0.8f, 0));
    EXPECT_TRUE(same_floats(ormath::refract(vec3(0.8f, -0.6f, 0), y, 1.5f).data(), vec3().data(), 3));
}

TEST(Geometry, DegenerateVectorsGiveNaN) {
    const vec3 zero;
    const vec3 v = ormath::normalize(zero);
    EXPECT_TRUE(std::isnan(v.x) && std::isnan(v.y) && std::isnan(v.z));
    const vec3 endless = ormath::normalize(vec3(inf, 1, 0));  // inf / inf and 1 / inf
    EXPECT_TRUE(std::isnan(endless.x));
    EXPECT_EQ(vec2(endless.y, endless.z), vec2(0, 0));
    EXPECT_TRUE(std::isnan(ormath::normalize(vec4()).w));
    EXPECT_TRUE(std::isnan(ormath::normalize(vec2()).x));
    // Unscaled: a component beyond sqrt of the largest float overflows.
    EXPECT_EQ(ormath::length(vec3(0x1p70f, 0, 0)), inf);
}

TEST(MatrixFunctions, TransposeIsExactAndUndoesItself) {
    const mat4 m = functions::m4(functions::find("product4").in);
    EXPECT_TRUE(same_floats(ormath::transpose(ormath::transpose(m)).data(), m.data(), 16));
    EXPECT_EQ(ormath::transpose(m)[1][3], m[3][1]);
    const mat3 m3(m);
    EXPECT_TRUE(same_floats(ormath::transpose(ormath::transpose(m3)).data(), m3.data(), 9));
    EXPECT_EQ(ormath::transpose(m3)[0][2], m3[2][0]);
    EXPECT_EQ(ormath::transpose(mat2({1, 2}, {3, 4})), mat2({1, 3}, {2, 4}));
}

TEST(MatrixFunctions, DeterminantsOfIntegerMatricesAreExact) {
    EXPECT_EQ(ormath::determinant(mat2({1, 3}, {2, 4})), -2.0f);
    EXPECT_EQ(ormath::determinant(mat3({1, -5, 9}, {2, 6, -10}, {3, 7, 11})), 360.0f);
    const float rows[4][4] = {{2, 0, 1, 3}, {1, -1, 0, 2}, {0, 4, 1, -1}, {3, 1, 2, 0}};
    EXPECT_EQ(ormath::determinant(from_rows(rows)), -8.0f);
    EXPECT_EQ(ormath::determinant(ormath::scale(vec3(2, 0.5f, -4))), -4.0f);
}

// A rigid transform with whole-number entries: a rotation by quarter turns
// (a signed permutation) and a translation. Its inverse is the transposed
// rotation and the translation turned back, all exact.
TEST(MatrixFunctions, InversesOfRigidTransformsAndPowerOfTwoDiagonalsAreExact) {
    // Rows of R, t and the expected rows of the inverse, R^T and -R^T t.
    const float rigid_rows[4][4] = {{0, -1, 0, 3}, {0, 0, 1, -2}, {-1, 0, 0, 5}, {0, 0, 0, 1}};
    const float inverse_rows[4][4] = {{0, 0, -1, 5}, {-1, 0, 0, 3}, {0, 1, 0, 2}, {0, 0, 0, 1}};
    EXPECT_EQ(ormath::inverse(from_rows(rigid_rows)), from_rows(inverse_rows));
    EXPECT_EQ(ormath::inverse(from_rows(inverse_rows)), from_rows(rigid_rows));
    EXPECT_EQ(ormath::inverse(mat3({0, 1, 0}, {0, 0, -1}, {-1, 0, 0})),
              mat3({0, 0, -1}, {1, 0, 0}, {0, -1, 0}));
    EXPECT_EQ(ormath::inverse(mat2({0, -1}, {1, 0})), mat2({0, 1}, {-1, 0}));

    const mat4 diagonal({0.25f, 0, 0, 0}, {0, -8, 0, 0}, {0, 0, 2, 0}, {0, 0, 0, 0x1p-10f});
    const mat4 undone({4, 0, 0, 0}, {0, -0.125f, 0, 0}, {0, 0, 0.5f, 0}, {0, 0, 0, 0x1p10f});
    EXPECT_EQ(ormath::inverse(diagonal), undone);
    EXPECT_EQ(ormath::inverse(mat3({0.5f, 0, 0}, {0, 4, 0}, {0, 0, -0.25f})),
              mat3({2, 0, 0}, {0, 0.25f, 0}, {0, 0, -4}));
    EXPECT_EQ(ormath::inverse(mat2({16, 0}, {0, -0.5f})), mat2({0.0625f, 0}, {0, -2}));
    EXPECT_EQ(ormath::inverse(ormath::translate(vec3(1, -2, 3))), ormath::translate(vec3(-1, 2, -3)));
}

// inverse(M) * M against the identity for M = I + E with |e_ij| <= 0.075.
// Bound, with u = 2^-24: every row and column of |M| sums to at most 1.3, so
// an adjugate entry's terms (a 3x3 minor) sum to at most 1.3^3 = 2.2 in
// absolute value and the determinant's to at most 1.3^4 = 2.9; each is
// formed with at most 7 roundings in a row, so their errors are below 7u * 2.2
// and 7u * 2.9. The eigenvalues of M lie within 0.3 of 1 (Gershgorin), so
// |det M| >= 0.7^4 = 0.24, the computed determinant is within
// 7u * 2.9 / 0.24 = 85u of its value relatively, and |M^-1| has row sums of
// at most 1 / 0.7 = 1.43. An entry of the computed inverse, the adjugate
// entry times the rounded reciprocal, is then within
// 7u * 2.2 / 0.24 + 1.43 * (85u + 2u) = 189u of the true one. The product
// with M adds at most 1.3 * 189u from those errors plus its own 4 roundings
// of terms summing to 1.43 * 1.3 (8u): in all below 256u. (Observed: 6u.)
TEST(MatrixFunctions, InverseTimesMatrixIsTheIdentityWithinTheDerivedBound) {
    const float bound = 256.0f * 0x1p-24f;
    std::mt19937 engine(99);
    std::uniform_real_distribution<float> small(-0.075f, 0.075f);
    float worst = 0;
    for (int round = 0; round < 2000; ++round) {
        mat4 m;
        for (int i = 0; i < 16; ++i) {
            m.data()[i] += small(engine);
        }
        const mat4 product = ormath::inverse(m) * m;
        for (int i = 0; i < 16; ++i) {
            worst = std::fmax(worst, std::fabs(product.data()[i] - mat4().data()[i]));
        }
        const mat3 m3(m);
        const mat3 product3 = ormath::inverse(m3) * m3;
        for (int i = 0; i < 9; ++i) {
            worst = std::fmax(worst, std::fabs(product3.data()[i] - mat3().data()[i]));
        }
    }
    EXPECT_LE(worst, bound);
}

TEST(MatrixFunctions, SingularMatricesGiveInfinitiesOrNaN) {
    // Exactly singular: row 2 is row 0 plus row 1.
    const float rows[4][4] = {{1, 2, 0, 1}, {0, 1, 3, -1}, {1, 3, 3, 0}, {2, 0, 1, 1}};
    const mat4 singular = from_rows(rows);
    EXPECT_EQ(ormath::determinant(singular), 0.0f);
    const mat4 inverse = ormath::inverse(singular);
    for (int i = 0; i < 16; ++i) {
        EXPECT_FALSE(std::isfinite(inverse.data()[i])) << "float " << i;
    }
    // The zero matrix: every cofactor is 0, times an infinite reciprocal.
    for (float f : {ormath::inverse(mat4(0.0f))[2][1], ormath::inverse(mat3(0.0f))[0][0],
                    ormath::inverse(mat2(0.0f))[1][1]}) {
        EXPECT_TRUE(std::isnan(f));
    }
    EXPECT_EQ(ormath::inverse(mat2({1, 2}, {2, 4}))[0][0], inf);
}

TEST(Builders, ScaleFrustumAndOrthoEntryByEntry) {
    const float scaled[16] = {2, 0, 0, 0, 0, -3, 0, 0, 0, 0, 0.5f, 0, 0, 0, 0, 1};
    EXPECT_TRUE(same_floats(ormath::scale(vec3(2, -3, 0.5f)).data(), scaled, 16));
    // An off-centre frustum: (r + l) / (r - l) = 0.5, (t + b) / (t - b) = -1/3 rounded.
    const float frustum[16] = {0.5f, 0, 0, 0, 0, 2.0f / 3.0f, 0, 0, 0.5f, -1.0f / 3.0f, -2, -1, 0, 0, -3, 0};
    EXPECT_TRUE(same_floats(ormath::frustum(-1, 3, -2, 1, 1, 3).data(), frustum, 16));
    const float ortho[16] = {2.0f / 640, 0, 0, 0, 0, -2.0f / 480, 0, 0, 0, 0, -1, 0, -1, 1, -0.0f, 1};
    EXPECT_TRUE(same_floats(ormath::ortho(0, 640, 480, 0, -1, 1).data(), ortho, 16));
    // Equal planes divide by zero.
    EXPECT_EQ(ormath::frustum(1, 1, -1, 1, 1, 2)[0][0], inf);
    EXPECT_TRUE(std::isnan(ormath::frustum(0, 0, -1, 1, 1, 2)[2][0]));
    EXPECT_EQ(ormath::frustum(-1, 1, -1, 1, 2, 2)[2][2], -inf);
    EXPECT_EQ(ormath::ortho(-1, 1, 0, 0, -1, 1)[1][1], inf);
}

TEST(Builders, PerspectiveIsTheSymmetricFrustum) {
    for (const float fovy : {30.0f, 45.0f, 100.0f}) {
        // Each step rounded on its own, as perspective rounds it, also on x87.
        using ormath::rounded;
        const float range = rounded(ormath::tan(rounded((fovy / 2.0f) * 0.017453292f)) * 0.1f);
        const float aspect = 4.0f / 3.0f;
        const mat4 frustum =
            ormath::frustum(rounded(-range * aspect), rounded(range * aspect), -range, range, 0.1f, 100);
        EXPECT_TRUE(same_floats(ormath::perspective(fovy, aspect, 0.1f, 100).data(), frustum.data(), 16))
            << fovy;
    }
}

TEST(Builders, LookAtPutsTheCentreAheadOfTheEye) {
    // From (1, 2, 3) along -z with an up vector of length 2: a pure translation.
    EXPECT_EQ(ormath::look_at(vec3(1, 2, 3), vec3(1, 2, -1), vec3(0, 2, 0)),
              ormath::translate(vec3(-1, -2, -3)));
    // Looking along -x with z up: x goes to depth, y to the right, z up.
    const mat4 view = ormath::look_at(vec3(0, 0, 0), vec3(-3, 0, 0), vec3(0, 0, 1));
    EXPECT_EQ(view, mat4({0, 0, 1, 0}, {1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 0, 1}));
    EXPECT_EQ(view * vec4(-3, 0, 0, 1), vec4(0, 0, -3, 1));
    const mat4 moved = ormath::look_at(vec3(5, 1, -2), vec3(2, 1, -2), vec3(0, 0, 3));
    EXPECT_EQ(moved * vec4(2, 1, -2, 1), vec4(0, 0, -3, 1));
    EXPECT_EQ(moved * vec4(5, 2, -1, 1), vec4(1, 1, 0, 1));
    // Nowhere to look: NaN throughout the 3x3 block and the translation. Up
    // along the view: NaN in the rows of s and u, while row 2 is still -f.
    const mat4 nowhere = ormath::look_at(vec3(1, 1, 1), vec3(1, 1, 1), vec3(0, 1, 0));
    const mat4 upright = ormath::look_at(vec3(0, 0, 0), vec3(0, 5, 0), vec3(0, 1, 0));
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 3; ++r) {
            EXPECT_TRUE(std::isnan(nowhere[c][r])) << "column " << c << " row " << r;
            EXPECT_EQ(std::isnan(upright[c][r]), r < 2) << "column " << c << " row " << r;
        }
    }
    EXPECT_EQ(upright[1][2], -1.0f);
}

TEST(Builders, ProjectAndUnprojectMapExactlyWhereTheArithmeticIsExact) {
    const vec4 viewport(10, 20, 200, 100);
    const mat4 modelview = ormath::translate(vec3(0.25f, 0, -1));
    const mat4 projection = ormath::scale(vec3(1, 1, -0.5f));
    // Object (0.25, -0.5, 0.5) -> eye (0.5, -0.5, -0.5) -> ndc (0.5, -0.5, 0.25).
    const vec3 window = ormath::project(vec3(0.25f, -0.5f, 0.5f), modelview, projection, viewport);
    EXPECT_EQ(window, vec3(160, 45, 0.625f));
    EXPECT_EQ(ormath::unproject(window, modelview, projection, viewport), vec3(0.25f, -0.5f, 0.5f));
    // The eye's plane and a singular product are IEEE results, not traps.
    const vec3 at_eye = ormath::project(vec3(0, 0, 0), mat4(), ormath::perspective(45, 1, 1, 10), viewport);
    EXPECT_FALSE(std::isfinite(at_eye.x));
    const vec3 lost = ormath::unproject(window, mat4(0.0f), projection, viewport);
    EXPECT_TRUE(std::isnan(lost.x) && std::isnan(lost.y) && std::isnan(lost.z));
}

}  // namespace
