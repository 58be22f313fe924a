// GLSL's integer and boolean vectors, swizzles, constructors, and the
// common, relational, integer, packing and matrix built-ins beyond the
// float arithmetic. Every expectation is a literal: a bit pattern, a hex
// float, or an integer worked out by hand from the stated rule.
#include <ormath/ormath.hpp>

#include "bits.hpp"

#include <cstdint>
#include <limits>

using ormath::bvec2;
using ormath::bvec3;
using ormath::bvec4;
using ormath::ivec2;
using ormath::ivec3;
using ormath::ivec4;
using ormath::mat2;
using ormath::mat3;
using ormath::mat4;
using ormath::uvec2;
using ormath::uvec3;
using ormath::uvec4;
using ormath::vec2;
using ormath::vec3;
using ormath::vec4;

namespace {

constexpr std::int32_t int_min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t int_max = std::numeric_limits<std::int32_t>::max();
constexpr float inf = std::numeric_limits<float>::infinity();
constexpr float nan = std::numeric_limits<float>::quiet_NaN();

// One operator on a vector pair, a vector and a scalar, a scalar and a
// vector, and in compound form: all four must give the expected component.
template <typename V, typename T>
void expect_operator(char op, T a, T b, T expected) {
    auto apply = [op](auto x, auto y) {
        switch (op) {
            case '+':
                return x + y;
            case '-':
                return x - y;
            case '*':
                return x * y;
            case '/':
                return x / y;
            case '%':
                return x % y;
            case '&':
                return x & y;
            case '|':
                return x | y;
            case '^':
                return x ^ y;
            case '<':
                return x << y;
            default:
                return x >> y;
        }
    };
    V compound(a);
    switch (op) {
        case '+':
            compound += b;
            break;
        case '-':
            compound -= b;
            break;
        case '*':
            compound *= b;
            break;
        case '/':
            compound /= b;
            break;
        case '%':
            compound %= V(b);
            break;
        case '&':
            compound &= b;
            break;
        case '|':
            compound |= b;
            break;
        case '^':
            compound ^= b;
            break;
        case '<':
            compound <<= b;
            break;
        default:
            compound >>= V(b);
            break;
    }
    const V want(expected);
    EXPECT_EQ(apply(V(a), V(b)), want) << a << ' ' << op << ' ' << b;
    EXPECT_EQ(apply(V(a), b), want) << a << ' ' << op << ' ' << b << " (vector, scalar)";
    EXPECT_EQ(apply(a, V(b)), want) << a << ' ' << op << ' ' << b << " (scalar, vector)";
    EXPECT_EQ(compound, want) << a << ' ' << op << "= " << b;
}

TEST(IntegerVectors, SignedResultsWrapAndAreDefinedEverywhere) {
    struct {
        char op;
        std::int32_t a, b, expected;
    } const cases[] = {
        {'+', int_max, 1, int_min},
        {'-', int_min, 1, int_max},
        {'*', 0x10000, 0x10000, 0},
        {'*', int_max, 2, -2},
        {'*', int_min, -1, int_min},
        {'/', 7, 0, 0},
        {'%', 7, 0, 0},
        {'/', int_min, -1, int_min},
        {'%', int_min, -1, 0},
        {'/', -7, 2, -3},
        {'%', -7, 2, -1},
        {'%', 7, -2, 1},
        {'/', int_min, 2, -0x40000000},
        {'<', 1, 33, 2},
        {'<', 1, -1, int_min},
        {'<', -1, 31, int_min},
        {'<', -3, 1, -6},
        {'<', 0x40000000, 1, int_min},
        {'>', -8, 1, -4},
        {'>', -1, 31, -1},
        {'>', int_min, 31, -1},
        {'>', 8, 33, 4},
        {'>', int_max, 30, 1},
        {'>', -5, 32, -5},
        {'&', -1, 0x5a, 0x5a},
        {'|', int_min, 1, int_min + 1},
        {'^', -1, int_max, int_min},
    };
    for (const auto& c : cases) {
        expect_operator<ivec3>(c.op, c.a, c.b, c.expected);
        expect_operator<ivec4>(c.op, c.a, c.b, c.expected);
    }
    static_assert(ivec2(int_min, 7) / ivec2(-1, 0) == ivec2(int_min, 0) && (ivec2(-8) >> 1) == ivec2(-4),
                  "integer arithmetic is constexpr");
    EXPECT_EQ(-ivec2(int_min, 5), ivec2(int_min, -5));
    EXPECT_EQ(~ivec2(0, int_min), ivec2(-1, int_max));
}

TEST(IntegerVectors, UnsignedResultsWrap) {
    struct {
        char op;
        std::uint32_t a, b, expected;
    } const cases[] = {
        {'+', 0xffffffffu, 1, 0},
        {'-', 0, 1, 0xffffffffu},
        {'*', 0x80000000u, 2, 0},
        {'/', 5, 0, 0},
        {'%', 5, 0, 0},
        {'/', 0xffffffffu, 0xffffffffu, 1},
        {'%', 0xfffffffeu, 7, 2},
        {'>', 0x80000000u, 31, 1},
        {'>', 0x80000000u, 63, 1},
        {'<', 1, 32, 1},
        {'<', 0xffffffffu, 4, 0xfffffff0u},
        {'^', 0xff00ff00u, 0xffffu, 0xff0000ffu},
    };
    for (const auto& c : cases) {
        expect_operator<uvec2>(c.op, c.a, c.b, c.expected);
    }
    EXPECT_EQ(-uvec2(1u, 0u), uvec2(0xffffffffu, 0u));
}

TEST(IntegerVectors, CommonFunctions) {
    EXPECT_EQ(ormath::abs(ivec4(int_min, -3, 0, int_max)), ivec4(int_min, 3, 0, int_max));
    EXPECT_EQ(ormath::sign(ivec4(int_min, -3, 0, int_max)), ivec4(-1, -1, 0, 1));
    EXPECT_EQ(ormath::min(ivec3(-1, 5, 2), ivec3(0, 4, 2)), ivec3(-1, 4, 2));
    EXPECT_EQ(ormath::max(uvec3(0xffffffffu, 5, 2), 3u), uvec3(0xffffffffu, 5, 3));
    EXPECT_EQ(ormath::clamp(ivec3(-9, 5, 9), -2, 7), ivec3(-2, 5, 7));
    EXPECT_EQ(ormath::clamp(ivec2(0, 9), ivec2(5), ivec2(3)), ivec2(3, 3));  // max_value wins
}

TEST(IntegerVectors, ConversionsTruncateAndSaturate) {
    EXPECT_EQ(ivec4(vec4(1.9f, -1.9f, 3e9f, -3e9f)), ivec4(1, -1, int_max, int_min));
    EXPECT_EQ(ivec4(vec4(nan, inf, -inf, -0x1p31f)), ivec4(0, int_max, int_min, int_min));
    EXPECT_EQ(ivec2(vec2(0x1.fffffep30f, -0.5f)), ivec2(0x7fffff80, 0));
    EXPECT_EQ(uvec4(vec4(-0.5f, -1.0f, 5e9f, nan)), uvec4(0u, 0u, 0xffffffffu, 0u));
    EXPECT_EQ(uvec2(vec2(0x1.fffffep31f, inf)), uvec2(0xffffff00u, 0xffffffffu));
    const vec3 back(ivec3(int_min, -7, int_max));
    const float expected[3] = {-0x1p31f, -7.0f, 0x1p31f};
    EXPECT_TRUE(same_floats(back.data(), expected, 3));
    EXPECT_EQ(bits(vec2(uvec2(0xffffffffu, 0x1000001u)).x), 0x4f800000u);  // 2^32, rounded
    EXPECT_EQ(bits(vec2(uvec2(0xffffffffu, 0x1000001u)).y), 0x4b800000u);  // ties to even
    EXPECT_EQ(ivec2(uvec2(0xffffffffu, 0x80000000u)), ivec2(-1, int_min));
    EXPECT_EQ(uvec2(ivec2(-1, int_min)), uvec2(0xffffffffu, 0x80000000u));
    EXPECT_EQ(bvec4(vec4(0.0f, -0.0f, nan, 2.0f)), bvec4(false, false, true, true));
    EXPECT_EQ(vec2(bvec2(true, false)), vec2(1.0f, 0.0f));
}

TEST(Construction, LayoutsOfTheGlslConstructors) {
    const mat4 m4(0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
    for (int i = 0; i < 16; ++i) {
        EXPECT_EQ(m4.data()[i], static_cast<float>(i));
    }
    const mat3 m3(0, 1, 2, 3, 4, 5, 6, 7, 8);
    EXPECT_EQ(m3[2], vec3(6, 7, 8));
    EXPECT_EQ(mat2(1, 2, 3, 4)[1], vec2(3, 4));

    const float from_mat3[4] = {0, 1, 3, 4}, from_mat4[4] = {0, 1, 4, 5};
    EXPECT_TRUE(same_floats(mat2(m3).data(), from_mat3, 4));
    EXPECT_TRUE(same_floats(mat2(m4).data(), from_mat4, 4));
    const float widened3[9] = {1, 2, 0, 3, 4, 0, 0, 0, 1};
    const float widened4[16] = {1, 2, 0, 0, 3, 4, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    EXPECT_TRUE(same_floats(mat3(mat2(1, 2, 3, 4)).data(), widened3, 9));
    EXPECT_TRUE(same_floats(mat4(mat2(1, 2, 3, 4)).data(), widened4, 16));

    const float v4[4] = {1, 2, 3, 4};
    EXPECT_TRUE(same_floats(vec4(vec2(1, 2), vec2(3, 4)).data(), v4, 4));
    EXPECT_TRUE(same_floats(vec4(1.0f, vec3(2, 3, 4)).data(), v4, 4));
    EXPECT_TRUE(same_floats(vec3(1.0f, vec2(2, 3)).data(), v4, 3));
    EXPECT_TRUE(same_floats(vec2(vec4(1, 2, 3, 4)).data(), v4, 2));
    EXPECT_EQ(ivec4(ivec2(1, 2), ivec2(3, 4)), ivec4(1, 2, 3, 4));
    EXPECT_EQ(ivec4(1, ivec3(2, 3, 4)), ivec4(ivec3(1, 2, 3), 4));
    EXPECT_EQ(uvec3(1u, uvec2(2u, 3u)), uvec3(uvec4(1u, 2u, 3u, 9u)));

    const ivec3 run[2] = {{1, 2, 3}, {4, 5, 6}};
    EXPECT_EQ(run[0].data() + 3, run[1].data());
    EXPECT_EQ(run[0].data()[4], 5);
    const bvec3 flags[2] = {{true, false, true}, {false, true, false}};
    EXPECT_EQ(reinterpret_cast<const unsigned char*>(flags[1].data()) -
                  reinterpret_cast<const unsigned char*>(flags[0].data()),
              3);
}

TEST(Swizzles, RoundTripsAndRepeats) {
    const vec4 v(1, 2, 3, 4);
    EXPECT_EQ((ormath::swizzle<3, 2, 1, 0>(ormath::swizzle<3, 2, 1, 0>(v))), v);
    const vec3 u(5, 6, 7);
    EXPECT_EQ((ormath::swizzle<1, 2, 0>(ormath::swizzle<1, 2, 0>(ormath::swizzle<1, 2, 0>(u)))), u);
    EXPECT_EQ((ormath::swizzle<2, 1, 0>(u)), vec3(7, 6, 5));
    EXPECT_EQ((ormath::swizzle<0, 0, 1, 1>(vec2(8, 9))), vec4(8, 8, 9, 9));
    EXPECT_EQ((ormath::swizzle<3, 0>(v)), vec2(4, 1));
    EXPECT_EQ((vec4(v.xy(), ormath::swizzle<2, 3>(v))), v);
    EXPECT_EQ(vec4(v.xyz(), v.w), v);
    EXPECT_EQ(u.xy(), vec2(5, 6));

    const ivec4 i(-1, 2, int_min, 4);
    EXPECT_EQ((ormath::swizzle<1, 0, 3, 2>(ormath::swizzle<1, 0, 3, 2>(i))), i);
    EXPECT_EQ((ormath::swizzle<2, 2>(i.xyz())), ivec2(int_min, int_min));
    EXPECT_EQ((ormath::swizzle<2, 0, 1>(uvec3(7u, 8u, 9u))), uvec3(9u, 7u, 8u));
    EXPECT_EQ((ormath::swizzle<1, 1, 0>(bvec2(true, false))), bvec3(false, false, true));
    static_assert(ormath::swizzle<2, 1, 0>(ivec3(1, 2, 3)) == ivec3(3, 2, 1), "swizzles are constexpr");
}

TEST(Relational, NanAndSignedZero) {
    const vec4 x(-0.0f, nan, 1.0f, -inf), y(0.0f, nan, 2.0f, -inf);
    EXPECT_EQ(ormath::lessThan(x, y), bvec4(false, false, true, false));
    EXPECT_EQ(ormath::lessThanEqual(x, y), bvec4(true, false, true, true));
    EXPECT_EQ(ormath::greaterThan(y, x), bvec4(false, false, true, false));
    EXPECT_EQ(ormath::greaterThanEqual(x, y), bvec4(true, false, false, true));
    EXPECT_EQ(ormath::equal(x, y), bvec4(true, false, false, true));
    EXPECT_EQ(ormath::notEqual(x, y), bvec4(false, true, true, false));
    EXPECT_EQ(ormath::lessThan(ivec2(int_min, 0), ivec2(int_max, -1)), bvec2(true, false));
    EXPECT_EQ(ormath::greaterThan(uvec2(0xffffffffu, 0u), uvec2(1u, 0u)), bvec2(true, false));
    EXPECT_EQ(ormath::equal(bvec2(true, false), bvec2(true, true)), bvec2(true, false));
    EXPECT_EQ(ormath::not_(bvec3(true, false, true)), bvec3(false, true, false));
    EXPECT_TRUE(ormath::any(bvec3(false, false, true)));
    EXPECT_FALSE(ormath::any(bvec4(false)));
    EXPECT_TRUE(ormath::all(bvec2(true)));
    EXPECT_FALSE(ormath::all(bvec4(true, true, true, false)));
}

TEST(IntegerFunctions, EdgeValues) {
    EXPECT_EQ(ormath::bitCount(ivec4(0, -1, int_min, 0x55)), ivec4(0, 32, 1, 4));
    EXPECT_EQ(ormath::findLSB(ivec4(0, -1, int_min, 0x50)), ivec4(-1, 0, 31, 4));
    EXPECT_EQ(ormath::findMSB(ivec4(0, -1, int_min, 0x50)), ivec4(-1, -1, 30, 6));
    EXPECT_EQ(ormath::findMSB(uvec4(0u, 0xffffffffu, 0x80000000u, 1u)), ivec4(-1, 31, 31, 0));
    EXPECT_EQ(ormath::findMSB(ivec2(int_max, -2)), ivec2(30, 0));
    EXPECT_EQ(ormath::bitfieldReverse(uvec3(1u, 0xf0000000u, 0x12345678u)),
              uvec3(0x80000000u, 0xfu, 0x1e6a2c48u));
    EXPECT_EQ(ormath::bitfieldReverse(ivec2(1, -1)), ivec2(int_min, -1));

    // bits = 0, a field beyond bit 31 and negative arguments take nothing.
    EXPECT_EQ(ormath::bitfieldExtract(ivec4(0x0f0), 4, 4), ivec4(-1));
    EXPECT_EQ(ormath::bitfieldExtract(uvec2(0xf0u, 0x70u), 4, 4), uvec2(0xfu, 0x7u));
    EXPECT_EQ(ormath::bitfieldExtract(-1, 0, 32), -1);
    EXPECT_EQ(ormath::bitfieldExtract(0xffffffffu, 0, 32), 0xffffffffu);
    EXPECT_EQ(ormath::bitfieldExtract(int_min, 31, 1), -1);
    EXPECT_EQ(ormath::bitfieldExtract(0x70000000, 28, 4), 7);
    EXPECT_EQ(ormath::bitfieldExtract(-1, 5, 0), 0);
    EXPECT_EQ(ormath::bitfieldExtract(-1, 30, 3), 0);
    EXPECT_EQ(ormath::bitfieldExtract(-1, -1, 2), 0);
    EXPECT_EQ(ormath::bitfieldInsert(uvec2(0xffffffffu, 0u), uvec2(0u, 0xffu), 8, 4),
              uvec2(0xfffff0ffu, 0xf00u));
    EXPECT_EQ(ormath::bitfieldInsert(0, -1, 0, 32), -1);
    EXPECT_EQ(ormath::bitfieldInsert(5, -1, 32, 0), 5);
    EXPECT_EQ(ormath::bitfieldInsert(5, -1, 30, 4), 5);

    uvec2 carry, borrow;
    EXPECT_EQ(ormath::uaddCarry(uvec2(0xffffffffu, 1u), uvec2(1u, 2u), carry), uvec2(0u, 3u));
    EXPECT_EQ(carry, uvec2(1u, 0u));
    EXPECT_EQ(ormath::usubBorrow(uvec2(0u, 5u), uvec2(1u, 5u), borrow), uvec2(0xffffffffu, 0u));
    EXPECT_EQ(borrow, uvec2(1u, 0u));
    uvec2 umsb, ulsb;
    ormath::umulExtended(uvec2(0xffffffffu, 0x10000u), uvec2(0xffffffffu, 0x10000u), umsb, ulsb);
    EXPECT_EQ(umsb, uvec2(0xfffffffeu, 1u));
    EXPECT_EQ(ulsb, uvec2(1u, 0u));
    ivec3 imsb, ilsb;
    ormath::imulExtended(ivec3(int_min, -1, int_max), ivec3(int_min, 1, -1), imsb, ilsb);
    EXPECT_EQ(imsb, ivec3(0x40000000, -1, -1));
    EXPECT_EQ(ilsb, ivec3(0, -1, -int_max));
}

TEST(CommonFunctions, RoundingSplittingAndBits) {
    struct {
        float x, trunc, round, round_even;
    } const cases[] = {
        {0.5f, 0.0f, 1.0f, 0.0f},
        {-0.5f, -0.0f, -1.0f, -0.0f},
        {2.5f, 2.0f, 3.0f, 2.0f},
        {3.5f, 3.0f, 4.0f, 4.0f},
        {-2.5f, -2.0f, -3.0f, -2.0f},
        {-0.25f, -0.0f, -0.0f, -0.0f},
        {0x1.fffffep22f, 0x1.fffffcp22f, 0x1p23f, 0x1p23f},
        {-inf, -inf, -inf, -inf},
    };
    for (const auto& c : cases) {
        const vec3 got(ormath::trunc(vec2(c.x)).x, ormath::round(vec3(c.x)).y,
                       ormath::roundEven(vec4(c.x)).w);
        const float want[3] = {c.trunc, c.round, c.round_even};
        EXPECT_TRUE(same_floats(got.data(), want, 3)) << std::hexfloat << c.x;
    }

    vec3 whole;
    const vec3 fraction = ormath::modf(vec3(-2.25f, inf, -0.0f), whole);
    const float fraction_want[3] = {-0.25f, 0.0f, -0.0f}, whole_want[3] = {-2.0f, inf, -0.0f};
    EXPECT_TRUE(same_floats(fraction.data(), fraction_want, 3));
    EXPECT_TRUE(same_floats(whole.data(), whole_want, 3));

    ivec4 exponent;
    const vec4 significand = ormath::frexp(vec4(8.0f, 0x1p-149f, -inf, 0.0f), exponent);
    const float significand_want[4] = {0.5f, 0.5f, -inf, 0.0f};
    EXPECT_TRUE(same_floats(significand.data(), significand_want, 4));
    EXPECT_EQ(exponent, ivec4(4, -148, 0, 0));
    const vec4 scaled = ormath::ldexp(vec4(1.0f, 1.5f, 1.0f, -3.0f), ivec4(-149, -149, 128, -1));
    const float scaled_want[4] = {0x1p-149f, 0x1p-148f, inf, -1.5f};  // 1.5 units ties to 2
    EXPECT_TRUE(same_floats(scaled.data(), scaled_want, 4));

    // (1 + 2^-12)^2 - 1 is 2^-11 + 2^-24 exactly; rounding the product first loses the 2^-24.
    EXPECT_EQ(bits(ormath::fma(0x1.001p0f, 0x1.001p0f, -1.0f)), bits(0x1.0008p-11f));
    EXPECT_EQ(bits(ormath::fma(vec2(0x1.001p0f), vec2(0x1.001p0f), vec2(-1.0f)).y), bits(0x1.0008p-11f));

    EXPECT_EQ(ormath::isnan(vec4(nan, inf, -0.0f, -nan)), bvec4(true, false, false, true));
    EXPECT_EQ(ormath::isinf(vec4(nan, inf, 0x1.fffffep127f, -inf)), bvec4(false, true, false, true));
    const vec3 selected =
        ormath::mix(vec3(inf, 1.0f, -0.0f), vec3(nan, 2.0f, 0.0f), bvec3(false, true, false));
    const float selected_want[3] = {inf, 2.0f, -0.0f};
    EXPECT_TRUE(same_floats(selected.data(), selected_want, 3));
    EXPECT_EQ(ormath::mix(1.0f, 3.0f, true), 3.0f);

    EXPECT_EQ(ormath::floatBitsToInt(vec2(-0.0f, -1.0f)),
              ivec2(int_min, static_cast<std::int32_t>(0xbf800000u)));
    EXPECT_EQ(ormath::floatBitsToUint(vec2(1.0f, -inf)), uvec2(0x3f800000u, 0xff800000u));
    EXPECT_EQ(bits(ormath::intBitsToFloat(ivec2(0x7f800000, int_min)).y), 0x80000000u);
    EXPECT_EQ(bits(ormath::uintBitsToFloat(uvec2(1u, 0x7fc00001u)).y), 0x7fc00001u);
}

TEST(Packing, ExactCases) {
    EXPECT_EQ(ormath::packUnorm2x16(vec2(1.0f, 0.5f)), 0x8000ffffu);  // 32767.5 rounds away from zero
    EXPECT_EQ(ormath::packUnorm2x16(vec2(nan, -2.0f)), 0u);
    EXPECT_EQ(ormath::packSnorm2x16(vec2(-1.0f, 0.5f)), 0x40008001u);
    EXPECT_EQ(ormath::packSnorm2x16(vec2(-0x1p-16f, 7.0f)), 0x7fff0000u);
    EXPECT_EQ(ormath::packUnorm4x8(vec4(1.0f, 0.0f, 0.5f, 2.0f)), 0xff8000ffu);
    EXPECT_EQ(ormath::packSnorm4x8(vec4(-1.0f, 1.0f, -0.5f, nan)), 0x00c07f81u);

    const vec2 unorm16 = ormath::unpackUnorm2x16(0xffff8000u);
    EXPECT_EQ(bits(unorm16.x), bits(0x1.0001p-1f));  // 32768 / 65535
    EXPECT_EQ(unorm16.y, 1.0f);
    EXPECT_EQ(ormath::unpackSnorm2x16(0x80008001u), vec2(-1.0f, -1.0f));  // -32768 clamps
    EXPECT_EQ(ormath::unpackSnorm2x16(0x00007fffu), vec2(1.0f, 0.0f));
    EXPECT_EQ(bits(ormath::unpackUnorm4x8(0xff800000u).z), bits(0x1.010102p-1f));  // 128 / 255
    EXPECT_EQ(ormath::unpackSnorm4x8(0x0080817fu), vec4(1.0f, -1.0f, -1.0f, 0.0f));
}

TEST(Packing, HalvesRoundToNearestEven) {
    struct {
        std::uint32_t f;
        std::uint16_t h;
    } const cases[] = {
        {0x00000000u, 0x0000}, {0x80000000u, 0x8000}, {0x3f800000u, 0x3c00}, {0xbf800000u, 0xbc00},
        {0x3f000000u, 0x3800}, {0x477fe000u, 0x7bff}, {0x477fefffu, 0x7bff}, {0x477ff000u, 0x7c00},
        {0x7f7fffffu, 0x7c00}, {0x7f800000u, 0x7c00}, {0xff800000u, 0xfc00}, {0x38800000u, 0x0400},
        {0x387fc000u, 0x03ff}, {0x33800000u, 0x0001}, {0x33000000u, 0x0000}, {0x33000001u, 0x0001},
        {0x33c00000u, 0x0002}, {0x34200000u, 0x0002}, {0x00000001u, 0x0000}, {0x3f801000u, 0x3c00},
        {0x3f803000u, 0x3c02}, {0x3f801001u, 0x3c01}, {0x387fe000u, 0x0400}, {0xb3000001u, 0x8001},
    };
    for (const auto& c : cases) {
        const float f = ormath::uintBitsToFloat(c.f);
        EXPECT_EQ(ormath::packHalf2x16(vec2(f, -f)), c.h | (c.h ^ 0x8000u) << 16) << std::hex << c.f;
    }
    const std::uint32_t nan_half = ormath::packHalf2x16(vec2(nan, 0.0f));
    EXPECT_EQ(nan_half & 0x7c00u, 0x7c00u);
    EXPECT_NE(nan_half & 0x3ffu, 0u);

    const vec2 smallest = ormath::unpackHalf2x16(0x03ff0001u);
    EXPECT_EQ(bits(smallest.x), bits(0x1p-24f));
    EXPECT_EQ(bits(smallest.y), bits(0x1.ff8p-15f));
    const vec2 largest = ormath::unpackHalf2x16(0xfc007bffu);
    EXPECT_EQ(largest, vec2(65504.0f, -inf));
    EXPECT_EQ(bits(ormath::unpackHalf2x16(0x80000000u).y), 0x80000000u);
    EXPECT_TRUE(std::isnan(ormath::unpackHalf2x16(0x7e00u).x));

    // Every half that is not a NaN converts to a float and back unchanged.
    for (std::uint32_t h = 0; h < 0x10000u; ++h) {
        if ((h & 0x7c00u) == 0x7c00u && (h & 0x3ffu) != 0) {
            continue;
        }
        ASSERT_EQ(ormath::packHalf2x16(ormath::unpackHalf2x16(h * 0x10001u)), h * 0x10001u) << std::hex << h;
    }
}

TEST(MatrixOperators, EntryByEntryAndRowVector) {
    const mat2 a(1, 2, 3, 4), b(2, 4, 8, 16);
    EXPECT_EQ(a + 1.0f, mat2(2, 3, 4, 5));
    EXPECT_EQ(a - 1.0f, mat2(0, 1, 2, 3));
    EXPECT_EQ(a / 2.0f, mat2(0.5f, 1, 1.5f, 2));
    EXPECT_EQ(a / b, mat2(0.5f, 0.5f, 0.375f, 0.25f));
    EXPECT_EQ(ormath::matrixCompMult(a, b), mat2(2, 8, 24, 64));
    const float negated[4] = {-0.0f, 1.0f, -3.0f, -inf};
    EXPECT_TRUE(same_floats((-mat2(0, -1, 3, inf)).data(), negated, 4));
    EXPECT_EQ(bits((a / 0.0f)[0][0]), bits(inf));  // divides: no reciprocal

    mat2 m = a;
    m += b;  // (3, 6, 11, 20)
    m -= 1.0f;
    m /= mat2(2, 5, 10, 19);
    m += 2.0f;
    m -= a;
    m /= 0.5f;
    EXPECT_EQ(m, mat2(4, 2, 0, -2));
    mat3 p(2.0f);
    p *= p;  // still the matrix product
    EXPECT_EQ(p, mat3(4.0f));

    EXPECT_EQ(ormath::outerProduct(vec3(1, 2, 3), vec3(4, 5, 6)), mat3(4, 8, 12, 5, 10, 15, 6, 12, 18));
    EXPECT_EQ(ormath::outerProduct(vec2(1, 2), vec2(3, 4)), mat2(3, 6, 4, 8));
    EXPECT_EQ(ormath::outerProduct(vec4(1, 0, 0, 2), vec4(1, 2, 3, 4))[3], vec4(4, 0, 0, 8));

    // v * m sums the products from x on: (2^24 + 1) rounds to 2^24 before -2^24 is added.
    const mat3 column_order(0x1p24f, 1, -0x1p24f, 1, 2, 3, 0, 0, 1);
    EXPECT_EQ(vec3(1, 1, 1) * column_order, vec3(0, 6, 1));
    EXPECT_EQ(vec2(1, 2) * a, vec2(5, 11));
    EXPECT_EQ(vec4(1, 2, 3, 4) * mat4(), vec4(1, 2, 3, 4));
}

}  // namespace
