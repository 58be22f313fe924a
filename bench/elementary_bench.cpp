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

std::uint32_t bits(float f) {
    std::uint32_t u;
    std::memcpy(&u, &f, sizeof u);
    return u;
}

template <float (*F)(float), float (*G)(float), unsigned N>
void run(benchmark::State& state, const inputs_t<N>& in) {
    unsigned j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(in.x[j]));
        j = (j + 1) & (N - 1);
    }
    // The share of F's results that are G's (Ormath's, correctly rounded).
    unsigned same = 0;
    for (const float v : in.x) {
        same += bits(F(v)) == bits(G(v));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / N;
}

// The same for a function of two floats, on the pairs (y[i], x[i]).
template <float (*F)(float, float), float (*G)(float, float), unsigned N>
void run_pairs(benchmark::State& state, const inputs_t<N>& y, const inputs_t<N>& x) {
    unsigned j = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(F(y.x[j], x.x[j]));
        j = (j + 1) & (N - 1);
    }
    unsigned same = 0;
    for (unsigned i = 0; i < N; ++i) {
        same += bits(F(y.x[i], x.x[i])) == bits(G(y.x[i], x.x[i]));
    }
    state.counters["correctly_rounded"] = static_cast<double>(same) / N;
}

float ormath_sin(float x) { return ormath::sin(x); }
float ormath_cos(float x) { return ormath::cos(x); }
float ormath_tan(float x) { return ormath::tan(x); }
// glibc's float functions, called through a pointer so that the compiler
// cannot fold or vectorise them.
float (*volatile glibc_sinf)(float) = ::sinf;
float (*volatile glibc_cosf)(float) = ::cosf;
float (*volatile glibc_tanf)(float) = ::tanf;
float libc_sin(float x) { return glibc_sinf(x); }
float libc_cos(float x) { return glibc_cosf(x); }
float libc_tan(float x) { return glibc_tanf(x); }
float ormath_asin(float x) { return ormath::asin(x); }
float ormath_acos(float x) { return ormath::acos(x); }
float ormath_atan(float x) { return ormath::atan(x); }
float ormath_atan2(float y, float x) { return ormath::atan(y, x); }
float (*volatile glibc_asinf)(float) = ::asinf;
float (*volatile glibc_acosf)(float) = ::acosf;
float (*volatile glibc_atanf)(float) = ::atanf;
float (*volatile glibc_atan2f)(float, float) = ::atan2f;
float libc_asin(float x) { return glibc_asinf(x); }
float libc_acos(float x) { return glibc_acosf(x); }
float libc_atan(float x) { return glibc_atanf(x); }
float libc_atan2(float y, float x) { return glibc_atan2f(y, x); }

void BM_sin_ormath(benchmark::State& s) { run<ormath_sin, ormath_sin>(s, trig_inputs); }
void BM_sin_glibc(benchmark::State& s) { run<libc_sin, ormath_sin>(s, trig_inputs); }
void BM_cos_ormath(benchmark::State& s) { run<ormath_cos, ormath_cos>(s, trig_inputs); }
void BM_cos_glibc(benchmark::State& s) { run<libc_cos, ormath_cos>(s, trig_inputs); }
void BM_tan_ormath(benchmark::State& s) { run<ormath_tan, ormath_tan>(s, trig_inputs); }
void BM_tan_glibc(benchmark::State& s) { run<libc_tan, ormath_tan>(s, trig_inputs); }
void BM_asin_ormath(benchmark::State& s) { run<ormath_asin, ormath_asin>(s, unit_inputs); }
void BM_asin_glibc(benchmark::State& s) { run<libc_asin, ormath_asin>(s, unit_inputs); }
void BM_acos_ormath(benchmark::State& s) { run<ormath_acos, ormath_acos>(s, unit_inputs); }
void BM_acos_glibc(benchmark::State& s) { run<libc_acos, ormath_acos>(s, unit_inputs); }
void BM_atan_ormath(benchmark::State& s) { run<ormath_atan, ormath_atan>(s, atan_inputs); }
void BM_atan_glibc(benchmark::State& s) { run<libc_atan, ormath_atan>(s, atan_inputs); }
void BM_atan2_ormath(benchmark::State& s) { run_pairs<ormath_atan2, ormath_atan2>(s, pair_y, pair_x); }
void BM_atan2_glibc(benchmark::State& s) { run_pairs<libc_atan2, ormath_atan2>(s, pair_y, pair_x); }
void BM_asin_ormath_varied(benchmark::State& s) { run<ormath_asin, ormath_asin>(s, varied_unit); }
void BM_asin_glibc_varied(benchmark::State& s) { run<libc_asin, ormath_asin>(s, varied_unit); }
void BM_acos_ormath_varied(benchmark::State& s) { run<ormath_acos, ormath_acos>(s, varied_unit); }
void BM_acos_glibc_varied(benchmark::State& s) { run<libc_acos, ormath_acos>(s, varied_unit); }
void BM_atan_ormath_varied(benchmark::State& s) { run<ormath_atan, ormath_atan>(s, varied_atan); }
void BM_atan_glibc_varied(benchmark::State& s) { run<libc_atan, ormath_atan>(s, varied_atan); }
void BM_atan2_ormath_varied(benchmark::State& s) {
    run_pairs<ormath_atan2, ormath_atan2>(s, varied_y, varied_x);
}
void BM_atan2_glibc_varied(benchmark::State& s) {
    run_pairs<libc_atan2, ormath_atan2>(s, varied_y, varied_x);
}

}  // namespace

BENCHMARK(BM_sin_ormath);
BENCHMARK(BM_sin_glibc);
BENCHMARK(BM_cos_ormath);
BENCHMARK(BM_cos_glibc);
BENCHMARK(BM_tan_ormath);
BENCHMARK(BM_tan_glibc);
BENCHMARK(BM_asin_ormath);
BENCHMARK(BM_asin_glibc);
BENCHMARK(BM_acos_ormath);
BENCHMARK(BM_acos_glibc);
BENCHMARK(BM_atan_ormath);
BENCHMARK(BM_atan_glibc);
BENCHMARK(BM_atan2_ormath);
BENCHMARK(BM_atan2_glibc);
BENCHMARK(BM_asin_ormath_varied);
BENCHMARK(BM_asin_glibc_varied);
BENCHMARK(BM_acos_ormath_varied);
BENCHMARK(BM_acos_glibc_varied);
BENCHMARK(BM_atan_ormath_varied);
BENCHMARK(BM_atan_glibc_varied);
BENCHMARK(BM_atan2_ormath_varied);
BENCHMARK(BM_atan2_glibc_varied);
BENCHMARK_MAIN();
