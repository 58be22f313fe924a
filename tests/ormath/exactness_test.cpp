// Ormath's results must be the bits of the written evaluation order also in a
// program built to fuse and vectorise: this file is compiled with -O3
// -march=native -ffp-contract=fast (see CMakeLists.txt). Each row of the
// table must give its literal exact case, here and on the plainly compiled
// scalar path, and the scalar path's bits for random arguments.
#include "bits.hpp"
#include "functions.hpp"
#include "scalar_path.hpp"

#include <cstddef>
#include <utility>

namespace {

using functions::table;

TEST(Exactness, ThisBuildFusesWhereTheProcessorCan) {
#if defined(__x86_64__)
    if (!__builtin_cpu_supports("fma")) {
        GTEST_SKIP() << "this processor has no FMA: no build here fuses, so the comparisons below "
                        "show only that vectorising keeps the bits";
    }
#ifndef __FMA__
    FAIL() << "this test must be built with -march=native on a processor with FMA";
#endif
#endif
}

TEST(Exactness, EveryRowGivesItsExactCase) {
    for (int i = 0; i < functions::row_count; ++i) {
        const functions::row& r = table[i];
        float here[functions::max_outputs], plain[functions::max_outputs];
        const int n = r.evaluate(r.in, here);
        ASSERT_EQ(scalar_path::evaluate(i, r.in, plain), n) << r.name;
        EXPECT_TRUE(same_floats(plain, r.expected, n)) << r.name << " on the scalar path";
        EXPECT_TRUE(same_floats(here, r.expected, n)) << r.name << " in this build";
    }
}

TEST(Exactness, RandomArgumentsGiveTheScalarPathsBits) {
    for (int i = 0; i < functions::row_count; ++i) {
        functions::float_source next(static_cast<std::uint32_t>(1000 + i));
        for (int round = 0; round < 3000; ++round) {
            float in[functions::max_inputs], here[functions::max_outputs], plain[functions::max_outputs];
            next.fill(table[i], in);
            const int n = scalar_path::evaluate(i, in, plain);
            ASSERT_EQ(table[i].evaluate(in, here), n);
            ASSERT_TRUE(same_floats(here, plain, n)) << table[i].name << ", round " << round;
        }
    }
}

// The constexpr rows, evaluated by the compiler.
struct results {
    float out[functions::max_outputs];
    int n;
};
template <std::size_t I>
void check_in_the_compiler() {
    if constexpr (table[I].constant) {
        constexpr results r = [] {
            results v{};
            v.n = table[I].evaluate(table[I].in, v.out);
            return v;
        }();
        EXPECT_TRUE(same_floats(r.out, table[I].expected, r.n)) << table[I].name;
    }
}
template <std::size_t... I>
void check_in_the_compiler(std::index_sequence<I...>) {
    (check_in_the_compiler<I>(), ...);
}

TEST(Exactness, ConstantEvaluationGivesTheSameBits) {
    check_in_the_compiler(std::make_index_sequence<functions::row_count>());
}

}  // namespace
