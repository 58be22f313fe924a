// Ormath's quaternion: the exact quarter turns, the conventions its
// functions state, and the conversions within derived bounds of the matrix
// that rotate() builds and of their own round trip.
#include <ormath/ormath.hpp>

#include "bits.hpp"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <type_traits>
#include <vector>

using ormath::mat3;
using ormath::quat;
using ormath::vec3;

namespace {

constexpr double u = 0x1p-24;        // the unit roundoff of float
constexpr float s = 0x1.6a09e6p-1f;  // sqrt(1/2) rounded

const vec3 axes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {-1, 0, 0}, {0, 0, -1}};

// v turned by a quarter turn counter-clockwise about the unit axis e (a
// signed basis vector): e x v + (e . v) e, in integers.
vec3 quarter_turn(const vec3& e, const vec3& v) {
    const float along = e.x * v.x + e.y * v.y + e.z * v.z;
    return {e.y * v.z - e.z * v.y + along * e.x, e.z * v.x - e.x * v.z + along * e.y,
            e.x * v.y - e.y * v.x + along * e.z};
}

TEST(Quaternion, QuarterTurnsAboutTheAxesAreExact) {
    const vec3 probes[] = {{1, 0, 0}, {0, 1, 0}, {0, 0, 1}, {2, -3, 5}};
    for (const vec3& e : axes) {
        for (int k = -5; k <= 9; ++k) {
            // 1000 whole turns more on top changes nothing: the half angle is reduced exactly.
            for (const float angle :
                 {90.0f * static_cast<float>(k), 90.0f * static_cast<float>(k) + 360000.0f}) {
                const quat q = ormath::quat_rotation(angle, e);
                // cos and sin of 45 k degrees: 0, +-1 or +-sqrt(1/2) rounded.
                const bool odd = k % 2 != 0, whole = k % 4 == 0;
                EXPECT_EQ(std::fabs(q.w), odd ? s : whole ? 1.0f : 0.0f) << angle;
                EXPECT_EQ(ormath::length(vec3(q.x, q.y, q.z)), odd ? s : whole ? 0.0f : 1.0f) << angle;
                const mat3 m(q);
                for (vec3 v : probes) {
                    const vec3 turned_by_q = q * v, turned_by_m = m * v;
                    for (int i = 0; i < ((k % 4) + 4) % 4; ++i) {
                        v = quarter_turn(e, v);
                    }
                    if (ormath::dot(v, v) == 1.0f) {  // q * v: the axes exactly; mat3(q): everything
                        EXPECT_EQ(turned_by_q, v) << "q * v, angle " << angle;
                    }
                    EXPECT_EQ(turned_by_m, v) << "mat3(q) * v, angle " << angle;
                }
                const quat back(m);
                EXPECT_TRUE(back == q || back == -q) << angle;
            }
        }
    }
}

TEST(Quaternion, ProductsComposeRightToLeftAsHamiltonDefined) {
    const quat i(1, 0, 0, 0), j(0, 1, 0, 0), k(0, 0, 1, 0), one;
    struct row {
        quat a, b, product;
    };
    const row rows[] = {{i, j, k}, {j, k, i}, {k, i, j}, {j, i, -k}, {i, i, -one}, {one, k, k}};
    for (const row& r : rows) {
        EXPECT_EQ(r.a * r.b, r.product);
    }
    // p acts first: a half turn about y leaves y, then a quarter turn about x takes it to z.
    const quat about_x = ormath::quat_rotation(90, {1, 0, 0}),
               about_y = ormath::quat_rotation(180, {0, 1, 0});
    EXPECT_EQ((about_x * about_y) * vec3(0, 1, 0), vec3(0, 0, 1));
    EXPECT_EQ((about_y * about_x) * vec3(0, 1, 0), vec3(0, 0, -1));
}

// Neither converts to the other, even explicitly: a quat is not four numbers.
static_assert(!std::is_constructible_v<quat, ormath::vec4> && !std::is_constructible_v<ormath::vec4, quat>);

TEST(Quaternion, ConjugateAndTheLengthThatTurningIgnores) {
    EXPECT_EQ(ormath::conjugate(quat(1, -2, 3, 4)), quat(-1, 2, -3, 4));
    EXPECT_EQ(ormath::inverse(quat(0, 0, 2, 0)), quat(0, 0, -0.5f, 0));
    // q * v divides by dot(q, q): a longer quaternion turns alike.
    EXPECT_EQ(quat(0, 0, 3, 3) * vec3(1, 0, 0), vec3(0, 1, 0));
    EXPECT_TRUE(std::isnan((quat(0, 0, 0, 0) * vec3(1, 0, 0)).x));
}

TEST(Quaternion, AngleAxisAndBetweenStateTheirSpecialCases) {
    EXPECT_EQ(ormath::angle(quat()), 0.0f);
    EXPECT_EQ(ormath::axis(quat()), vec3(0, 0, 1));
    EXPECT_EQ(ormath::axis(quat(0, 0, 0, -2)), vec3(0, 0, 1));
    EXPECT_EQ(ormath::angle(quat(1, 0, 0, 0)), 180.0f);  // degrees(2 * atan2(1, 0)), the float pi in degrees
    EXPECT_EQ(ormath::axis(quat(0, -4, 0, 1)), vec3(0, -1, 0));
    // q and -q: a and 360 - a, about opposite axes.
    // q and -q: a and 360 - a. The sines, the arc tangent and two conversions
    // put some 8u of a radian into the angle: 1e-4 degrees is ample.
    const quat q = ormath::quat_rotation(60, {0, 0, 1});
    EXPECT_NEAR(ormath::angle(q), 60.0f, 1e-4f);
    EXPECT_NEAR(ormath::angle(-q), 300.0f, 1e-4f);

    struct row {
        vec3 from, to;
        quat expected;
    };
    const row rows[] = {
        {{1, 0, 0}, {1, 0, 0}, quat()},
        {{1, 0, 0}, {0, 1, 0}, quat(0, 0, s, s)},
        // Opposite: a half turn about from x e, e the axis of from's smallest component.
        {{1, 0, 0}, {-1, 0, 0}, quat(0, 0, 1, 0)},
        {{0, 1, 0}, {0, -1, 0}, quat(0, 0, -1, 0)},
        {{0, 0, -1}, {0, 0, 1}, quat(0, -1, 0, 0)},
    };
    for (const row& r : rows) {
        const quat q = ormath::quat_between(r.from, r.to);
        EXPECT_TRUE(same_floats(q.data(), r.expected.data(), 4))
            << r.from.x << " " << r.from.y << " " << r.from.z;
    }
}

TEST(Quaternion, SlerpEndsExtrapolationShorterArcAndNearParallel) {
    const quat q = ormath::quat_rotation(20, {0, 0, 1}), p = ormath::quat_rotation(80, {0, 0, 1});
    EXPECT_EQ(ormath::slerp(q, p, 0), q);
    EXPECT_EQ(ormath::slerp(q, p, 1), p);
    EXPECT_EQ(ormath::slerp(q, -p, 0.3f), ormath::slerp(q, p, 0.3f));  // -p is the same turn
    // Half way, and t = 2 and -1 continue at the same speed: 50, 140 and -40
    // degrees. acos, the sines and their quotients put a few u (2^-24) into a
    // and b, and the angles' own conversions a few more: 1e-6, 17u, covers it.
    const struct {
        float t;
        double degrees;
    } steps[] = {{0.5f, 50}, {2, 140}, {-1, -40}};
    for (const auto& step : steps) {
        const quat r = ormath::slerp(q, p, step.t);
        const double half = step.degrees * M_PI / 360;
        EXPECT_NEAR(r.z, std::sin(half), 1e-6) << step.t;
        EXPECT_NEAR(r.w, std::cos(half), 1e-6) << step.t;
    }
    // Within 0.9995 of each other: nlerp's bits.
    const quat near = ormath::quat_rotation(22, {0, 0, 1});
    ASSERT_GT(ormath::dot(q, near), 0.9995f);
    EXPECT_EQ(ormath::slerp(q, near, 0.4f), ormath::nlerp(q, near, 0.4f));
    EXPECT_EQ(ormath::nlerp(q, -p, 0.3f), ormath::nlerp(q, p, 0.3f));
}

// Random unit axes and angles. mat3(quat_rotation(a, axis)) against
// rotate(a, axis), both against the exact turn R by a about the axis, for
// entries of size up to 1:
// - rotate converts a to radians (2u |a| in the angle, and R's entries move
//   by no more than the angle), rounds sin and cos (2u each) and forms each
//   entry with four roundings (4u), and takes the axis, |axis| = 1 + 3u at
//   most, as unit (3u): 11u + 2u |a|;
// - quat_rotation reduces the half angle exactly to at most 45 degrees and
//   converts that (2u pi/4 in the half angle, 3.2u in the turn), rounds sin
//   and cos (2u) and their product with the axis (u): each component within
//   3u, 6u in norm, which turns the rotation by 12u at most; mat3 rounds a
//   product, two sums and a quotient of values up to 2 (8u) and takes the
//   axis as it is (3u): 27u.
// Hence 38u + 2u |a| between the two; the test allows 40u + 2u |a|.
// The round trip quat(mat3(q)) against q (or -q): its largest component k
// >= 1/2 comes from 1 plus three entries (each 8u off, three sums of
// values up to 4: 36u on 4k^2 >= 1), so after the square root 19u; the
// others are sums of two entries (18u) over 4k >= 2, plus k's relative
// error: 30u; q's own length is within 6u of 1 (3u on q's direction):
// 33u, and the test allows 36u.
TEST(Quaternion, MatricesMatchRotateAndRoundTripWithinDerivedBounds) {
    std::mt19937 random(2026);
    std::uniform_real_distribution<float> coordinate(-1, 1), degrees(-720, 720);
    double worst_rotate = 0, worst_trip = 0;
    for (int round = 0; round < 20000; ++round) {
        const vec3 axis = ormath::normalize(vec3(coordinate(random), coordinate(random), coordinate(random)));
        const float a = degrees(random);
        const quat q = ormath::quat_rotation(a, axis);
        const mat3 m(q);
        const ormath::mat4 r = ormath::rotate(a, axis);
        const double rotate_bound = 40 * u + 2 * u * std::fabs(a * M_PI / 180);
        for (int c = 0; c < 3; ++c) {
            for (int k = 0; k < 3; ++k) {
                const double difference = std::fabs(double{m[c][k]} - r[c][k]);
                worst_rotate = std::max(worst_rotate, difference / rotate_bound);
                ASSERT_LE(difference, rotate_bound) << "angle " << a << ", entry " << c << ", " << k;
            }
        }
        const quat back(m);
        const double sign = ormath::dot(back, q) < 0 ? -1 : 1;
        for (int i = 0; i < 4; ++i) {
            const double difference = std::fabs(sign * back.data()[i] - q.data()[i]);
            worst_trip = std::max(worst_trip, difference / (36 * u));
            ASSERT_LE(difference, 36 * u) << "angle " << a << ", component " << i;
        }
    }
    std::printf("mat3(quat_rotation) against rotate: worst %.3f of the bound; round trip: worst %.3f\n",
                worst_rotate, worst_trip);
}

}  // namespace
