// Ormath's correctly rounded elementary functions beside glibc's float
// functions on the same inputs, and the share of glibc's results that are
// correctly rounded (equal to Ormath's); the vec4 forms beside Eigen's
// Array4f functions, with Eigen's share. Run with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N for
// the median of interleaved repetitions.
#include <benchmark/benchmark.h>
#include <ormath/elementary.hpp>
#include <ormath/vectors.hpp>

#include <Eigen/Core>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {

constexpr unsigned n_inputs = 1024;  // a power of two: the index wraps with a mask

// 1024 inputs repeat often enough for the processor's branch predictor to
// learn which way each one goes, which favours code that branches on the
// argument (glibc's among it). The varied sets, 2^16 inputs, are too long
// for that, as varied arguments in a program would be.
constexpr unsigned n_varied = 1u << 16;

template <unsigned N = n_inputs>
struct inputs_t {
    float x[N];
    // Uniform in (-limit, limit) with a full mantissa.
    explicit inputs_t(float limit, std::uint32_t seed = 12345u) {
        std::uint32_t state = seed;
        for (float& v : x) {
            state = state * 1664525u + 1013904223u;
            v = limit * (static_cast<float>(state >> 8) * 0x1p-23f - 1.0f);
        }
    }
    // Uniform in (low, high).
    inputs_t(float low, float high) : inputs_t(1.0f) {
        for (float& v : x) {
            v = low + (high - low) * 0.5f * (v + 1.0f);
        }
    }
};

const inputs_t<> trig_inputs(100.0f);
const inputs_t<> unit_inputs(1.0f);   // asin and acos: their whole domain
const inputs_t<> atan_inputs(10.0f);  // atan: angles from -1.47 to 1.47
const inputs_t<> pair_x(100.0f);      // atan(y, x): every quadrant
const inputs_t<> pair_y(100.0f, 67890u);
const inputs_t<n_varied> varied_unit(1.0f);
const inputs_t<n_varied> varied_atan(10.0f);
const inputs_t<n_varied> varied_x(100.0f);
const inputs_t<n_varied> varied_y(100.0f, 67890u);
// The hyperbolic functions where their results are neither 0, 1 nor
// infinite in float: tanh is +-1 beyond 9.01, sinh and cosh overflow
// beyond 89.4.
const inputs_t<> sinh_inputs(10.0f), tanh_inputs(5.0f), asinh_inputs(10.0f), acosh_inputs(1.0f, 10.0f),
    atanh_inputs(1.0f);
// exp and exp2 over (-80, 80), where their results are normal floats; the
// logarithms, sqrt and inversesqrt over positive floats from 2^-40 to 2^40.
const inputs_t<> exp_inputs(80.0f);
struct positive_t {
    float x[n_inputs];
    positive_t() {
        std::uint32_t state = 54321u;
        for (float& v : x) {
            state = state * 1664525u + 1013904223u;
            // Exponents from 2^-40 to 2^40, full mantissa.
            const std::uint32_t e = 87u + (state >> 8) % 80u;
            state = state * 1664525u + 1013904223u;
            const std::uint32_t u = (e << 23) | (state >> 9);
            std::memcpy(&v, &u, sizeof v);
        }
    }
};
const positive_t positive_inputs;
// pow: bases from positive_inputs, exponents in (-4, 4).
const inputs_t<> pow_exponents(4.0f);

std::uint32_t bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

template <float (*F)(float), float (*G)(float), class In>
void run(benchmark::State& state, const In& in) {
    constexpr unsigned n = std::extent_v<decltype(In::x)>;
    unsigned j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(in.x[j]));
        j = (j + 1) & (n - 1);
    }
    // The share of F's results that are G's (Ormath's, correctly rounded).
    unsigned same = 0;
    for (const float v : in.x) {
        same += bits(F(v)) == bits(G(v));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / n;
}

// The same for a function of two floats, on the pairs (a[i], b[i]).
template <float (*F)(float, float), float (*G)(float, float), class A, class B>
void run_pairs(benchmark::State& state, const A& a, const B& b) {
    constexpr unsigned n = std::extent_v<decltype(A::x)>;
    static_assert(n == std::extent_v<decltype(B::x)>, "pairs of equal sets");
    unsigned j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(a.x[j], b.x[j]));
        j = (j + 1) & (n - 1);
    }
    unsigned same = 0;
    for (unsigned i = 0; i < n; ++i) {
        same += bits(F(a.x[i], b.x[i])) == bits(G(a.x[i], b.x[i]));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / n;
}

// A four-wide function F of four consecutive inputs, and the share of its
// lanes that are G's bits (Ormath's scalar function, correctly rounded).
template <float (*G)(float), class In, class F>
void run_vec4(benchmark::State& state, const In& in, F f) {
    constexpr unsigned n = std::extent_v<decltype(In::x)>;
    unsigned j = 0;
    for (auto _ : state) {
        auto r = f(in.x + j);
        benchmark::DoNotOptimize(r);
        j = (j + 4) & (n - 1);
    }
    unsigned same = 0;
    for (unsigned i = 0; i < n; i += 4) {
        const auto r = f(in.x + i);
        for (int k = 0; k < 4; ++k) {
            same += bits(r[k]) == bits(G(in.x[i + k]));
        }
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / n;
}

// Ormath's function, and glibc's float one called through a pointer so that
// the compiler cannot fold or vectorise it.
#define FUNCTIONS(name, glibc)                               \
    float ormath_##name(float x) { return ormath::name(x); } \
    float (*volatile glibc_##name)(float) = ::glibc;         \
    float libc_##name(float x) { return glibc_##name(x); }
FUNCTIONS(sin, sinf)
FUNCTIONS(cos, cosf)
FUNCTIONS(tan, tanf)
FUNCTIONS(asin, asinf)
FUNCTIONS(acos, acosf)
FUNCTIONS(atan, atanf)
FUNCTIONS(sinh, sinhf)
FUNCTIONS(cosh, coshf)
FUNCTIONS(tanh, tanhf)
FUNCTIONS(asinh, asinhf)
FUNCTIONS(acosh, acoshf)
FUNCTIONS(atanh, atanhf)
FUNCTIONS(exp, expf)
FUNCTIONS(exp2, exp2f)
FUNCTIONS(log, logf)
FUNCTIONS(log2, log2f)
FUNCTIONS(sqrt, sqrtf)
float ormath_inversesqrt(float x) { return ormath::inversesqrt(x); }
// glibc has no inverse square root: 1 / sqrtf(x), two roundings.
float libc_inversesqrt(float x) { return 1.0f / glibc_sqrt(x); }
float ormath_atan2(float y, float x) { return ormath::atan(y, x); }
float (*volatile glibc_atan2f)(float, float) = ::atan2f;
float libc_atan2(float y, float x) { return glibc_atan2f(y, x); }
float ormath_pow(float x, float y) { return ormath::pow(x, y); }
float (*volatile glibc_powf)(float, float) = ::powf;
float libc_pow(float x, float y) { return glibc_powf(x, y); }

}  // namespace

// BM_<name>_ormath and BM_<name>_glibc on the same inputs.
#define COMPARE(name, suffix, runner, ...)                    \
    void BM_##name##_ormath##suffix(benchmark::State& s) {    \
        runner<ormath_##name, ormath_##name>(s, __VA_ARGS__); \
    }                                                         \
    void BM_##name##_glibc##suffix(benchmark::State& s) {     \
        runner<libc_##name, ormath_##name>(s, __VA_ARGS__);   \
    }                                                         \
    BENCHMARK(BM_##name##_ormath##suffix);                    \
    BENCHMARK(BM_##name##_glibc##suffix)
COMPARE(sin, , run, trig_inputs);
COMPARE(cos, , run, trig_inputs);
COMPARE(tan, , run, trig_inputs);
COMPARE(asin, , run, unit_inputs);
COMPARE(acos, , run, unit_inputs);
COMPARE(atan, , run, atan_inputs);
COMPARE(atan2, , run_pairs, pair_y, pair_x);
COMPARE(asin, _varied, run, varied_unit);
COMPARE(acos, _varied, run, varied_unit);
COMPARE(atan, _varied, run, varied_atan);
COMPARE(atan2, _varied, run_pairs, varied_y, varied_x);
COMPARE(sinh, , run, sinh_inputs);
COMPARE(cosh, , run, sinh_inputs);
COMPARE(tanh, , run, tanh_inputs);
COMPARE(asinh, , run, asinh_inputs);
COMPARE(acosh, , run, acosh_inputs);
COMPARE(atanh, , run, atanh_inputs);
COMPARE(exp, , run, exp_inputs);
COMPARE(exp2, , run, exp_inputs);
COMPARE(log, , run, positive_inputs);
COMPARE(log2, , run, positive_inputs);
COMPARE(pow, , run_pairs, positive_inputs, pow_exponents);
COMPARE(sqrt, , run, positive_inputs);
COMPARE(inversesqrt, , run, positive_inputs);
// vec4 forms, four inputs a call, beside Eigen's Array4f (vectorised, not
// correctly rounded), on the same sets as the scalar functions.
#define VECTOR(name, inputs)                                                                               \
    void BM_##name##4_ormath(benchmark::State & s) {                                                       \
        run_vec4<ormath_##name>(                                                                           \
            s, inputs, [](const float* x) { return ormath::name(ormath::vec4(x[0], x[1], x[2], x[3])); }); \
    }                                                                                                      \
    void BM_##name##4_eigen(benchmark::State & s) {                                                        \
        run_vec4<ormath_##name>(                                                                           \
            s, inputs, [](const float* x) { return Eigen::Map<const Eigen::Array4f>(x).name().eval(); });  \
    }                                                                                                      \
    BENCHMARK(BM_##name##4_ormath);                                                                        \
    BENCHMARK(BM_##name##4_eigen)
VECTOR(sin, trig_inputs);
VECTOR(cos, trig_inputs);
VECTOR(exp, exp_inputs);
VECTOR(log, positive_inputs);
BENCHMARK_MAIN();
