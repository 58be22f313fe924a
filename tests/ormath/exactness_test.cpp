// Ormath's results must be the bits of the written evaluation order also in a
// program built to fuse and vectorise: this file is compiled with -O3
// -march=native -ffp-contract=fast and compared with a reference compiled at
// -O0 with contraction off.
#include <ormath/ormath.hpp>

#include "bits.hpp"
#include "exact_cases.hpp"
#include "families.hpp"
#include "reference.hpp"

#include <random>

using ormath::mat4;
using ormath::vec3;
using ormath::vec4;

namespace {

// Floats over a wide range of magnitudes and both signs, with the odd zero.
class float_source {
 public:
    explicit float_source(unsigned seed, int max_exponent = 24)
        : engine_(seed), max_exponent_(max_exponent) {}
    float operator()() {
        const int kind = std::uniform_int_distribution<int>(0, 31)(engine_);
        if (kind == 0) {
            return kind_zero_sign() ? -0.0f : 0.0f;
        }
        const float mantissa = std::uniform_real_distribution<float>(1.0f, 2.0f)(engine_);
        const int exponent = std::uniform_int_distribution<int>(-max_exponent_, max_exponent_)(engine_);
        return (kind_zero_sign() ? -1.0f : 1.0f) * std::ldexp(mantissa, exponent);
    }

    // Blend weights, mostly inside 0..1 but also beyond it on both sides.
    float weight() { return std::uniform_real_distribution<float>(-2.0f, 2.0f)(engine_); }

 private:
    bool kind_zero_sign() { return std::uniform_int_distribution<int>(0, 1)(engine_) == 1; }
    std::mt19937 engine_;
    int max_exponent_;
};

TEST(Exactness, BuildFusesWhereTheProcessorCan) {
#if defined(__x86_64__)
    // Without FMA in this build the comparisons below would prove nothing.
    if (__builtin_cpu_supports("fma")) {
#ifndef __FMA__
        FAIL() << "this test must be built with -march=native on a processor with FMA";
#endif
    }
#endif
}

TEST(Exactness, KnownCasesThatFusingChanges) {
    float reference_ab[16];
    reference::product(exact_cases::product_a, exact_cases::product_b, reference_ab);
    ASSERT_TRUE(same_floats(reference_ab, exact_cases::product_ab, 16)) << "the table itself is wrong";

    const mat4 ab = matrix_from(exact_cases::product_a) * matrix_from(exact_cases::product_b);
    EXPECT_TRUE(same_floats(ab.data(), exact_cases::product_ab, 16));

    for (const auto& c : exact_cases::mixes) {
        const vec3 blended =
            ormath::mix(ormath::vec3(c.x[0], c.x[1], c.x[2]), ormath::vec3(c.y[0], c.y[1], c.y[2]), c.a);
        EXPECT_TRUE(same_floats(blended.data(), c.expected, 3));
    }
}

TEST(Exactness, ConstantEvaluationGivesTheSameBits) {
    constexpr mat4 a = matrix_from(exact_cases::product_a);
    constexpr mat4 b = matrix_from(exact_cases::product_b);
    constexpr mat4 ab = a * b;
    EXPECT_TRUE(same_floats(ab.data(), exact_cases::product_ab, 16));

    constexpr auto& c = exact_cases::mixes[0];
    constexpr vec3 blended =
        ormath::mix(ormath::vec3(c.x[0], c.x[1], c.x[2]), ormath::vec3(c.y[0], c.y[1], c.y[2]), c.a);
    EXPECT_TRUE(same_floats(blended.data(), c.expected, 3));
}

TEST(Exactness, RandomProductsAndBlendsMatchTheReference) {
    float_source next(20261208);
    for (int round = 0; round < 20000; ++round) {
        float a[16], b[16], v[4], x[3], y[3], expected[16];
        for (float& f : a)
            f = next();
        for (float& f : b)
            f = next();
        for (float& f : v)
            f = next();
        for (float& f : x)
            f = next();
        for (float& f : y)
            f = next();
        const float weight = next.weight();

        reference::product(a, b, expected);
        const mat4 ab = matrix_from(a) * matrix_from(b);
        ASSERT_TRUE(same_floats(ab.data(), expected, 16)) << "product, round " << round;

        reference::transform(a, v, expected);
        const vec4 av = matrix_from(a) * vec4(v[0], v[1], v[2], v[3]);
        ASSERT_TRUE(same_floats(av.data(), expected, 4)) << "matrix times vector, round " << round;

        reference::mix(x, y, weight, expected);
        const vec3 blended =
            ormath::mix(ormath::vec3(x[0], x[1], x[2]), ormath::vec3(y[0], y[1], y[2]), weight);
        ASSERT_TRUE(same_floats(blended.data(), expected, 3)) << "mix, round " << round;
    }
}

TEST(Exactness, BuildersMatchTheReference) {
    std::mt19937 engine(7);
    std::uniform_real_distribution<float> angle(-720.0f, 720.0f);
    std::uniform_real_distribution<float> coordinate(-1.0f, 1.0f);
    for (int round = 0; round < 5000; ++round) {
        const float degrees = angle(engine);
        vec3 axis(coordinate(engine), coordinate(engine), coordinate(engine));
        const float length = std::sqrt(axis.x * axis.x + axis.y * axis.y + axis.z * axis.z);
        axis = (1.0f / length) * axis;
        float expected[16];
        reference::rotate(degrees, axis.data(), expected);
        ASSERT_TRUE(same_floats(ormath::rotate(degrees, axis).data(), expected, 16))
            << "rotate, round " << round;

        const float fovy = 1.0f + 178.0f * (coordinate(engine) + 1.0f) / 2.0f;
        const float aspect = 0.25f + 4.0f * (coordinate(engine) + 1.0f);
        const float z_near = 0.01f + (coordinate(engine) + 1.0f);
        const float z_far = z_near + 1.0f + 500.0f * (coordinate(engine) + 1.0f);
        reference::perspective(fovy, aspect, z_near, z_far, expected);
        ASSERT_TRUE(same_floats(ormath::perspective(fovy, aspect, z_near, z_far).data(), expected, 16))
            << "perspective, round " << round;
    }
}

using exact_cases::family;

TEST(Exactness, EveryFamilyKeepsTheBitsOfItsCase) {
    int seen[exact_cases::family_count] = {};
    for (const auto& c : exact_cases::family_cases) {
        const char* name = exact_cases::names[static_cast<int>(c.f)];
        ++seen[static_cast<int>(c.f)];
        float expected[16], actual[16];
        const int n = reference::evaluate(c.f, c.in, expected);
        ASSERT_TRUE(same_floats(expected, c.expected, n)) << "the table itself is wrong for " << name;
        ASSERT_EQ(families::evaluate(c.f, c.in, actual), n) << name;
        EXPECT_TRUE(same_floats(actual, c.expected, n)) << name;
    }
    for (int f = 0; f < exact_cases::family_count; ++f) {
        EXPECT_EQ(seen[f], 1) << exact_cases::names[f] << " needs one case";
    }
}

// Random arguments over a wide range of magnitudes and signs: small
// exponents for the matrix families, whose products of three and four
// entries would otherwise be mostly infinite, and for smoothstep and refract,
// which would otherwise mostly clamp or reflect totally.
TEST(Exactness, RandomFamiliesMatchTheReference) {
    for (int f = 0; f < exact_cases::family_count; ++f) {
        const auto which = static_cast<family>(f);
        const bool narrow =
            which == family::smoothstep || which == family::refract3 || which == family::refract4;
        float_source next(static_cast<unsigned>(1000 + f), narrow ? 1 : which >= family::product2 ? 6 : 24);
        for (int round = 0; round < 3000; ++round) {
            float in[exact_cases::max_inputs], expected[16], actual[16];
            for (float& v : in) {
                v = next();
            }
            const int n = reference::evaluate(which, in, expected);
            ASSERT_EQ(families::evaluate(which, in, actual), n);
            ASSERT_TRUE(same_floats(actual, expected, n)) << exact_cases::names[f] << ", round " << round;
        }
    }
}

// The matrix of a family case's first 16 (or 9) arguments from `first` on.
constexpr mat4 case_mat4(family f, int first = 0) {
    for (const auto& c : exact_cases::family_cases) {
        if (c.f == f) {
            const float* m = c.in + first;
            return {{m[0], m[1], m[2], m[3]},
                    {m[4], m[5], m[6], m[7]},
                    {m[8], m[9], m[10], m[11]},
                    {m[12], m[13], m[14], m[15]}};
        }
    }
    return {};
}
constexpr const float* case_expected(family f) {
    for (const auto& c : exact_cases::family_cases) {
        if (c.f == f) {
            return c.expected;
        }
    }
    return nullptr;
}

TEST(Exactness, ConstantEvaluationOfTheNewFunctionsGivesTheSameBits) {
    constexpr mat4 inverse = ormath::inverse(case_mat4(family::inverse4));
    EXPECT_TRUE(same_floats(inverse.data(), case_expected(family::inverse4), 16));
    constexpr float determinant = ormath::determinant(case_mat4(family::determinant4));
    EXPECT_TRUE(same_floats(&determinant, case_expected(family::determinant4), 1));
    constexpr mat4 dots = case_mat4(family::dot4);
    constexpr float dot = ormath::dot(dots[0], dots[1]);
    EXPECT_TRUE(same_floats(&dot, case_expected(family::dot4), 1));
    constexpr mat4 crosses = case_mat4(family::cross);
    constexpr vec3 cross =
        ormath::cross({crosses[0].x, crosses[0].y, crosses[0].z}, {crosses[0].w, crosses[1].x, crosses[1].y});
    EXPECT_TRUE(same_floats(cross.data(), case_expected(family::cross), 3));
    constexpr mat4 smooth = case_mat4(family::smoothstep);
    constexpr float smoothstep = ormath::smoothstep(smooth[0].x, smooth[0].y, smooth[0].z);
    EXPECT_TRUE(same_floats(&smoothstep, case_expected(family::smoothstep), 1));
    constexpr mat4 planes = case_mat4(family::frustum);
    constexpr mat4 frustum =
        ormath::frustum(planes[0].x, planes[0].y, planes[0].z, planes[0].w, planes[1].x, planes[1].y);
    EXPECT_TRUE(same_floats(frustum.data(), case_expected(family::frustum), 16));
    constexpr mat4 window = case_mat4(family::unproject);
    constexpr vec3 object =
        ormath::unproject(vec3(window[0]), case_mat4(family::unproject, 3), case_mat4(family::unproject, 19),
                          case_mat4(family::unproject, 23)[3]);
    EXPECT_TRUE(same_floats(object.data(), case_expected(family::unproject), 3));
}

}  // namespace
