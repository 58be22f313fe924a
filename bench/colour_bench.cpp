// The colour step at growing clock values, beside a step that subtracts 1
// until the blend factor drops below 1: that loop's cost grows with the
// clock, the step's must not.
#include "checksum.hpp"

#include "scene/colour_animation.hpp"
#include "scene/quad.hpp"

#include <cstdint>
#include <string>

extern const float colour_time_scale = 1.0f;

namespace {

// One whole unit removed per iteration. Only for contrast; it ends for the
// clock values below (all under 2^24).
void looping_colours(float time) {
    const bool odd = static_cast<std::int32_t>(time) % 2 != 0;
    float a = time * colour_time_scale;
    while (a >= 1.0f) {
        a = a - 1.0f;
    }
    if (a >= 1.0f) {
        a = 1.0f;
    } else if (a <= 0.0f) {
        a = 0.0f;
    }
    for (int i = 0; i < 4; ++i) {
        quad_colours[i] =
            odd ? ormath::mix(palette_a[i], palette_b[i], a) : ormath::mix(palette_b[i], palette_a[i], a);
    }
}

// 0.1 is the first frame; 2^21 is where the frame loop's clock stops growing.
struct clock_case {
    const char* name;
    float time;
};
constexpr clock_case clocks[] = {{"0.1", 0.1f}, {"1000", 1000.0f}, {"2^20", 0x1p20f}, {"2^21", 0x1p21f}};

// Read afresh every iteration, so that the step cannot be folded at compile time.
volatile float clock_value;

template <void (*Step)(float)>
void timed(benchmark::State& state, float time) {
    clock_value = time;
    bench::word_sum<12> sum;
    for (auto _ : state) {
        Step(clock_value);
        sum.add(quad_colours);
    }
    // Both forms must leave the same colours, bit for bit, at these clocks.
    looping_colours(time);
    bench::word_sum<12> once, expected;
    once.add(quad_colours);
    expected.add_times(once, state.iterations());
    bench::report_checksum(state, sum == expected);
}

const bool registered = [] {
    for (const clock_case& c : clocks) {
        // Debian 12's Google Benchmark takes the name as a C string; newer ones
        // also take a std::string, where clang-tidy finds c_str() redundant.
        // NOLINTNEXTLINE(readability-redundant-string-cstr)
        benchmark::RegisterBenchmark((std::string("colour_step/constant/") + c.name).c_str(),
                                     timed<animate_colours>, c.time);
        // NOLINTNEXTLINE(readability-redundant-string-cstr)
        benchmark::RegisterBenchmark((std::string("colour_step/loop/") + c.name).c_str(),
                                     timed<looping_colours>, c.time);
    }
    return true;
}();

}  // namespace

BENCH_MAIN_WITH_CHECKSUMS()
