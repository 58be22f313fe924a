// Ormath's correctly rounded elementary functions beside glibc's float
// functions on the same inputs, and the share of glibc's results that are
// correctly rounded (equal to Ormath's). Run with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=N for
// the median of interleaved repetitions.
#include <benchmark/benchmark.h>
#include <ormath/elementary.hpp>

#include <cmath>
#include <cstdint>
#include <cstring>

namespace {

constexpr unsigned n_inputs = 1024;  // a power of two: the index wraps with a mask

struct inputs_t {
    float x[n_inputs];
    // Uniform in (-limit, limit) with a full mantissa.
    explicit inputs_t(float limit) {
        std::uint32_t state = 12345u;
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

const inputs_t trig_inputs(100.0f);
// The hyperbolic functions where their results are neither 0, 1 nor
// infinite in float: tanh is +-1 beyond 9.01, sinh and cosh overflow
// beyond 89.4.
const inputs_t sinh_inputs(10.0f), tanh_inputs(5.0f), asinh_inputs(10.0f), acosh_inputs(1.0f, 10.0f),
    atanh_inputs(1.0f);
// exp and exp2 over (-80, 80), where their results are normal floats; the
// logarithms, sqrt and inversesqrt over positive floats of every size
// (|x| of the same inputs, squared twice: 2^-? to 10^8 and beyond).
const inputs_t exp_inputs(80.0f);
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
const inputs_t pow_exponents(4.0f);

std::uint32_t bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

template <float (*F)(float), float (*G)(float), class In>
void run(benchmark::State& state, const In& in) {
    unsigned j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(in.x[j]));
        j = (j + 1) & (n_inputs - 1);
    }
    // The share of F's results that are G's (Ormath's, correctly rounded).
    unsigned same = 0;
    for (const float v : in.x) {
        same += bits(F(v)) == bits(G(v));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / n_inputs;
}

float ormath_sin(float x) { return ormath::sin(x); }
float ormath_cos(float x) { return ormath::cos(x); }
float ormath_tan(float x) { return ormath::tan(x); }
float ormath_sinh(float x) { return ormath::sinh(x); }
float ormath_cosh(float x) { return ormath::cosh(x); }
float ormath_tanh(float x) { return ormath::tanh(x); }
float ormath_asinh(float x) { return ormath::asinh(x); }
float ormath_acosh(float x) { return ormath::acosh(x); }
float ormath_atanh(float x) { return ormath::atanh(x); }
float ormath_exp(float x) { return ormath::exp(x); }
float ormath_exp2(float x) { return ormath::exp2(x); }
float ormath_log(float x) { return ormath::log(x); }
float ormath_log2(float x) { return ormath::log2(x); }
float ormath_sqrt(float x) { return ormath::sqrt(x); }
float ormath_inversesqrt(float x) { return ormath::inversesqrt(x); }
// glibc's float functions, called through a pointer so that the compiler
// cannot fold or vectorise them.
float (*volatile glibc_sinf)(float) = ::sinf;
float (*volatile glibc_cosf)(float) = ::cosf;
float (*volatile glibc_tanf)(float) = ::tanf;
float (*volatile glibc_sinhf)(float) = ::sinhf;
float (*volatile glibc_coshf)(float) = ::coshf;
float (*volatile glibc_tanhf)(float) = ::tanhf;
float (*volatile glibc_asinhf)(float) = ::asinhf;
float (*volatile glibc_acoshf)(float) = ::acoshf;
float (*volatile glibc_atanhf)(float) = ::atanhf;
float libc_sin(float x) { return glibc_sinf(x); }
float libc_cos(float x) { return glibc_cosf(x); }
float libc_tan(float x) { return glibc_tanf(x); }
float libc_sinh(float x) { return glibc_sinhf(x); }
float libc_cosh(float x) { return glibc_coshf(x); }
float libc_tanh(float x) { return glibc_tanhf(x); }
float libc_asinh(float x) { return glibc_asinhf(x); }
float libc_acosh(float x) { return glibc_acoshf(x); }
float libc_atanh(float x) { return glibc_atanhf(x); }
float (*volatile glibc_expf)(float) = ::expf;
float (*volatile glibc_exp2f)(float) = ::exp2f;
float (*volatile glibc_logf)(float) = ::logf;
float (*volatile glibc_log2f)(float) = ::log2f;
float (*volatile glibc_sqrtf)(float) = ::sqrtf;
float (*volatile glibc_powf)(float, float) = ::powf;
float libc_exp(float x) { return glibc_expf(x); }
float libc_exp2(float x) { return glibc_exp2f(x); }
float libc_log(float x) { return glibc_logf(x); }
float libc_log2(float x) { return glibc_log2f(x); }
float libc_sqrt(float x) { return glibc_sqrtf(x); }
// glibc has no inverse square root: 1 / sqrtf(x), two roundings.
float libc_inversesqrt(float x) { return 1.0f / glibc_sqrtf(x); }

// pow on pairs (positive_inputs[j], pow_exponents[j]).
template <bool Ormath>
void run_pow(benchmark::State& state) {
    unsigned j = 0;
    for (auto _ : state) {
        const float x = positive_inputs.x[j], y = pow_exponents.x[j];
        benchmark::DoNotOptimize(Ormath ? ormath::pow(x, y) : glibc_powf(x, y));
        j = (j + 1) & (n_inputs - 1);
    }
    unsigned same = 0;
    for (unsigned i = 0; i < n_inputs; ++i) {
        const float x = positive_inputs.x[i], y = pow_exponents.x[i];
        same += bits(Ormath ? ormath::pow(x, y) : glibc_powf(x, y)) == bits(ormath::pow(x, y));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / n_inputs;
}

void BM_sin_ormath(benchmark::State& s) { run<ormath_sin, ormath_sin>(s, trig_inputs); }
void BM_sin_glibc(benchmark::State& s) { run<libc_sin, ormath_sin>(s, trig_inputs); }
void BM_cos_ormath(benchmark::State& s) { run<ormath_cos, ormath_cos>(s, trig_inputs); }
void BM_cos_glibc(benchmark::State& s) { run<libc_cos, ormath_cos>(s, trig_inputs); }
void BM_tan_ormath(benchmark::State& s) { run<ormath_tan, ormath_tan>(s, trig_inputs); }
void BM_tan_glibc(benchmark::State& s) { run<libc_tan, ormath_tan>(s, trig_inputs); }
void BM_sinh_ormath(benchmark::State& s) { run<ormath_sinh, ormath_sinh>(s, sinh_inputs); }
void BM_sinh_glibc(benchmark::State& s) { run<libc_sinh, ormath_sinh>(s, sinh_inputs); }
void BM_cosh_ormath(benchmark::State& s) { run<ormath_cosh, ormath_cosh>(s, sinh_inputs); }
void BM_cosh_glibc(benchmark::State& s) { run<libc_cosh, ormath_cosh>(s, sinh_inputs); }
void BM_tanh_ormath(benchmark::State& s) { run<ormath_tanh, ormath_tanh>(s, tanh_inputs); }
void BM_tanh_glibc(benchmark::State& s) { run<libc_tanh, ormath_tanh>(s, tanh_inputs); }
void BM_asinh_ormath(benchmark::State& s) { run<ormath_asinh, ormath_asinh>(s, asinh_inputs); }
void BM_asinh_glibc(benchmark::State& s) { run<libc_asinh, ormath_asinh>(s, asinh_inputs); }
void BM_acosh_ormath(benchmark::State& s) { run<ormath_acosh, ormath_acosh>(s, acosh_inputs); }
void BM_acosh_glibc(benchmark::State& s) { run<libc_acosh, ormath_acosh>(s, acosh_inputs); }
void BM_atanh_ormath(benchmark::State& s) { run<ormath_atanh, ormath_atanh>(s, atanh_inputs); }
void BM_atanh_glibc(benchmark::State& s) { run<libc_atanh, ormath_atanh>(s, atanh_inputs); }
void BM_exp_ormath(benchmark::State& s) { run<ormath_exp, ormath_exp>(s, exp_inputs); }
void BM_exp_glibc(benchmark::State& s) { run<libc_exp, ormath_exp>(s, exp_inputs); }
void BM_exp2_ormath(benchmark::State& s) { run<ormath_exp2, ormath_exp2>(s, exp_inputs); }
void BM_exp2_glibc(benchmark::State& s) { run<libc_exp2, ormath_exp2>(s, exp_inputs); }
void BM_log_ormath(benchmark::State& s) { run<ormath_log, ormath_log>(s, positive_inputs); }
void BM_log_glibc(benchmark::State& s) { run<libc_log, ormath_log>(s, positive_inputs); }
void BM_log2_ormath(benchmark::State& s) { run<ormath_log2, ormath_log2>(s, positive_inputs); }
void BM_log2_glibc(benchmark::State& s) { run<libc_log2, ormath_log2>(s, positive_inputs); }
void BM_pow_ormath(benchmark::State& s) { run_pow<true>(s); }
void BM_pow_glibc(benchmark::State& s) { run_pow<false>(s); }
void BM_sqrt_ormath(benchmark::State& s) { run<ormath_sqrt, ormath_sqrt>(s, positive_inputs); }
void BM_sqrt_glibc(benchmark::State& s) { run<libc_sqrt, ormath_sqrt>(s, positive_inputs); }
void BM_inversesqrt_ormath(benchmark::State& s) {
    run<ormath_inversesqrt, ormath_inversesqrt>(s, positive_inputs);
}
void BM_inversesqrt_glibc(benchmark::State& s) {
    run<libc_inversesqrt, ormath_inversesqrt>(s, positive_inputs);
}

}  // namespace

BENCHMARK(BM_sin_ormath);
BENCHMARK(BM_sin_glibc);
BENCHMARK(BM_cos_ormath);
BENCHMARK(BM_cos_glibc);
BENCHMARK(BM_tan_ormath);
BENCHMARK(BM_tan_glibc);
BENCHMARK(BM_sinh_ormath);
BENCHMARK(BM_sinh_glibc);
BENCHMARK(BM_cosh_ormath);
BENCHMARK(BM_cosh_glibc);
BENCHMARK(BM_tanh_ormath);
BENCHMARK(BM_tanh_glibc);
BENCHMARK(BM_asinh_ormath);
BENCHMARK(BM_asinh_glibc);
BENCHMARK(BM_acosh_ormath);
BENCHMARK(BM_acosh_glibc);
BENCHMARK(BM_atanh_ormath);
BENCHMARK(BM_atanh_glibc);
BENCHMARK(BM_exp_ormath);
BENCHMARK(BM_exp_glibc);
BENCHMARK(BM_exp2_ormath);
BENCHMARK(BM_exp2_glibc);
BENCHMARK(BM_log_ormath);
BENCHMARK(BM_log_glibc);
BENCHMARK(BM_log2_ormath);
BENCHMARK(BM_log2_glibc);
BENCHMARK(BM_pow_ormath);
BENCHMARK(BM_pow_glibc);
BENCHMARK(BM_sqrt_ormath);
BENCHMARK(BM_sqrt_glibc);
BENCHMARK(BM_inversesqrt_ormath);
BENCHMARK(BM_inversesqrt_glibc);
BENCHMARK_MAIN();
