// Proof that a timed loop computed what it claims. Each iteration adds the
// bit patterns of its result into a running sum of 32-bit words; after the
// loop the sum is compared with one worked out from untimed results. A loop
// that the optimiser emptied, or that ran on garbage, fails the comparison.
#pragma once

#include <benchmark/benchmark.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>

namespace bench {

template <std::size_t N>
struct word_sum {
    std::uint32_t w[N] = {};

    void add(const void* v) noexcept {
        std::uint32_t bits[N];
        std::memcpy(bits, v, sizeof bits);
        for (std::size_t i = 0; i < N; ++i) {
            w[i] += bits[i];  // wraps: a sum modulo 2^32
        }
    }
    void add_times(const word_sum& s, std::uint64_t times) noexcept {
        for (std::size_t i = 0; i < N; ++i) {
            w[i] += static_cast<std::uint32_t>(s.w[i] * times);
        }
    }
    bool operator==(const word_sum& o) const noexcept { return std::memcmp(w, o.w, sizeof w) == 0; }
};

// A word_sum fed from a ring of result slots: each iteration writes its
// result into one slot and adds the slot written 63 iterations before. Adding
// a result just stored would have the processor forward narrow stores into a
// wide load, a stall that depends on how each implementation stores its
// result rather than on the work it does.
template <std::size_t N>
struct ring_sum {
    static constexpr unsigned slots = 64;
    float ring[slots][N] = {};
    word_sum<N> sum;

    // Where iteration i writes its result.
    float* slot(std::uint64_t i) noexcept { return ring[i % slots]; }
    // After iteration i's result is written: counts the result of iteration i - 63.
    void consume(std::uint64_t i) noexcept { sum.add(ring[(i + 1) % slots]); }
    // After n iterations: the results not yet counted, so that the total
    // covers every iteration once.
    word_sum<N> total(std::uint64_t n) const noexcept {
        word_sum<N> t = sum;
        for (unsigned s = 0; s < slots; ++s) {
            if (s != n % slots) {
                t.add(ring[s]);
            }
        }
        return t;
    }
};

// Whether two results are the same floats bit for bit (so -0 differs from
// +0, and a NaN equals the same NaN).
inline bool same_bits(const float* a, const float* b, std::size_t n) noexcept {
    for (std::size_t i = 0; i < n; ++i) {
        std::uint32_t x, y;
        std::memcpy(&x, a + i, sizeof x);
        std::memcpy(&y, b + i, sizeof y);
        if (x != y) {
            return false;
        }
    }
    return true;
}

// Set by any benchmark whose checksum failed; main turns it into the exit status.
inline bool& any_checksum_failed() {
    static bool failed = false;
    return failed;
}

inline void report_checksum(benchmark::State& state, bool ok) {
    if (!ok) {
        any_checksum_failed() = true;
        state.SkipWithError("checksum mismatch: the timed loop did not compute the expected results");
    }
}

}  // namespace bench

// main() that fails when a checksum did.
#define BENCH_MAIN_WITH_CHECKSUMS()                                               \
    int main(int argc, char** argv) {                                             \
        ::benchmark::Initialize(&argc, argv);                                     \
        if (::benchmark::ReportUnrecognizedArguments(argc, argv))                 \
            return 1;                                                             \
        ::benchmark::RunSpecifiedBenchmarks();                                    \
        ::benchmark::Shutdown();                                                  \
        if (::bench::any_checksum_failed()) {                                     \
            std::fprintf(stderr, "%s: a benchmark's checksum failed\n", argv[0]); \
            return 1;                                                             \
        }                                                                         \
        return 0;                                                                 \
    }
