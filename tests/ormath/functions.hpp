// The table of Ormath's functions that have an evaluation order: one row per
// function, and each row drives every check of it:
// - its exact case, whose expected bits were derived outside Ormath (float
//   arithmetic step by step in the written order, the elementary functions
//   correctly rounded with MPFR-class precision), picked from random
//   arguments so that as many results as possible change when a product is
//   fused into a sum or the sums are regrouped;
// - the comparison of a build that fuses and vectorises with the header's own
//   scalar path compiled plainly (exactness_test.cpp, scalar_path.cpp);
// - the bits that the installed consumer prints in every build
//   (consumer/consumer.cpp);
// - its benchmark (bench/ormath_bench.cpp).
// Adding a function to Ormath means adding its row here.
#pragma once

#include "../support/floats.hpp"

#include <ormath/ormath.hpp>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

namespace functions {

constexpr int max_inputs = 39;
constexpr int max_outputs = 24;

// Reads a vector or matrix from consecutive floats (matrices column after
// column), and writes a result's floats; both also in constant expressions.
using ::v2;
using ::v3;
using ::v4;
constexpr ormath::mat2 m2(const float* f) { return {v2(f), v2(f + 2)}; }
constexpr ormath::mat3 m3(const float* f) { return {v3(f), v3(f + 3), v3(f + 6)}; }
constexpr ormath::mat4 m4(const float* f) { return {v4(f), v4(f + 4), v4(f + 8), v4(f + 12)}; }
constexpr ormath::quat q4(const float* f) { return ormath::quat(f[0], f[1], f[2], f[3]); }
constexpr int put(float value, float* out) {
    out[0] = value;
    return 1;
}
template <typename T>
constexpr int put(const T& value, float* out) {
    constexpr int n = static_cast<int>(sizeof value / sizeof value[0]);
    int written = 0;
    for (int i = 0; i < n; ++i) {
        if constexpr (sizeof value[0] == sizeof(float)) {
            out[written++] = value[i];
        } else {
            written += put(value[i], out + written);  // a matrix's columns
        }
    }
    return written;
}
constexpr int put(const ormath::quat& q, float* out) { return put(ormath::vec4(q.x, q.y, q.z, q.w), out); }

struct row {
    const char* name;
    int (*evaluate)(const float* in, float* out);  // writes the results; returns how many
    int inputs;                                    // floats read from `in`
    int magnitude;                // random arguments have binary exponents in -magnitude..magnitude
    bool constant;                // whether the function evaluates in a constant expression
    float in[max_inputs];         // the exact case's arguments
    float expected[max_outputs];  // and its results
};

// clang-format off
constexpr row table[] = {
    {"dot2", [](auto in, auto out) { return put(ormath::dot(v2(in), v2(in + 2)), out); },
     4, 24, true,
     {0x1.d37d38p+0f, -0x1.96ca48p+1f, 0x1.45fd8cp+1f, -0x1.0cc558p+1f},
     {0x1.6a5decp+3f}},
    {"dot3", [](auto in, auto out) { return put(ormath::dot(v3(in), v3(in + 3)), out); },
     6, 24, true,
     {-0x1.ba67p-5f, 0x1.a4f6acp+1f, -0x1.f19f98p+1f, -0x1.dbc17p-1f, -0x1.0093a4p+1f, -0x1.79dd48p+0f},
     {-0x1.9b91ap-1f}},
    {"dot4", [](auto in, auto out) { return put(ormath::dot(v4(in), v4(in + 4)), out); },
     8, 24, true,
     {0x1.264a7p+0f, 0x1.a2ca64p+1f, -0x1.baa8cp-2f, 0x1.2852e4p+1f, -0x1.b1d7dep+1f, -0x1.56d608p+1f,
      -0x1.63c4e4p+1f, -0x1.7f6a14p+0f},
     {-0x1.dd9c3p+3f}},
    {"cross", [](auto in, auto out) { return put(ormath::cross(v3(in), v3(in + 3)), out); },
     6, 24, true,
     {-0x1.b7f84p+0f, -0x1.5aee2ep+1f, 0x1.1e524cp+1f, -0x1.7f9f48p+1f, -0x1.fb514p+1f, 0x1.3cb5a8p+1f},
     {0x1.14675cp+1f, -0x1.39cfe8p+1f, -0x1.4fc038p+0f}},
    {"length4", [](auto in, auto out) { return put(ormath::length(v4(in)), out); },
     4, 24, false,
     {0x1.7cdf28p+1f, 0x1.85b87p+0f, 0x1.6349p-5f, -0x1.6770c2p+1f},
     {0x1.1766ecp+2f}},
    {"distance3", [](auto in, auto out) { return put(ormath::distance(v3(in), v3(in + 3)), out); },
     6, 24, false,
     {-0x1.644f1p-2f, -0x1.0035f4p+1f, 0x1.720c2cp+1f, 0x1.38f448p+0f, 0x1.9b2584p+1f, -0x1.5db1p+0f},
     {0x1.ba58b6p+2f}},
    {"normalize2", [](auto in, auto out) { return put(ormath::normalize(v2(in)), out); },
     2, 24, false,
     {0x1.e1403p+0f, -0x1.c5e44cp+0f},
     {0x1.7478a6p-1f, -0x1.5f4be2p-1f}},
    {"normalize3", [](auto in, auto out) { return put(ormath::normalize(v3(in)), out); },
     3, 24, false,
     {0x1.b7c158p+0f, 0x1.7469b8p+0f, 0x1.9456dp+0f},
     {0x1.3fd68cp-1f, 0x1.0edc02p-1f, 0x1.26146p-1f}},
    {"normalize4", [](auto in, auto out) { return put(ormath::normalize(v4(in)), out); },
     4, 24, false,
     {0x1.6c7128p+1f, -0x1.81462p+1f, 0x1.ee93e4p+1f, -0x1.c6646cp+1f},
     {0x1.b4167ap-2f, -0x1.cd03dap-2f, 0x1.27e748p-1f, -0x1.0fdc56p-1f}},
    {"mod", [](auto in, auto out) { return put(ormath::mod(in[0], in[1]), out); },
     2, 24, false,
     {0x1.a58cc4p+1f, -0x1.77870cp+0f},
     {-0x1.1b7b98p+0f}},
    {"smoothstep", [](auto in, auto out) { return put(ormath::smoothstep(in[0], in[1], in[2]), out); },
     3, 1, true,
     {-0x1.c9a07p-2f, 0x1.1b135p+1f, -0x1.ecea8p-4f},
     {0x1.5478d2p-5f}},
    {"mix", [](auto in, auto out) { return put(ormath::mix(in[0], in[1], in[2]), out); },
     3, 24, true,
     {-0x1.dde4dap+1f, 0x1.49e1cp+1f, 0x1.8012f2p-1f},
     {0x1.001bfcp+0f}},
    {"mix3", [](auto in, auto out) { return put(ormath::mix(v3(in), v3(in + 3), in[6]), out); },
     7, 24, true,
     {-0x1.51cdfp-1f, -0x1.d351p-2f, -0x1.f04154p+1f, 0x1.5139p+1f, -0x1.40b11p-1f, -0x1.842208p+1f,
      -0x1.800618p-2f},
     {-0x1.e52d58p+0f, -0x1.92098cp-2f, -0x1.0c66dcp+2f}},
    {"mix4", [](auto in, auto out) { return put(ormath::mix(v4(in), v4(in + 4), in[8]), out); },
     9, 24, true,
     {0x1.31bdf4p+1f, -0x1.6af912p+1f, 0x1.b7fbcp-1f, -0x1.495a28p+0f, -0x1.6a1c88p+1f, 0x1.f5818p-1f,
      -0x1.460be8p+0f, -0x1.f63742p+1f, 0x1.dcf868p-3f},
     {0x1.2c6754p+0f, -0x1.f27a1ap+0f, 0x1.73497ep-2f, -0x1.e69344p+0f}},
    {"reflect3", [](auto in, auto out) { return put(ormath::reflect(v3(in), v3(in + 3)), out); },
     6, 24, true,
     {0x1.956238p+0f, 0x1.4dd768p+1f, 0x1.12c19cp+1f, -0x1.90f2b8p+1f, -0x1.4340dp-1f, 0x1.955a8p+1f},
     {0x1.63ace8p+1f, 0x1.6cad16p+1f, 0x1.e05dfcp-1f}},
    {"refract3", [](auto in, auto out) { return put(ormath::refract(v3(in), v3(in + 3), in[6]), out); },
     7, 1, false,
     {0x1.04bb0cp-2f, 0x1.790f24p-1f, 0x1.40e5ccp-1f, 0x1.49b78ep-2f, -0x1.620e6cp-1f, 0x1.4b12dep-1f,
      0x1.95f368p-1f},
     {0x1.6f0c6p-7f, 0x1.fca12p-1f, 0x1.d2f908p-4f}},
    {"refract4", [](auto in, auto out) { return put(ormath::refract(v4(in), v4(in + 4), in[8]), out); },
     9, 1, false,
     {0x1.350f3p-4f, 0x1.989458p-2f, 0x1.23623p-4f, -0x1.6d24eep-2f, 0x1.fef218p-3f, 0x1.b6e55cp-2f,
      0x1.c7f8cp-2f, 0x1.d5d66p-2f, 0x1.534422p-1f},
     {-0x1.2c6212p-3f, -0x1.2cfb48p-4f, -0x1.372c5p-2f, -0x1.322a0cp-1f}},
    {"product2", [](auto in, auto out) { return put(m2(in) * m2(in + 4), out); },
     8, 6, true,
     {-0x1.f58998p+0f, 0x1.1d9fa8p+0f, -0x1.ed387ap+1f, -0x1.fa3b78p-1f, 0x1.61e3c8p+1f, 0x1.1bb184p+1f,
      0x1.de15d8p+1f, 0x1.0144b8p+1f},
     {-0x1.be9df8p+3f, 0x1.c95fap-1f, -0x1.e1fd78p+3f, 0x1.1709bp+1f}},
    {"product3", [](auto in, auto out) { return put(m3(in) * m3(in + 9), out); },
     18, 6, true,
     {0x1.e5053p+0f, -0x1.f068e6p+1f, 0x1.152ff8p+0f, -0x1.af4afap+1f, 0x1.f0e06p-1f, 0x1.8e2ap-3f,
      -0x1.667da4p+1f, -0x1.db6702p+1f, 0x1.2f03cp+0f, -0x1.271a84p+0f, -0x1.8f2e62p+1f, 0x1.559f5cp+1f,
      -0x1.000e54p+0f, 0x1.5eb34p-2f, 0x1.6c233p+0f, -0x1.5914e4p+0f, -0x1.7f345ap+1f, 0x1.494328p+1f},
     {0x1.b2c56p-1f, -0x1.0efdf6p+3f, 0x1.4dfb5ap+0f, -0x1.c218dcp+2f, -0x1.12507p+0f, 0x1.559e44p-1f,
      0x1.510fap-2f, -0x1.ced27cp+2f, 0x1.00d1ccp+0f}},
    {"product4", [](auto in, auto out) { return put(m4(in) * m4(in + 16), out); },
     32, 6, true,
     {-0x1.955c5ap+2f, 0x1.467f7p+2f, 0x1.115ddp+2f, 0x1.68349p+1f, 0x1.1e411p+1f, -0x1.c9a442p+2f,
      -0x1.8db1b4p+2f, 0x1.b41684p+2f, -0x1.1cafc4p+1f, -0x1.91a688p+2f, 0x1.b721fp+0f, -0x1.c76c3cp+2f,
      -0x1.36c52cp+1f, 0x1.57d57p+2f, 0x1.b0a1p-4f, 0x1.ab9a4p+2f, -0x1.49568p+2f, -0x1.1c94bcp+2f,
      0x1.ee748p+0f, 0x1.49028p+0f, -0x1.9631fp-1f, -0x1.429d3ep+2f, 0x1.61cdp-3f, 0x1.f946e4p+2f,
      -0x1.ba55b4p+1f, -0x1.f126ap-1f, 0x1.bae16cp+2f, 0x1.80c494p+2f, 0x1.0cb7c8p+1f, 0x1.89cbp+0f,
      -0x1.87d324p+1f, 0x1.2815a8p+1f},
     {0x1.e77204p+3f, 0x1.4ee94p-2f, 0x1.2331f8p+3f, -0x1.8f7f14p+5f, -0x1.9ccf3p+4f, 0x1.25509ep+6f,
      0x1.d10b26p+4f, 0x1.de0b4p+3f, -0x1.48ac52p+3f, -0x1.5d0e1p+4f, 0x1.e3a24ep+1f, -0x1.96a73p+4f,
      -0x1.1543f8p+3f, 0x1.f59424p+4f, -0x1.6648c8p+2f, 0x1.ad045ep+5f}},
    {"transform3", [](auto in, auto out) { return put(m3(in) * v3(in + 9), out); },
     12, 6, true,
     {-0x1.02023p-2f, 0x1.31fc1p+1f, 0x1.81d898p+1f, -0x1.278052p+1f, -0x1.ef93a4p+0f, 0x1.c82e6cp+1f,
      -0x1.c834b4p+0f, -0x1.d753a4p+0f, 0x1.f0066p-1f, -0x1.9c8b84p+1f, -0x1.f5e72ap+1f, 0x1.ad8e94p+1f},
     {0x1.f12588p+1f, -0x1.92b98ap+2f, -0x1.470578p+4f}},
    {"transform4", [](auto in, auto out) { return put(m4(in) * v4(in + 16), out); },
     20, 6, true,
     {-0x1.955c5ap+2f, 0x1.467f7p+2f, 0x1.115ddp+2f, 0x1.68349p+1f, 0x1.1e411p+1f, -0x1.c9a442p+2f,
      -0x1.8db1b4p+2f, 0x1.b41684p+2f, -0x1.1cafc4p+1f, -0x1.91a688p+2f, 0x1.b721fp+0f, -0x1.c76c3cp+2f,
      -0x1.36c52cp+1f, 0x1.57d57p+2f, 0x1.b0a1p-4f, 0x1.ab9a4p+2f, -0x1.49568p+2f, -0x1.1c94bcp+2f,
      0x1.ee748p+0f, 0x1.49028p+0f},
     {0x1.e77204p+3f, 0x1.4ee94p-2f, 0x1.2331f8p+3f, -0x1.8f7f14p+5f}},
    {"determinant2", [](auto in, auto out) { return put(ormath::determinant(m2(in)), out); },
     4, 6, true,
     {0x1.e4f1dp+0f, -0x1.35cp-12f, -0x1.f8e12p+1f, 0x1.b7558p-1f},
     {0x1.9fd1f6p+0f}},
    {"determinant3", [](auto in, auto out) { return put(ormath::determinant(m3(in)), out); },
     9, 6, true,
     {0x1.b48a18p+0f, -0x1.51860cp+1f, 0x1.7d219p-1f, -0x1.19015p+1f, -0x1.343bcp+0f, 0x1.7b538cp+1f,
      0x1.ee5e4cp+1f, 0x1.a4ad3p-1f, 0x1.02644cp+1f},
     {-0x1.805c7ap+5f}},
    {"determinant4", [](auto in, auto out) { return put(ormath::determinant(m4(in)), out); },
     16, 6, true,
     {0x1.a16c78p+1f, 0x1.69ep-3f, 0x1.ff2dap+1f, 0x1.f3978p-2f, -0x1.4c856p-3f, -0x1.b80804p+0f,
      -0x1.fb9ad4p+0f, -0x1.dfbd68p+1f, 0x1.935588p+0f, 0x1.94d788p+1f, -0x1.2959dcp+1f,
      -0x1.0cbc64p+0f, 0x1.0aef4p+1f, 0x1.336d5p+1f, -0x1.900f8p-1f, -0x1.b4a78ep+1f},
     {-0x1.adf472p+6f}},
    {"inverse2", [](auto in, auto out) { return put(ormath::inverse(m2(in)), out); },
     4, 6, true,
     {0x1.a1fbap+0f, -0x1.0d5a7p+1f, 0x1.691f14p+1f, -0x1.7c736cp+1f},
     {-0x1.5f0254p+1f, 0x1.f10494p+0f, -0x1.4d2ceap+1f, 0x1.81a2fcp+0f}},
    {"inverse3", [](auto in, auto out) { return put(ormath::inverse(m3(in)), out); },
     9, 6, true,
     {-0x1.ecd8fp-1f, -0x1.280b8p-4f, -0x1.f32dc8p-1f, -0x1.6e69e8p+1f, 0x1.f28988p+0f, 0x1.ac0614p+1f,
      -0x1.81cfa8p+1f, -0x1.3a3c2p-2f, -0x1.cb31ecp+1f},
     {-0x1.2f64dap+3f, 0x1.03f3b8p-4f, 0x1.516236p+1f, -0x1.02f4fcp+5f, 0x1.a31e1ep-1f, 0x1.31ec0ap+3f,
      0x1.57834ep+3f, -0x1.f937e4p-4f, -0x1.a7d1ecp+1f}},
    {"inverse4", [](auto in, auto out) { return put(ormath::inverse(m4(in)), out); },
     16, 6, true,
     {-0x1.b2ae48p+0f, 0x1.6605ap+1f, -0x1.d24e58p+1f, -0x1.cc8dcp+0f, 0x1.7b54bp-1f, -0x1.64b078p+1f,
      -0x1.4f6bacp+0f, 0x1.79cbep+1f, 0x1.fae23cp+1f, -0x1.093c1cp+1f, -0x1.8606fep+1f, -0x1.40a46cp+1f,
      0x1.25eb74p+1f, -0x1.35ab3p+1f, 0x1.51cb4p-3f, 0x1.5a309p-1f},
     {0x1.9d26c2p+0f, -0x1.08becep+0f, -0x1.42c90cp+0f, 0x1.08c4eep+2f, 0x1.deef3ep+0f, -0x1.23d07p+0f,
      -0x1.82c082p+0f, 0x1.16d21ap+2f, -0x1.b8f7aep-3f, -0x1.081892p-3f, -0x1.44c582p-6f,
      -0x1.55b55ep-4f, 0x1.440024p+0f, -0x1.11f39ap-1f, -0x1.1e5f88p+0f, 0x1.84d2f2p+1f}},
    {"sin4", [](auto in, auto out) { return put(ormath::sin(v4(in)), out); },
     4, 24, true,
     {0x1.8p+0f, -0x1.921fb6p+1f, 0x1.9p+6f, 0x1.5p+100f},
     {0x1.feb7aap-1f, 0x1.777a5cp-24f, -0x1.03425cp-1f, 0x1.f7ba2ep-1f}},
    {"cos4", [](auto in, auto out) { return put(ormath::cos(v4(in)), out); },
     4, 24, true,
     {0x1.8p+0f, -0x1.921fb6p+1f, 0x1.9p+6f, 0x1.5p+100f},
     {0x1.21bd54p-4f, -0x1p+0f, 0x1.b981dcp-1f, -0x1.6eaafep-3f}},
    {"tan4", [](auto in, auto out) { return put(ormath::tan(v4(in)), out); },
     4, 24, true,
     {0x1.8p+0f, -0x1.921fb6p+1f, 0x1.9p+6f, 0x1.5p+100f},
     {0x1.c33ed6p+3f, -0x1.777a5cp-24f, -0x1.2ca74ep-1f, -0x1.5fb128p+2f}},
    {"sinh4", [](auto in, auto out) { return put(ormath::sinh(v4(in)), out); },
     4, 6, true,
     {0x1.8p+0f, -0x1.9p+3f, 0x1.2p-4f, 0x1.6p+6f},
     {0x1.108c3ap+1f, -0x1.060c52p+17f, 0x1.203cc4p-4f, 0x1.f1056ep+125f}},
    {"cosh4", [](auto in, auto out) { return put(ormath::cosh(v4(in)), out); },
     4, 6, true,
     {0x1.8p+0f, -0x1.9p+3f, 0x1.2p-4f, 0x1.6p+6f},
     {0x1.2d1bc2p+1f, 0x1.060c52p+17f, 0x1.00a212p+0f, 0x1.f1056ep+125f}},
    {"tanh4", [](auto in, auto out) { return put(ormath::tanh(v4(in)), out); },
     4, 4, true,
     {0x1.8p+0f, -0x1.2p+1f, 0x1.4p-3f, 0x1.2p+2f},
     {0x1.cf6f98p-1f, -0x1.f4bfd6p-1f, 0x1.3d6bc8p-3f, 0x1.ffdfa8p-1f}},
    {"asinh4", [](auto in, auto out) { return put(ormath::asinh(v4(in)), out); },
     4, 24, true,
     {0x1.8p+0f, -0x1.9p+6f, 0x1.4p-3f, 0x1.4p+50f},
     {0x1.31dcp+0f, -0x1.53180ap+2f, 0x1.3eb646p-3f, 0x1.1c96d6p+5f}},
    // acosh and atanh of cosh and tanh, which keep random arguments in
    // their domains: a NaN's bits differ between processors.
    {"acosh4", [](auto in, auto out) { return put(ormath::acosh(ormath::cosh(v4(in))), out); },
     4, 6, true,
     {0x1.8p+0f, -0x1.9p+3f, 0x1.2p-4f, 0x1.6p+6f},
     {0x1.8p+0f, 0x1.9p+3f, 0x1.2000dp-4f, 0x1.6p+6f}},
    {"atanh4", [](auto in, auto out) { return put(ormath::atanh(ormath::tanh(v4(in))), out); },
     4, 4, true,
     {0x1.8p+0f, -0x1.2p+1f, 0x1.4p-3f, 0x1.2p+2f},
     {0x1.800002p+0f, -0x1.1ffffcp+1f, 0x1.4p-3f, 0x1.2000dcp+2f}},
    {"exp4", [](auto in, auto out) { return put(ormath::exp(v4(in)), out); },
     4, 6, true,
     {0x1.8p+0f, -0x1.9p+6f, 0x1.62e42ep+6f, 0x1.5p-20f},
     {0x1.1ed3fep+2f, 0x1.bp-145f, 0x1.ffff08p+127f, 0x1.000016p+0f}},
    {"exp2_4", [](auto in, auto out) { return put(ormath::exp2(v4(in)), out); },
     4, 7, true,
     {0x1.8p+0f, -0x1.2bp+7f, 0x1.fffffep+6f, -0x1.4p-3f},
     {0x1.6a09e6p+1f, 0x1p-149f, 0x1.ffff4ep+127f, 0x1.cb720ep-1f}},
    // The logarithms and roots of |x|: a NaN's bits would differ between processors.
    {"log4", [](auto in, auto out) { return put(ormath::log(ormath::abs(v4(in))), out); },
     4, 126, true,
     {0x1.8p+0f, 0x1p-149f, 0x1.fffffep+127f, 0x1.000002p+0f},
     {0x1.9f323ep-2f, -0x1.9d1dap+6f, 0x1.62e43p+6f, 0x1.fffffep-24f}},
    {"log2_4", [](auto in, auto out) { return put(ormath::log2(ormath::abs(v4(in))), out); },
     4, 126, true,
     {0x1.8p+0f, 0x1p-149f, 0x1.4p+3f, 0x1.fffffep-1f},
     {0x1.2b8034p-1f, -0x1.2ap+7f, 0x1.a934fp+1f, -0x1.715478p-24f}},
    {"sqrt4", [](auto in, auto out) { return put(ormath::sqrt(ormath::abs(v4(in))), out); },
     4, 126, true,
     {0x1p+1f, 0x1p-149f, 0x1.fffffep+127f, 0x1.8p+0f},
     {0x1.6a09e6p+0f, 0x1.6a09e6p-75f, 0x1.fffffep+63f, 0x1.3988e2p+0f}},
    {"inversesqrt4", [](auto in, auto out) { return put(ormath::inversesqrt(ormath::abs(v4(in))), out); },
     4, 126, true,
     {0x1p+1f, 0x1p-149f, 0x1.fffffep+127f, 0x1.8p+0f},
     {0x1.6a09e6p-1f, 0x1.6a09e6p+74f, 0x1p-64f, 0x1.a20bd8p-1f}},
    // Two exact midpoints (4097^2, 27 2^-150), the hardest pair known, and one rounded.
    {"pow4", [](auto in, auto out) { return put(ormath::pow(ormath::abs(v4(in)), v4(in + 4)), out); },
     8, 4, true,
     {0x1.001p+12f, 0x1.8p-49f, 0x1.fffffep-1f, 0x1.4p+3f, 0x1p+1f, 0x1.8p+1f, -0x1.fffffep-1f, -0x1.8p+0f},
     {0x1.002p+24f, 0x1.cp-146f, 0x1p+0f, 0x1.030dc4p-5f}},
    // asin and acos of the arguments / 4: within [-1, 1] for random ones too.
    {"asin4", [](auto in, auto out) { return put(ormath::asin(v4(in) * 0.25f), out); },
     4, 1, true,
     {0x1.8p+1f, -0x1.6a09e8p+1f, 0x1p-2f, 0x1.fffffep+1f},
     {0x1.b23532p-1f, -0x1.921fb8p-1f, 0x1.002abep-4f, 0x1.920914p+0f}},
    {"acos4", [](auto in, auto out) { return put(ormath::acos(v4(in) * 0.25f), out); },
     4, 1, true,
     {0x1.8p+1f, -0x1.6a09e8p+1f, 0x1p-2f, 0x1.fffffep+1f},
     {0x1.720a3ap-1f, 0x1.2d97c8p+1f, 0x1.821d0ap+0f, 0x1.6a09e6p-12f}},
    {"atan4", [](auto in, auto out) { return put(ormath::atan(v4(in)), out); },
     4, 24, true,
     {0x1.8p+0f, -0x1.921fb6p+1f, 0x1.9p+6f, 0x1.5p+100f},
     {0x1.f730bep-1f, -0x1.433b8ap+0f, 0x1.8f905ep+0f, 0x1.921fb6p+0f}},
    {"atan4yx", [](auto in, auto out) { return put(ormath::atan(v4(in), v4(in + 4)), out); },
     8, 20, true,
     {1.0f, -0x1.8p-148f, 0x1p127f, -3.0f, -1.0f, 2.0f, 0x1p-149f, -0.0f},
     {0x1.2d97c8p+1f, -0x1p-149f, 0x1.921fb6p+0f, -0x1.921fb6p+0f}},
    {"rotate", [](auto in, auto out) { return put(ormath::rotate(in[0], v3(in + 1)), out); },
     4, 10, false,
     {0x1.ep+4f, 0x1.11aceep-2f, 0x1.11aceep-1f, 0x1.9a8364p-1f},
     {0x1.c04dfcp-1f, 0x1.ae1cap-2f, -0x1.e88e28p-3f, 0.0f, -0x1.86ea28p-2f, 0x1.cf00eap-1f, 0x1.874456p-3f,
      0.0f, 0x1.2f12c8p-2f, -0x1.382b0cp-4f, 0x1.e78074p-1f, 0.0f, 0.0f, 0.0f, 0.0f, 0x1p+0f}},
    {"frustum",
     [](auto in, auto out) { return put(ormath::frustum(in[0], in[1], in[2], in[3], in[4], in[5]), out); },
     6, 6, true,
     {-0x1.ce7c58p-1f, 0x1.333df4p+0f, -0x1.0ccda2p+0f, 0x1.10441ap+0f, 0x1.c556fp-1f, 0x1.05614cp+7f},
     {0x1.af0ae2p-1f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1.acfbdp-1f, 0x0p+0f, 0x0p+0f, 0x1.210b78p-3f,
      0x1.a36bdcp-8f, -0x1.037e12p+0f, -0x1p+0f, 0x0p+0f, 0x0p+0f, -0x1.c86e92p+0f, 0x0p+0f}},
    {"ortho",
     [](auto in, auto out) { return put(ormath::ortho(in[0], in[1], in[2], in[3], in[4], in[5]), out); },
     6, 6, true,
     {-0x1.05c0fcp+0f, 0x1.7c35fep+1f, -0x1.249fb6p+1f, 0x1.0f7012p+0f, 0x1.f39c0ep-2f, 0x1.842a64p+4f},
     {0x1.0074f8p-1f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1.31ff78p-1f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f,
      -0x1.5899cp-4f, 0x0p+0f, -0x1.f38ed8p-2f, 0x1.771932p-2f, -0x1.0a8216p+0f, 0x1p+0f}},
    {"perspective",
     [](auto in, auto out) { return put(ormath::perspective(in[0], in[1], in[2], in[3]), out); },
     4, 6, false,
     {0x1.68p+5f, 0x1.555556p+0f, 0x1.99999ap-4f, 0x1.9p+6f},
     {0x1.cf876ap+0f, 0.0f, 0.0f, 0.0f, 0.0f, 0x1.3504f2p+1f, 0.0f, 0.0f, 0.0f, 0.0f, -0x1.008334p+0f,
      -0x1p+0f, 0.0f, 0.0f, -0x1.9a029p-3f, 0.0f}},
    {"look_at", [](auto in, auto out) { return put(ormath::look_at(v3(in), v3(in + 3), v3(in + 6)), out); },
     9, 6, false,
     {-0x1.3a1p-3f, 0x1.9244p-1f, 0x1.84e254p+1f, -0x1.95789ap+1f, -0x1.f49fe2p+1f, -0x1.3558a4p+1f,
      -0x1.c6fb4p+1f, 0x1.451714p+1f, -0x1.159aeap+1f},
     {0x1.50bdeep-1f, -0x1.4b1d94p-1f, 0x1.8b881ep-2f, 0x0p+0f, 0x1.680bd6p-2f, 0x1.6f20b4p-1f,
      0x1.3424eap-1f, 0x0p+0f, -0x1.551658p-1f, -0x1.0a42a4p-2f, 0x1.65e1e4p-1f, 0x0p+0f,
      0x1.d93d04p+0f, 0x1.050058p-3f, -0x1.44c4e6p+1f, 0x1p+0f}},
    {"project",
     [](auto in, auto out) { return put(ormath::project(v3(in), m4(in + 3), m4(in + 19), v4(in + 35)), out); },
     39, 6, true,
     {-0x1.fcfb36p+1f, -0x1.038e88p+0f, 0x1.6f316p+1f, 0x1.4ef64p-3f, -0x1.527e3cp+1f, 0x1.c075a8p+0f,
      -0x1.9ce2cp-3f, -0x1.ebbe9cp+0f, -0x1.ba29b2p+1f, 0x1.9f2ffp+0f, -0x1.8df418p+1f, 0x1.7c7b14p+1f,
      0x1.46725p+1f, 0x1.fd804p-1f, 0x1.40b65p+0f, 0x1.46c0b8p+1f, -0x1.785c8p-3f, 0x1.99ac08p+1f,
      0x1.7c6d3p+0f, 0x1.e2bd14p+1f, 0x1.00ed3p+0f, 0x1.4c787p-1f, -0x1.baa08p+0f, 0x1.4d1b9p+0f,
      -0x1.f9f1dcp+0f, 0x1.741a34p+1f, 0x1.c9f11p-1f, 0x1.365b28p+1f, 0x1.25073p-1f, -0x1.5627b4p+0f,
      -0x1.c012a4p+0f, 0x1.21132p+1f, 0x1.987c4p-1f, 0x1.15ec8p-2f, -0x1.6e35fp-1f, 0x1.ae15e4p+1f,
      0x1.2b575ap+3f, 0x1.0914a8p+8f, 0x1.d3b322p+9f},
     {-0x1.367f88p+11f, 0x1.708e52p+11f, -0x1.fb64dcp+2f}},
    {"unproject",
     [](auto in, auto out) { return put(ormath::unproject(v3(in), m4(in + 3), m4(in + 19), v4(in + 35)), out); },
     39, 6, true,
     {0x1.56b06cp+9f, 0x1.40ad4p+7f, 0x1.c12fdp-1f, -0x1.6b3094p+0f, -0x1.1b53c8p+1f, 0x1.9dadf8p+1f,
      -0x1.752dcp+1f, 0x1.ce7568p+1f, 0x1.b0d52p-2f, 0x1.8cc224p+1f, 0x1.fde594p+1f, 0x1.933ccp+1f,
      -0x1.28cabp+1f, -0x1.c0a44p+0f, 0x1.b823p-2f, 0x1.eec9d4p+1f, -0x1.3c5e0cp+1f, 0x1.b58b48p+1f,
      0x1.c92168p+1f, -0x1.cc9cap-3f, -0x1.b525dp-2f, -0x1.b7db9p+1f, 0x1.950a9cp+1f, 0x1.ce541p+1f,
      0x1.c54c68p+1f, -0x1.efbb24p+0f, -0x1.23976cp+1f, -0x1.85f804p+1f, -0x1.1198fcp+1f,
      0x1.7ad9a8p+1f, 0x1.4f93cp+1f, 0x1.7c64e4p+1f, -0x1.bc661p+1f, 0x1.a29c8p-3f, 0x1.1e7e4p-1f,
      0x1.48ae56p+0f, 0x1.62f52p+6f, 0x1.e717ccp+9f, 0x1.c5f2aap+7f},
     {-0x1.f61f04p-2f, -0x1.82970ep+0f, 0x1.40b87ep-3f}},
    {"quat_product", [](auto in, auto out) { return put(q4(in) * q4(in + 4), out); },
     8, 6, true,
     {-0x1.91a436p+4f, 0x1.13ef84p-3f, -0x1.79afecp+5f, -0x1.c6319ep+6f, -0x1.94ba28p+0f, -0x1.721efep+0f, 0x1.7ef0d8p+4f, -0x1.d8b4fcp+5f},
     {0x1.8f7058p+10f, 0x1.9fd282p+9f, 0x1.b1e68p+6f, 0x1.e77d66p+12f}},
    {"quat_turn", [](auto in, auto out) { return put(q4(in) * v3(in + 4), out); },
     7, 6, true,
     {0x1.08dd78p+3f, -0x1.b102fcp+6f, -0x1.32c892p-5f, 0x1.d9af9ep+4f, -0x1.81f446p+0f, 0x1.85fa56p-3f, 0x1.3510ccp-1f},
     {0x1.e67a44p-1f, 0x1.84166p-2f, -0x1.468e62p+0f}},
    {"quat_mat3", [](auto in, auto out) { return put(ormath::mat3(q4(in)), out); },
     4, 6, true,
     {0x1.1a4412p+1f, 0x1.ca9c88p-5f, -0x1.8b0a02p+3f, -0x1.56ea86p-3f},
     {-0x1.e028b6p-1f, 0x1.c855ap-6f, -0x1.625526p-2f, -0x1.94e5c4p-6f, -0x1.ffcc0cp-1f, -0x1.b9cb18p-7f, -0x1.6293a4p-2f, -0x1.0c36aep-8f, 0x1.e05236p-1f}},
    {"quat_from_mat3", [](auto in, auto out) { return put(ormath::quat(m3(in)), out); },
     9, 1, false,
     {0x1.e2bb88p-3f, 0x1.8463ep-5f, 0x1.f0fb34p-1f, 0x1.d9a14p-1f, 0x1.2e3f66p-2f, -0x1.e9939p-3f, -0x1.30fcbep-2f, 0x1.e89608p-1f, 0x1.a55046p-6f},
     {-0x1.e9b622p-2f, -0x1.044868p-1f, -0x1.682a9ap-2f, 0x1.3f64ep-1f}},
    {"quat_inverse", [](auto in, auto out) { return put(ormath::inverse(q4(in)), out); },
     4, 6, true,
     {-0x1.b6f68ap+3f, 0x1.a2dc1cp-5f, 0x1.804d6ep-6f, 0x1.1fa45cp-6f},
     {0x1.2a96d2p-4f, -0x1.1cea24p-12f, -0x1.05688p-13f, 0x1.875112p-14f}},
    {"quat_dot", [](auto in, auto out) { return put(ormath::dot(q4(in), q4(in + 4)), out); },
     8, 24, true,
     {-0x1.ebb04p+20f, -0x1.e4d678p+18f, 0x1.20612p+13f, 0x1.fdfc36p-24f, -0x1.c91d68p+6f, 0x1.da976ap+10f, 0x1.f58724p-10f, -0x1.07994cp+19f},
     {-0x1.53ab2ap+29f}},
    {"quat_length", [](auto in, auto out) { return put(ormath::length(q4(in)), out); },
     4, 24, false,
     {-0x1.a199f8p+11f, 0x1.0a572cp-18f, -0x1.a7e8e8p-12f, 0x1.e2fc22p+10f},
     {0x1.e26658p+11f}},
    {"quat_normalize", [](auto in, auto out) { return put(ormath::normalize(q4(in)), out); },
     4, 24, false,
     {-0x1.bc622ep+1f, -0x1.a4bf3ep-9f, -0x1.d993ep+16f, 0x1.93e93ep+22f},
     {-0x1.199ab4p-21f, -0x1.0aa03ep-31f, -0x1.2c1ac2p-6f, 0x1.ffea04p-1f}},
    {"quat_rotation", [](auto in, auto out) { return put(ormath::quat_rotation(in[0], v3(in + 1)), out); },
     4, 10, false,
     {0x1.bacd0ap+7f, -0x1.5a9ff8p-1f, -0x1.145082p-1f, 0x1.0036bap-1f},
     {-0x1.443f68p-1f, -0x1.0279fp-1f, 0x1.df58b8p-2f, -0x1.69f65p-2f}},
    {"quat_between", [](auto in, auto out) { return put(ormath::quat_between(v3(in), v3(in + 3)), out); },
     6, 1, false,
     {-0x1.6f794ap-1f, -0x1.037ff6p-1f, 0x1.e8f1f6p-2f, 0x1.39ad14p-1f, 0x1.c05a0cp-2f, 0x1.50e474p-1f},
     {-0x1.e65204p-2f, 0x1.56c1dap-1f, -0x1.acdabep-9f, 0x1.24754ep-1f}},
    {"slerp", [](auto in, auto out) { return put(ormath::slerp(ormath::normalize(q4(in)), ormath::normalize(q4(in + 4)), in[8]), out); },
     9, 1, false,
     {0x1.f7dcf2p+0f, 0x1.c856eep+1f, 0x1.e40022p-1f, 0x1.324bbap+1f, 0x1.5ebc28p+0f, 0x1.e3d7a8p+1f, -0x1.4dccbap+1f, -0x1.56914cp-1f, -0x1.1da1cp-1f},
     {0x1.31e956p-2f, 0x1.7c2b12p-2f, 0x1.243cap-1f, 0x1.565dap-1f}},
    {"nlerp", [](auto in, auto out) { return put(ormath::nlerp(q4(in), q4(in + 4), in[8]), out); },
     9, 1, false,
     {0x1.058a88p-1f, 0x1.02cb22p+0f, -0x1.4202eap+0f, -0x1.6dd0a6p+0f, 0x1.c533aep+0f, 0x1.c77718p+1f, 0x1.3d802ap-1f, 0x1.8beb86p+0f, -0x1.96e23ep+0f},
     {-0x1.7402fep-3f, -0x1.7afc1cp-2f, -0x1.08a43p-1f, -0x1.802006p-1f}},
    {"angle", [](auto in, auto out) { return put(ormath::angle(q4(in)), out); },
     4, 6, false,
     {-0x1.4c69c6p+3f, 0x1.73549p+1f, -0x1.570c6ep-4f, -0x1.d84fe6p-3f},
     {0x1.6ce65p+7f}},
    {"axis", [](auto in, auto out) { return put(ormath::axis(q4(in)), out); },
     4, 24, false,
     {-0x1.11fc7p-12f, 0x1.ee9fb4p-15f, -0x1.70db2p-19f, -0x1.5c7bdap+7f},
     {-0x1.f36a42p-1f, 0x1.c2cb48p-3f, -0x1.502bb8p-7f}},
    {"frustum_zero_to_one", [](auto in, auto out) { return put(ormath::frustum(in[0], in[1], in[2], in[3], in[4], in[5], ormath::clip_depth::zero_to_one), out); },
     6, 6, true,
     {0x1.d89e74p-5f, 0x1.334054p-5f, -0x1.afdb38p+1f, -0x1.4520aep-2f, -0x1.0b591ap+2f, 0x1.713ee6p+4f},
     {0x1.9ddf5p+8f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.5de3cp+1f, 0x0p+0f, 0x0p+0f, -0x1.2dd294p+2f, -0x1.353044p+0f, -0x1.b18704p-1f, -0x1p+0f, 0x0p+0f, 0x0p+0f, 0x1.c4beb4p+1f, 0x0p+0f}},
    {"frustum_one_to_zero", [](auto in, auto out) { return put(ormath::frustum(in[0], in[1], in[2], in[3], in[4], in[5], ormath::clip_depth::one_to_zero), out); },
     6, 6, true,
     {0x1.49a84p-3f, 0x1.289614p-4f, -0x1.038baap+5f, -0x1.472c68p+0f, 0x1.ec7438p-2f, -0x1.8bb1e4p-3f},
     {-0x1.5b8e3cp+3f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1.f9a53ap-6f, 0x0p+0f, 0x0p+0f, -0x1.5151cap+1f, -0x1.14ffp+0f, -0x1.6d416ep-1f, -0x1p+0f, 0x0p+0f, 0x0p+0f, 0x1.1a48e2p-3f, 0x0p+0f}},
    {"ortho_zero_to_one", [](auto in, auto out) { return put(ormath::ortho(in[0], in[1], in[2], in[3], in[4], in[5], ormath::clip_depth::zero_to_one), out); },
     6, 6, true,
     {-0x1.3a3306p-1f, 0x1.481d4ap-4f, -0x1.dae3a4p-6f, -0x1.fb97dep+3f, 0x1.2785cap+0f, 0x1.6af962p+0f},
     {0x1.70feaep+1f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.02b1fap-3f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.e5ccf6p+1f, 0x0p+0f, 0x1.89c3dcp-1f, -0x1.00eff2p+0f, -0x1.18668ap+2f, 0x1p+0f}},
    {"ortho_one_to_zero", [](auto in, auto out) { return put(ormath::ortho(in[0], in[1], in[2], in[3], in[4], in[5], ormath::clip_depth::one_to_zero), out); },
     6, 6, true,
     {-0x1.905816p+1f, 0x1.f96be8p+3f, 0x1.48ae26p+6f, 0x1.2f4a68p+2f, 0x1.342bf4p+0f, -0x1.c987c8p-3f},
     {0x1.b0eec6p-4f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.a73058p-6f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.66beap-1f, 0x0p+0f, -0x1.56bd7ep-1f, 0x1.1f55d2p+0f, 0x1.409448p-3f, 0x1p+0f}},
    {"ortho2d", [](auto in, auto out) { return put(ormath::ortho(in[0], in[1], in[2], in[3]), out); },
     4, 6, true,
     {0x1.fe267ep+1f, 0x1.2c1622p-3f, -0x1.85435ep-2f, -0x1.96865p+5f},
     {-0x1.0abc0ap-1f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1.44d9d6p-5f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, -0x1p+0f, 0x0p+0f, 0x1.138ab6p+0f, -0x1.03dbe8p+0f, -0x0p+0f, 0x1p+0f}},
    {"pick_matrix", [](auto in, auto out) { return put(ormath::pick_matrix(in[0], in[1], in[2], in[3], v4(in + 4)), out); },
     8, 10, true,
     {0x1.afe93ep+3f, -0x1.ca9ef6p-4f, 0x1.c926a6p+0f, 0x1.437f52p-2f, -0x1.6ef18cp-1f, 0x1.052b8p-6f, 0x1.7f5bbap-5f, 0x1.feebbp-7f},
     {0x1.ad5a8cp-6f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1.945152p-5f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x0p+0f, 0x1p+0f, 0x0p+0f, -0x1.fc943p+3f, 0x1.b7de9p-1f, 0x0p+0f, 0x1p+0f}},
    {"frustum_planes", [](auto in, auto out) { return put(ormath::frustum_planes(m4(in)), out); },
     16, 6, false,
     {-0x1.3c81a2p+2f, 0x1.03ff7cp-3f, -0x1.8c7812p-1f, -0x1.749fbap+5f, 0x1.73a372p-1f, -0x1.de5b1ep-2f, 0x1.239df8p+3f, -0x1.99b782p+1f, -0x1.586966p-6f, -0x1.71307cp-6f, 0x1.62cba8p-3f, -0x1.287e4cp+3f, 0x1.06a68ap+5f, 0x1.d7ae6ep-1f, -0x1.8eb664p-4f, 0x1.476766p-5f},
     {-0x1.f7519ep-1f, -0x1.82d9dcp-5f, -0x1.6ade06p-3f, 0x1.411c7p-1f, -0x1.f1b88ap-1f, -0x1.778f08p-4f, -0x1.ba11ecp-3f, -0x1.8805f4p-1f, -0x1.f49046p-1f, -0x1.3c386cp-4f, -0x1.905a84p-3f, 0x1.4b76bcp-6f, -0x1.f56eecp-1f, -0x1.d59aacp-5f, -0x1.8ceefap-3f, -0x1.2ec5ecp-6f, -0x1.f313ccp-1f, 0x1.f27e6p-4f, -0x1.7f5048p-3f, -0x1.359dbep-10f, -0x1.e4ef42p-1f, -0x1.04bddep-2f, -0x1.8fb7bap-3f, 0x1.7426c2p-9f}},
    {"sphere_visible", [](auto in, auto out) { return put(ormath::sphere_visible(ormath::frustum_planes(m4(in)), v3(in + 16), in[19]) ? 1.0f : 0.0f, out); },
     20, 6, false,
     {0x1.cf542p-4f, 0x1.62cce2p-4f, 0x1.24e958p+5f, 0x1.27ffdp-3f, -0x1.2ec434p-4f, -0x1.9c0384p-3f, 0x1.59694p+4f, 0x1.4b3be8p-5f, -0x1.cff75ap-6f, 0x1.1dd8ep-2f, -0x1.ec7024p+1f, 0x1.81c1cp+6f, 0x1.172132p+6f, 0x1.1d8652p+2f, -0x1.b2b7e4p-5f, 0x1.f90c9ep+0f, 0x1.30e3d2p-3f, 0x1.2cdf1p+4f, 0x1.6b9912p+6f, -0x1.74b8c6p+4f},
     {0x1p+0f}},
    {"box_visible", [](auto in, auto out) { return put(ormath::box_visible(ormath::frustum_planes(m4(in)), v3(in + 16), v3(in + 19)) ? 1.0f : 0.0f, out); },
     22, 6, false,
     {-0x1.dc727ap+4f, 0x1.d75ddp-2f, 0x1.f586e6p-3f, 0x1.b4293cp+6f, -0x1.9b1f7cp-4f, -0x1.aaef4ap+1f, -0x1.bb2cb8p+5f, -0x1.a4d9e2p+4f, -0x1.ada748p-6f, 0x1.f8e314p-1f, 0x1.b4ab1p+1f, -0x1.2fce46p-3f, 0x1.d630dp+6f, -0x1.d92f7cp+5f, -0x1.f3e294p+6f, -0x1.149e64p-5f, 0x1.7994eep+1f, -0x1.02d80cp+3f, 0x1.7bd7cap+0f, -0x1.daf402p-5f, -0x1.3fbb8cp-1f, -0x1.f47d44p-2f},
     {0x1p+0f}},
    {"ray_plane", [](auto in, auto out) { return put(ormath::ray_plane(v3(in), v3(in + 3), v4(in + 6)), out); },
     10, 6, false,
     {-0x1.d40f76p-3f, 0x1.2c1624p+5f, -0x1.41a106p+5f, 0x1.c1714cp-3f, -0x1.ca25d4p+6f, 0x1.f8f0ccp-2f, -0x1.242ba8p+1f, -0x1.b55248p+0f, 0x1.56478ep-1f, -0x1.20faecp+5f},
     {0x1.4b756ap-1f}},
    {"ray_sphere", [](auto in, auto out) { return put(ormath::ray_sphere(v3(in), v3(in + 3), v3(in + 6), in[9]), out); },
     10, 6, false,
     {-0x1.56c21cp+0f, 0x1.27f80ap+3f, 0x1.59827cp+4f, 0x1.583a18p+0f, -0x1.42d06ap+3f, -0x1.56571ep+4f, 0x1.261eb8p-2f, -0x1.4a2f4ep+0f, -0x1.01783cp-2f, 0x1.f4a984p+1f},
     {0x1.b90a3ep-1f}},
    {"ray_box", [](auto in, auto out) { return put(ormath::ray_box(v3(in), v3(in + 3), v3(in + 6), v3(in + 9)), out); },
     12, 6, false,
     {0x1.6b5512p+1f, -0x1.74412p+3f, 0x1.aba70ap-2f, -0x1.343b76p+1f, 0x1.47f9dcp+3f, -0x1.1d014ep+1f, -0x1.bf405ep+1f, -0x1.93182cp+1f, -0x1.f5e9e8p+1f, 0x1.f2c27ep+1f, 0x1.853536p-1f, 0x1.6ae06ap-1f},
     {0x1.a7ce4cp-1f}},
    {"ray_triangle", [](auto in, auto out) { return put(ormath::ray_triangle(v3(in), v3(in + 3), v3(in + 6), v3(in + 9), v3(in + 12)), out); },
     15, 6, false,
     {-0x1.b71f54p+1f, -0x1.3723f2p+1f, -0x1.8f3006p-2f, 0x1.1e4c5cp+0f, 0x1.74da3ep+0f, 0x1.fcc8b8p-1f, -0x1.a2e602p+1f, 0x1.cea43ap+0f, 0x1.8bbc8cp+0f, -0x1.728e8ap+1f, -0x1.7103e6p+1f, 0x1.00834cp+1f, -0x1.ffa9cap-1f, -0x1.149268p+1f, -0x1.08fdfcp+1f},
     {0x1.d6c7e4p-1f}},

    {"outerProduct4", [](auto in, auto out) { return put(ormath::outerProduct(v4(in), v4(in + 4)), out); },
     8, 24, true,
     {-0x1.a95382p-17f, 0x1.3d4fap-3f, -0x1.a0d0e8p+7f, 0x1.7ad25ep-13f, 0x1.e3089cp+5f, 0x1.40f918p-12f,
      -0x1.85a8bap-4f, -0x1.2b456cp-9f},
     {-0x1.91436ep-11f, 0x1.2b5bf4p+3f, -0x1.893c16p+13f, 0x1.6563d2p-7f, -0x1.0aa31ep-28f, 0x1.8dd848p-15f,
      -0x1.054d5ap-4f, 0x1.daf79p-25f, 0x1.43b21cp-20f, -0x1.e2fb2p-7f, 0x1.3d3814p+4f, -0x1.204dacp-16f,
      0x1.f137ep-26f, -0x1.72f20cp-12f, 0x1.e74508p-2f, -0x1.bada6ep-22f}},
    {"matrixCompMult4",
     [](auto in, auto out) { return put(ormath::matrixCompMult(m4(in), m4(in + 16)), out); },
     32, 24, true,
     {-0x1.bc1d88p-12f, 0x1.81fb58p+12f, -0x1.e44a6ep+19f, 0x1.b75ecep-11f, 0x1.01b4a8p-8f, 0x1.386ecap+1f,
      0x1.588dfp+10f, 0x1.999504p-7f, 0x1.1d6582p+11f, 0x1.91619p+6f, -0x1.af164ap+7f, -0x1.34f35p-12f,
      0x1.6831c2p-16f, 0x1.19e9aep+12f, -0x1.426892p+13f, 0x1.8b7c22p+18f, 0x1.7dde5cp-19f, -0x1.26f5d6p+6f,
      0x1.3fe3a2p-19f, -0x1.5a38fep+10f, -0x1.64b078p+16f, -0x1.c5e45ap-16f, -0x1.66737cp+6f,
      0x1.62a5f4p-13f, 0x1.455896p-16f, 0x1.b3ae16p+19f, 0x1.55e932p-15f, 0x1.d897c2p+22f, 0x1.6f146ep-16f,
      -0x1.6c7162p+12f, -0x1.9d8abap-14f, 0x1.83b0eep-24f},
     {-0x1.4b3cdap-30f, -0x1.bcb95p+18f, -0x1.2e93bp+1f, -0x1.291bfap+0f, -0x1.6710dep+8f, -0x1.14f95ep-14f,
      -0x1.e271ecp+16f, 0x1.1bb4cap-19f, 0x1.6ab4ap-5f, 0x1.558cdep+26f, -0x1.1fe0bp-7f, -0x1.1d2bep+11f,
      0x1.023e0ap-31f, -0x1.91552p+24f, 0x1.0468b6p+0f, 0x1.2b76fep-5f}},
    {"divide4", [](auto in, auto out) { return put(m4(in) / m4(in + 16), out); },
     32, 24, true,
     {0x1.19e8b6p+11f, -0x1.c5353ap+14f, 0x1.be276p+3f, 0x1.9c466ep+6f, 0x1.d611c4p+2f, -0x1.2c1222p-10f,
      -0x1.baf2a4p-1f, 0x1.0efc58p+7f, -0x1.c2349p-2f, -0x1.26aa68p+9f, -0x1.f2347ap-8f, -0x1.d6e662p-14f,
      -0x1.ed4c82p-16f, 0x1.96565ep-18f, 0x1.5b8beap-20f, 0x1.9a5c04p-19f, 0x1.b82678p-2f, -0x1.b2f57p+1f,
      0x1.68c9e2p+8f, -0x1.ecef46p-7f, 0x1.0bb324p+23f, 0x1.460478p+1f, -0x1.48b88cp-11f, -0x1.22e866p-1f,
      0x1.1b69e6p-19f, 0x1.429942p+19f, 0x1.929c5cp+9f, -0x1.b58016p-10f, -0x1.e30c22p+5f, 0x1.c26302p-14f,
      -0x1.5d1cfp-10f, 0x1.c552ap+9f},
     {0x1.47ed78p+12f, 0x1.0abda2p+13f, 0x1.3c924cp-5f, -0x1.ac3884p+12f, 0x1.c1866ep-21f, -0x1.d7406cp-12f,
      0x1.58f50cp+10f, -0x1.dcefdep+7f, -0x1.96a89p+17f, -0x1.d3aacep-11f, -0x1.3cc898p-17f, 0x1.138b24p-4f,
      0x1.056ed6p-21f, 0x1.cdecb4p-5f, -0x1.fdb3dep-11f, 0x1.cf79cp-29f}},
    {"divide4s", [](auto in, auto out) { return put(m4(in) / in[16], out); },
     17, 24, true,
     {0x1.ad3d14p+1f, 0x1.c1f474p+5f, -0x1.a59fdp+8f, -0x1.ff1078p+18f, -0x1.154c8ep-23f, 0x1.c039d8p+18f,
      0x1.10ea3ap+21f, -0x1.36a624p-7f, -0x1.23d6b4p+10f, 0x1.f1dce2p-23f, -0x1.b78d12p-10f, 0x1.046448p-7f,
      0x1.ecc026p+19f, -0x1.6a2bap-7f, -0x1.9cd852p+7f, -0x1.46605ap+15f, 0x1.86b206p-21f},
     {0x1.19414ep+22f, 0x1.26d44ep+26f, -0x1.144412p+29f, -0x1.4edeeap+39f, -0x1.6b655ap-3f, 0x1.25b248p+39f,
      0x1.65a68ep+41f, -0x1.9719b8p+13f, -0x1.7e732ap+30f, 0x1.463878p-2f, -0x1.200324p+11f, 0x1.553d38p+13f,
      0x1.42deeep+40f, -0x1.da9e54p+13f, -0x1.0e836ap+28f, -0x1.abb6p+35f}},
    {"row_transform3", [](auto in, auto out) { return put(v3(in) * m3(in + 3), out); },
     12, 6, true,
     {0x1.ca25aap-4f, 0x1.a2dcacp-5f, 0x1.26d584p-3f, 0x1.e0d332p+0f, -0x1.426abp+4f, 0x1.dfb96ap-2f,
      0x1.98ec78p-6f, -0x1.55a01ap-5f, 0x1.cfa3c2p+2f, 0x1.08196ap+5f, -0x1.c265fcp+1f, 0x1.9fa9cep+4f},
     {-0x1.81701ep-1f, 0x1.0b279ap+0f, 0x1.d02a48p+2f}},
    {"row_transform4", [](auto in, auto out) { return put(v4(in) * m4(in + 4), out); },
     20, 6, true,
     {0x1.6a0c2ep+0f, -0x1.f0cfcp-6f, -0x1.25fcc6p+2f, -0x1.81f3ap+2f, -0x1.e65678p+3f, 0x1.17dc44p+6f,
      0x1.045496p+3f, -0x1.8d4c8cp-6f, -0x1.6ce3f6p+0f, -0x1.872b9cp-2f, 0x1.b3de5ep-5f, -0x1.368a9ep-3f,
      0x1.41759cp+2f, 0x1.e1f59p+0f, -0x1.c96652p+1f, 0x1.30cc2ep-5f, 0x1.be5dcp-6f, 0x1.3c8f56p-1f,
      0x1.482f7cp-6f, -0x1.96170cp+3f},
     {-0x1.e6b6a6p+5f, -0x1.558f14p+0f, 0x1.73c9e8p+4f, 0x1.31d39ap+6f}},
    {"trunc4", [](auto in, auto out) { return put(ormath::trunc(v4(in)), out); },
     4, 4, false,
     {-0x1.8p-1f, 0x1.fffffep+22f, -0x1.4p+1f, 0x1.ffef9cp+2f},
     {-0.0f, 0x1.fffffcp+22f, -0x1p+1f, 0x1.cp+2f}},
    {"round4", [](auto in, auto out) { return put(ormath::round(v4(in)), out); },
     4, 4, false,
     {0x1.4p+1f, -0x1p-1f, 0x1.fffffep+22f, -0x1.cp+1f},
     {0x1.8p+1f, -0x1p+0f, 0x1p+23f, -0x1p+2f}},
    {"roundEven4", [](auto in, auto out) { return put(ormath::roundEven(v4(in)), out); },
     4, 4, false,
     {0x1.4p+1f, -0x1p-1f, 0x1.fffffep+22f, -0x1.cp+1f},
     {0x1p+1f, -0.0f, 0x1p+23f, -0x1p+2f}},
    {"fma", [](auto in, auto out) { return put(ormath::fma(in[0], in[1], in[2]), out); },
     3, 24, false,
     {0x1.7195f4p-9f, -0x1.0f9a7cp+4f, 0x1.881cc4p-5f},
     {-0x1.0ad46p-30f}},
    {"ldexp4",
     [](auto in, auto out) { return put(ormath::ldexp(v4(in), ormath::ivec4(-130, -140, -148, 100)), out); },
     4, 24, false,
     {0x1.728f5p+0f, -0x1.98a4f6p+0f, -0x1.35649ap+0f, 0x1.bdce4cp+0f},
     {0x1.728f4p-130f, -0x1.988p-140f, -0x1p-148f, 0x1.bdce4cp+100f}},
    {"unorm2x16",
     [](auto in, auto out) { return put(ormath::unpackUnorm2x16(ormath::packUnorm2x16(v2(in))), out); },
     2, 1, false,
     {0x1.8d3b6ap-2f, 0x1.fffe3p-1f},
     {0x1.8d398ep-2f, 0x1.fffep-1f}},
    {"snorm2x16",
     [](auto in, auto out) { return put(ormath::unpackSnorm2x16(ormath::packSnorm2x16(v2(in))), out); },
     2, 1, false,
     {-0x1.5f3a7cp-3f, 0x1.0002p-1f},
     {-0x1.5f32bep-3f, 0x1.0002p-1f}},
    {"unorm4x8",
     [](auto in, auto out) { return put(ormath::unpackUnorm4x8(ormath::packUnorm4x8(v4(in))), out); },
     4, 1, false,
     {0x1.01p-1f, 0x1.2c3a8p-3f, 0x1.8p+0f, -0x1p-2f},
     {0x1.010102p-1f, 0x1.29292ap-3f, 0x1p+0f, 0.0f}},
    {"snorm4x8",
     [](auto in, auto out) { return put(ormath::unpackSnorm4x8(ormath::packSnorm4x8(v4(in))), out); },
     4, 1, false,
     {-0x1.fcp-2f, 0x1.3f5ap-1f, -0x1.8p+0f, 0x1.02p-8f},
     {-0x1.fbf7fp-2f, 0x1.3e7cfap-1f, -0x1p+0f, 0.0f}},
    {"half2x16",
     [](auto in, auto out) { return put(ormath::unpackHalf2x16(ormath::packHalf2x16(v2(in))), out); },
     2, 16, false,
     {0x1.fffp-1f, -0x1.7a3d8cp-20f},
     {0x1p+0f, -0x1.8p-20f}},
};
// clang-format on
constexpr int row_count = static_cast<int>(sizeof table / sizeof table[0]);

// The row of the function called `name` (not found: not a constant, and an abort at run time).
constexpr const row& find(std::string_view name) {
    for (const row& r : table) {
        if (name == r.name) {
            return r;
        }
    }
    std::abort();
}

// Random arguments: floats with random signs and mantissas and binary
// exponents in -magnitude..magnitude, and one in 32 a zero of either sign.
// Made from integers alone, so that every platform and C++ library draws
// the same ones.
class float_source {
 public:
    explicit float_source(std::uint32_t seed) : state_(seed | 1u) {}

    float operator()(int magnitude) {
        const std::uint32_t r = next();
        const std::uint32_t sign = (r & 1u) << 31;
        if ((r >> 1) % 32 == 0) {
            return from_bits(sign);
        }
        const auto span = static_cast<std::uint32_t>(2 * magnitude + 1);
        const auto exponent = static_cast<std::uint32_t>(127 - magnitude) + next() % span;
        return from_bits(sign | exponent << 23 | (next() & 0x7fffffu));
    }

    // Fills a row's arguments.
    void fill(const row& r, float* in) {
        for (int i = 0; i < max_inputs; ++i) {
            in[i] = i < r.inputs ? (*this)(r.magnitude) : 0.0f;
        }
    }

 private:
    std::uint32_t next() {  // xorshift32
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    static float from_bits(std::uint32_t u) {
        float f;
        std::memcpy(&f, &u, sizeof f);
        return f;
    }
    std::uint32_t state_;
};

}  // namespace functions
