// An outside program that uses every name of an installed Ormath. The install
// test builds it with g++ and clang++, at -O0 and at -O3 -march=native
// -ffp-contract=fast: each build checks the table's exact cases, and all of
// them must print the same bits.
#include <ormath/ormath.hpp>

#include "functions.hpp"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <limits>

namespace {

using ormath::mat2;
using ormath::mat3;
using ormath::mat4;
using ormath::vec2;
using ormath::vec3;
using ormath::vec4;

int wrong = 0;

// Arguments pass through memory that the optimiser cannot see into, so that
// every build computes at run time.
float opaque(float f) {
    volatile float v = f;
    return v;
}

void print(const char* what, const float* f, int n) {
    std::printf("%-14s", what);
    for (int i = 0; i < n; ++i) {
        std::uint32_t u;
        std::memcpy(&u, &f[i], sizeof u);
        std::printf(" %08x", static_cast<unsigned>(u));
    }
    std::printf("\n");
}
template <typename T>
void print(const char* what, const T& value) {
    print(what, value.data(), static_cast<int>(sizeof value / sizeof(float)));
}

void check(const char* what, const float* actual, const float* expected, int n) {
    if (std::memcmp(actual, expected, n * sizeof(float)) != 0) {
        std::fprintf(stderr, "consumer: %s lost its bits\n", what);
        ++wrong;
    }
}

// Every row of the table: its exact case, checked and printed, and the bits
// of random arguments that every platform draws alike.
void every_row() {
    functions::float_source next(20261209);
    for (const functions::row& r : functions::table) {
        float in[functions::max_inputs], out[functions::max_outputs];
        for (int i = 0; i < functions::max_inputs; ++i) {
            in[i] = opaque(r.in[i]);
        }
        const int n = r.evaluate(in, out);
        check(r.name, out, r.expected, n);
        print(r.name, out, n);
        for (int round = 0; round < 4; ++round) {
            next.fill(r, in);
            print(r.name, out, r.evaluate(in, out));
        }
    }
}

// GLSL's integer and boolean vectors, swizzles, constructors and the
// built-ins beyond float arithmetic; integers print as their bits.
void every_glsl_name(float s, float t, float w) {
    using ormath::bvec2;
    using ormath::bvec3;
    using ormath::bvec4;
    using ormath::ivec2;
    using ormath::ivec3;
    using ormath::ivec4;
    using ormath::uvec2;
    using ormath::uvec3;
    using ormath::uvec4;
    const vec4 r(s, t, w, -0.0f), big = r * 0x1p29f;
    const ivec4 i(big);
    const uvec4 u(ormath::abs(big) * 4.0f);
    const ivec3 i3(i.x, ivec2(i.y, i.z));
    const ivec2 i2(i3);
    const ivec4 ir = ormath::swizzle<3, 2, 1, 0>(i);
    const uvec4 ur = ormath::swizzle<3, 2, 1, 0>(u);
    print("vec ctors", vec4(vec2(r), vec2(vec4(1.0f, vec3(t, s, w))).y + vec3(s, vec2(t, w)).z, 0.0f) +
                           vec4(r.xy(), r.xyz().xy()) + ormath::swizzle<2, 0, 3, 1>(r));
    print("swizzles", vec4(ormath::swizzle<1, 1>(r), ormath::swizzle<2, 0, 0>(r.xyz()).z,
                           float(ormath::swizzle<1, 0>(i2).x)));
    print("mat ctors", mat4(mat2(mat3(s, t, w, t, s, w, w, t, s))) +
                           mat4(mat3(mat2(mat4(s, t, w, 1, 2, 3, 4, 5, 6, 7, 8, 9, t, s, w, 0)))) +
                           mat4(mat2(s, t, w, s)));
    print("ivec ops", ormath::intBitsToFloat(((i + i2.x - 3 * i * i3.y / ivec4(7) % 5) & 0x7ff0f) |
                                             (i ^ ivec4(i3, 1) << 3) >> (-ir) << ~i));
    print("ivec ops 2", ormath::intBitsToFloat(ivec4(i2 / 0, i2 % 0) + ivec4(i3 % i.x, (-i).x)));
    ivec4 c = i;
    c += i;
    c -= 1;
    c *= i;
    c /= ivec4(3);
    c %= 1000;
    c &= ~0xf;
    c |= ivec4(1);
    c ^= 0x55;
    c <<= 2;
    c >>= ivec4(1, 2, 3, 33);
    print("ivec compound", ormath::intBitsToFloat(c));
    uvec4 d = u;
    d += u;
    d -= 7u;
    d *= u;
    d /= u + 1u;
    d %= uvec4(1000u);
    d &= 0xfffu;
    d |= 3u;
    d ^= uvec4(0x30u);
    d <<= 1u;
    d >>= 2u;
    print("uvec ops", ormath::uintBitsToFloat(((d + (u - 5u) * u / 3u % u) ^ (~u >> 4u << 1u)) | (2u & u)));
    print("int common",
          ormath::intBitsToFloat(ormath::abs(i) + ormath::sign(i) + ormath::min(i, 5) + ormath::max(i, ir) +
                                 ormath::clamp(i, -3, 1000) + ormath::clamp(i, ir, ivec4(9))));
    print("uint common",
          ormath::uintBitsToFloat(ormath::min(u, 5u) + ormath::max(u, ormath::swizzle<0, 1, 2, 2>(u.xyz())) +
                                  ormath::clamp(u, 3u, 9u) + ormath::clamp(u, u, uvec4(9u))));
    const bvec4 b = ormath::lessThan(r, vec4(t));
    print("relational", vec4(ormath::greaterThan(i, ivec4(0))) + vec4(ormath::lessThanEqual(u, uvec4(9u))) +
                            vec4(ormath::greaterThanEqual(r, vec4(s))) + vec4(ormath::equal(b, b)) +
                            vec4(ormath::notEqual(r, r)) + vec4(ormath::not_(b)));
    print("compare i", vec4(float(ormath::any(b)), float(ormath::all(b)), float(i == i && u != u + 1u),
                            float(b == b && i3 != i3 && i2 == i2 && bvec3(true) != bvec3(b))));
    print("conversions", vec4(ivec4(vec4(uvec4(i)))) + vec4(uvec4(vec4(r * 1e10f))) + vec4(bvec4(r)) +
                             vec4(vec3(ivec3(uvec3(bvec3(b)))), 0.0f) +
                             vec4(vec2(bvec2(i2)), vec2(uvec2(i2))));
    print("rounding", vec4(ormath::trunc(s * 5.0f), ormath::round(t * 9.0f), ormath::roundEven(w * 3.0f),
                           ormath::fma(s, t, w)) +
                          ormath::trunc(r * 3.0f) + ormath::round(r * 7.0f) + ormath::roundEven(r * 2.0f) +
                          ormath::fma(r, r, vec4(t)));
    float whole = 0;
    vec4 wholes;
    int e = 0;
    ivec4 es;
    const vec4 split =
        ormath::modf(r * 3.0f, wholes) + ormath::frexp(r, es) + ormath::ldexp(r, ivec4(3, -140, 100, 1));
    const float fraction = ormath::modf(s * 3.0f, whole), significand = ormath::frexp(t, e);
    print("split", vec4(fraction, whole, significand, ormath::ldexp(w, e)) + split + wholes + vec4(es));
    print("select",
          vec4(ormath::isnan(r / 0.0f)) + vec4(ormath::isinf(r / 0.0f)) + ormath::mix(r, vec4(t), b) +
              vec4(float(ormath::isnan(s)), float(ormath::isinf(t)), ormath::mix(s, t, s < t), 0.0f));
    print("float bits", ormath::intBitsToFloat(ormath::floatBitsToInt(r) + 1) +
                            ormath::uintBitsToFloat(ormath::floatBitsToUint(r) + 1u) +
                            vec4(ormath::intBitsToFloat(ormath::floatBitsToInt(s)),
                                 ormath::uintBitsToFloat(ormath::floatBitsToUint(t)), 0.0f, 0.0f));
    std::uint32_t carry = 0, borrow = 0, umsb = 0, ulsb = 0;
    std::int32_t imsb = 0, ilsb = 0;
    uvec4 carries, borrows, umsbs, ulsbs;
    ivec4 imsbs, ilsbs;
    const std::uint32_t sums[2] = {ormath::uaddCarry(u.x, u.y, carry), ormath::usubBorrow(u.x, u.y, borrow)};
    ormath::umulExtended(u.x, u.y, umsb, ulsb);
    ormath::imulExtended(i.x, i.y, imsb, ilsb);
    const uvec4 vsums = ormath::uaddCarry(u, ur, carries) + ormath::usubBorrow(u, ur, borrows);
    ormath::umulExtended(u, ur, umsbs, ulsbs);
    ormath::imulExtended(i, ir, imsbs, ilsbs);
    print("carries",
          ormath::uintBitsToFloat(
              uvec4(sums[0] + carry, sums[1] + borrow, umsb ^ ulsb, static_cast<std::uint32_t>(imsb ^ ilsb)) +
              vsums + carries + borrows + umsbs + ulsbs + uvec4(imsbs ^ ilsbs)));
    print("bits",
          ormath::intBitsToFloat(
              ivec4(ormath::bitCount(i.x), ormath::findLSB(u.y), ormath::findMSB(i.z), ormath::findMSB(u.w)) +
              ormath::bitCount(u) + ormath::findLSB(i) + ormath::findMSB(i) + ormath::findMSB(u)));
    print("bitfields", ormath::intBitsToFloat(
                           ormath::bitfieldExtract(i, 3, 9) + ormath::bitfieldInsert(i, ir, 4, 12) +
                           ormath::bitfieldReverse(i) +
                           ivec4(ormath::bitfieldExtract(i.x, 1, 31), ormath::bitfieldInsert(i.y, 7, 30, 2),
                                 ormath::bitfieldReverse(i.z), 0)));
    print("ubitfields", ormath::uintBitsToFloat(
                            ormath::bitfieldExtract(u, 3, 9) + ormath::bitfieldInsert(u, ur, 4, 12) +
                            ormath::bitfieldReverse(u) +
                            uvec4(ormath::bitfieldExtract(u.x, 0, 32), ormath::bitfieldInsert(u.y, 7u, 30, 2),
                                  ormath::bitfieldReverse(u.z), 0u)));
    print("packing", vec4(ormath::unpackUnorm2x16(ormath::packUnorm2x16(r.xy())),
                          ormath::unpackSnorm2x16(ormath::packSnorm2x16(r.xy()))) +
                         ormath::unpackUnorm4x8(ormath::packUnorm4x8(r)) +
                         ormath::unpackSnorm4x8(ormath::packSnorm4x8(r)) +
                         vec4(ormath::unpackHalf2x16(ormath::packHalf2x16(r.xy() * 1e4f)), 0.0f, 0.0f));

    const mat2 m2(s, t, w, 1.0f);
    const mat3 m3(ormath::outerProduct(r.xyz(), vec3(w, s, t)));
    const mat4 m4(ormath::outerProduct(r, vec4(t, s, 1.0f, w)));
    mat2 a2 = ormath::outerProduct(r.xy(), vec2(t, w)) + 1.0f;
    a2 += m2;
    a2 -= 0.5f;
    a2 -= m2 * m2;
    a2 /= m2;
    a2 /= t;
    mat3 a3 = -(m3 - s) / w + ormath::matrixCompMult(m3, m3) / m3;
    a3 += 2.0f;
    mat4 a4 = ormath::matrixCompMult(m4, -m4) / (m4 + 1.0f);
    a4 += m4;
    print("mat ops", vec4(r.xy() * a2, 0.0f, 0.0f) + vec4(r.xyz() * a3, 0.0f) + r * a4);
}

// The names that the table does not reach, for arguments s, t and w with
// full mantissas, so that most results change when a product is fused.
void every_other_name(float s_in, float t_in, float w_in) {
    const float s = opaque(s_in), t = opaque(t_in);
    const vec2 p(opaque(w_in), s);
    const vec3 q(p, t);
    const vec4 r(q, opaque(-0.0f)), r2(p, t, s);
    print("vec", vec4(vec3(r2), vec2(q).x));
    print("vec(s)", vec4(vec2(s), vec3(t).z, vec4(s).w));
    print("vec ops", vec4((p + p - 1.0f) * p / vec2(t), (2.0f - q * 3.0f + q / t).z, s));
    print("vec ops 2", (-r + 1.0f) * vec4(t) - s / r2 + r2 * s + t * r2 + r / 4.0f);
    vec3 u = q;
    u += q;
    u -= vec3(t);
    u *= q;
    u /= 3.0f;
    u += s;
    u -= 0.5f;
    u *= t;
    u /= vec3(s);
    print("compound", u);
    print("compare", vec2(q == vec3(p, t) && r != r2 && p != vec2() && p == p ? 1.0f : 0.0f, r[3]));

    print("common", vec4(ormath::abs(s), ormath::sign(s), ormath::floor(s), ormath::ceil(s)));
    print("common 2",
          vec4(ormath::fract(s), ormath::min(s, t), ormath::max(s, t), ormath::clamp(s, t, 1.0f)));
    print("common 3", vec4(ormath::step(t, s), ormath::radians(s), ormath::degrees(s), ormath::mix(s, t, t)));
    print("common v",
          ormath::abs(r2) + ormath::sign(r) + ormath::floor(r2) + ormath::ceil(r2) + ormath::fract(r2));
    print("common v2", ormath::min(r2, r) + ormath::max(r2, s) + ormath::clamp(r2, s, t) + ormath::min(r, t) +
                           ormath::max(r, r2) + ormath::clamp(r2, r, vec4(1.0f)));
    print("common v3", ormath::mod(r2, t) + ormath::mod(r2, r + 3.0f) + ormath::step(r, r2) +
                           ormath::step(t, r2) + ormath::smoothstep(s, t, r2) +
                           ormath::smoothstep(r, vec4(1.0f), r2));
    print("common v4",
          ormath::mix(r, r2, t) + ormath::mix(r, r2, r2) + ormath::radians(r2) + ormath::degrees(r2));
    print("geometric",
          vec4(ormath::dot(s, t), ormath::length(s), ormath::distance(s, t), ormath::normalize(s)));
    print("geometric 2", vec4(ormath::faceforward(s, t, s), ormath::reflect(s, t), ormath::refract(t, s, t),
                              ormath::length(r2)));
    print("geometric v", ormath::faceforward(q, vec3(t), q) + ormath::distance(p, vec2(s)));
    // acosh and atanh of cosh and tanh: arguments in their domains, as a
    // NaN's bits differ between processors.
    print("hyperbolic", vec4(ormath::sinh(s), ormath::cosh(t), ormath::tanh(s), ormath::asinh(t)));
    print("hyperbolic 2", vec2(ormath::acosh(ormath::cosh(s)), ormath::atanh(ormath::tanh(t))));
    print("hyperbolic v", ormath::sinh(p) + ormath::cosh(p) + ormath::tanh(p) + ormath::asinh(p) +
                              ormath::acosh(ormath::cosh(p)) + ormath::atanh(ormath::tanh(p)));
    print("hyperbolic v3", ormath::sinh(q) + ormath::cosh(q) + ormath::tanh(q) + ormath::asinh(q) +
                               ormath::acosh(ormath::cosh(q)) + ormath::atanh(ormath::tanh(q)));

    const mat2 m2(p, vec2(t, s));
    const mat3 m3(q, vec3(s), vec3(t, 1.0f, s));
    const mat4 m4(r2, r, vec4(t), vec4(q, 1.0f));
    // Scalar results that feed the next operation directly, with no store in
    // between where x87 would round them; and what each loses when it is
    // rounded once more (nothing, since it is a float already).
    print("chained",
          vec4(ormath::mix(ormath::mix(s, t, p.x), ormath::dot(q, q), ormath::length(p)),
               ormath::mod(ormath::determinant(m2), ormath::distance(s, t)),
               ormath::smoothstep(ormath::fract(t), ormath::refract(s, t, p.x), ormath::determinant(m3)),
               ormath::reflect(ormath::determinant(m4), ormath::normalize(s))));
    const auto loss = [](float v) { return ormath::distance(v, ormath::rounded(v)); };
    print("floats", vec4(loss(ormath::mix(s, t, p.x)), loss(ormath::dot(q, r2.xyz())),
                         loss(ormath::length(q)), loss(ormath::determinant(m3))));
    // Rays that meet the unit sphere, from outside and from inside (random
    // rays of the table mostly miss it).
    const vec3 aim = vec3(t, s, p.x) * 0.01f - q;
    print("rays", vec2(ormath::ray_sphere(q * 4.0f, aim, vec3(0.0f), 1.0f),
                       ormath::ray_sphere(q * 0.125f, aim, vec3(0.0f), 1.0f)));
    mat2 a2 = m2 * 2.0f - m2 + ormath::transpose(m2) + s * mat2();
    a2 *= m2;
    a2 *= t;
    mat3 a3 = t * m3 + mat3(m4) - mat3(s);
    a3 *= a3;
    mat4 a4 = m4 * t + mat4(m3) - t * mat4(s) + mat4();
    a4 *= m4;
    a4 *= s;
    print("mat2", a2 * (m2 * vec2(s)));
    print("mat3", ormath::transpose(a3) * (m3 * q));
    print("mat4", ormath::transpose(a4) * vec4(s, t, 1.0f, s));
    print("mat4 ops", a4 + a4 - m4);
    print("compare m",
          vec2(m2 == m2 && m3 == m3 && m4 == m4 ? 1.0f : 0.0f, m2 != a2 && m3 != a3 && m4 != a4));
    print("access", vec4(m4[2][1], m3[1].y, m2[0][1], r2[2]));

    print("translate", ormath::translate(q) - ormath::scale(vec3(s, t, 2.0f)));
    print("rotate", ormath::rotate(opaque(30.0f), ormath::normalize(q)));
    print("perspective",
          ormath::perspective(opaque(45.0f), opaque(4.0f / 3.0f), opaque(0.1f), opaque(100.0f)));
    print("endless", ormath::frustum(-s, s, -t, t, opaque(0.1f), std::numeric_limits<float>::infinity(),
                                     ormath::clip_depth::one_to_zero));
    // The inverse trigonometric functions' float, vec2 and vec3 forms (the
    // table has the vec4 ones); asin and acos of arguments / 8, within [-1, 1].
    print("inverse trig",
          vec4(ormath::asin(s * 0.125f), ormath::acos(t * 0.125f), ormath::atan(p.x), ormath::atan(s, t)));
    print("inverse trig 2", ormath::asin(p * 0.125f) + ormath::acos(vec2(t, s) * 0.125f) + ormath::atan(p) +
                                ormath::atan(p, vec2(t, -s)));
    print("inverse trig 3", ormath::asin(q * 0.125f) + ormath::acos(q * -0.125f) + ormath::atan(q) +
                                ormath::atan(q, vec3(s, -t, p.x)));

    const ormath::quat h(s, t, p.x, 1.0f);
    const ormath::quat k = (h + h - ormath::quat() * 2.0f) / t + (-ormath::conjugate(h)) * s - 0.5f * h;
    print("quat ops", k);
    print("quat compare", vec2(h == h && h != k ? 1.0f : 0.0f, 0.0f));
    // The hashes are integer arithmetic on the bits: the same in every build.
    const std::uint32_t hashes[2] = {static_cast<std::uint32_t>(std::hash<ormath::quat>()(k)),
                                     static_cast<std::uint32_t>(std::hash<mat4>()(m4))};
    float hash_bits[2];
    std::memcpy(hash_bits, hashes, sizeof hashes);
    print("hash", hash_bits, 2);
    every_glsl_name(s, t, opaque(w_in));
}

// Where x87 arithmetic would keep an intermediate wider than float: a sum
// and a doubling past the largest float (infinite once rounded), a quotient
// among the subnormals ((2^23 + 2) / 3 units of 2^-149 round to 2796203,
// times 3 is 2^23 + 1 units), 2^31 - 1 converted to float (2^31) less
// 2^31 - 128, and mod(3 + 2^-22, 1 + 2^-23), whose quotient lies below 3 by
// less than half a unit and so rounds to 3 before it is floored.
void every_wide_case() {
    const float huge = opaque(0x1.8p127f), tiny = opaque(0x1.000004p-126f);
    const ormath::ivec2 whole(static_cast<std::int32_t>(opaque(0x1p30f)) * 2 - 1);
    const float infinity = std::numeric_limits<float>::infinity();
    const float wide[] = {(vec2(huge, 1.0f) + huge - huge).x,
                          ormath::frustum(-1.0f, 1.0f, -1.0f, 1.0f, huge, opaque(1.0f))[0][0],
                          ((vec2(tiny) / 3.0f) * 3.0f).x, (vec2(whole) - 0x1.fffffep30f).x,
                          ormath::mod(opaque(0x1.800002p+1f), opaque(0x1.000002p+0f))};
    const float expected[] = {infinity, infinity, 0x1.000002p-126f, 128.0f, -0x1p-22f};
    check("wide", wide, expected, 5);
    print("wide", wide, 5);
}

}  // namespace

int main() {
    every_row();
    every_wide_case();
    const float arguments[][3] = {{-0x1.c3a5e2p+0f, 0x1.3c4d9ap-2f, 0x1.47ae14p+1f},
                                  {0x1.9e3779p-1f, -0x1.6a09e6p+0f, -0x1.d413cdp+1f},
                                  {-0x1.0c152ap+2f, 0x1.f5c28fp-1f, 0x1.2b5c3ap-1f},
                                  {0x1.5bf0a9p+0f, 0x1.8e4c7bp-3f, -0x1.b7e151p+1f}};
    for (const auto& a : arguments) {
        every_other_name(a[0], a[1], a[2]);
    }
    std::fprintf(stderr, "consumer: %s\n", wrong == 0 ? "bit-exact" : "WRONG");
    return wrong == 0 ? 0 : 1;
}
