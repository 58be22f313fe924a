// Ormath's values, construction and layout, case by case. Expectations are
// exact except after sine, cosine and tangent, whose last bit belongs to libm.
#include <ormath/ormath.hpp>

#include "bits.hpp"
#include "exact_cases.hpp"

#include <cstddef>

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

TEST(Layout, ArraysOfVectorsArePackedFloats) {
    const vec3 colours[4];
    const float* first = colours[0].data();
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(bits(first[i]), 0u) << "float " << i;
    }
    EXPECT_EQ(colours[1].data(), first + 3);

    const vec2 corners[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
    for (std::ptrdiff_t i = 0; i < 4; ++i) {
        EXPECT_EQ(corners[i].data(), corners[0].data() + 2 * i);
        EXPECT_EQ(corners[0].data()[2 * i + 1], 2.0f * static_cast<float>(i) + 2.0f);
    }
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
    const mat4 m = matrix_from(exact_cases::product_a);
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
    const mat4 a = matrix_from(exact_cases::product_a);
    const mat4 b = matrix_from(exact_cases::product_b);
    mat4 left = a;
    left = left * b;
    mat4 right = b;
    right = a * right;
    mat4 both = a;
    both = both * both;
    EXPECT_TRUE(same_floats(left.data(), exact_cases::product_ab, 16));
    EXPECT_TRUE(same_floats(right.data(), exact_cases::product_ab, 16));
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
    // The tangent's last bit belongs to libm; the depth terms are exact.
    EXPECT_NEAR(p[0][0], 1.81066f, 1e-5f);
    EXPECT_NEAR(p[1][1], 2.41421f, 1e-5f);
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

}  // namespace
