// An outside program that uses every name of an installed Ormath. The install
// test builds it with g++ and clang++, at -O0 and at -O3 -march=native
// -ffp-contract=fast: each build checks the exact cases, and all of them must
// print the same bits.
#include <ormath/ormath.hpp>

#include "exact_cases.hpp"
#include "families.hpp"

#include <cstdint>
#include <cstdio>
#include <cstring>

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

void exact_cases_keep_their_bits() {
    mat4 a, b;
    std::memcpy(a.data(), exact_cases::product_a, sizeof a);
    std::memcpy(b.data(), exact_cases::product_b, sizeof b);
    check("the matrix product", (a * b).data(), exact_cases::product_ab, 16);
    for (const auto& c : exact_cases::mixes) {
        const vec3 blended =
            ormath::mix(ormath::vec3(c.x[0], c.x[1], c.x[2]), ormath::vec3(c.y[0], c.y[1], c.y[2]), c.a);
        check("mix", blended.data(), c.expected, 3);
    }
    for (const auto& c : exact_cases::family_cases) {
        float in[exact_cases::max_inputs], out[16];
        for (int i = 0; i < exact_cases::max_inputs; ++i) {
            in[i] = opaque(c.in[i]);
        }
        const int n = families::evaluate(c.f, in, out);
        const char* name = exact_cases::names[static_cast<int>(c.f)];
        check(name, out, c.expected, n);
        print(name, out, n);
    }
}

// The names that the families do not reach, for arguments s, t and w with
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

    const mat2 m2(p, vec2(t, s));
    const mat3 m3(q, vec3(s), vec3(t, 1.0f, s));
    const mat4 m4(r2, r, vec4(t), vec4(q, 1.0f));
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
}

}  // namespace

int main() {
    exact_cases_keep_their_bits();
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
