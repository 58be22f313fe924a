// The colour step: its blend factor is the fractional part of the scaled
// clock, clamped below at 0, and its phase the parity of the clock's whole
// part; both against an oracle in double, where the fractional part of any
// float below 2^24 is exact. It must also end, with real colours, for every
// float.
#include "scene/colour_animation.hpp"
#include "../support/floats.hpp"
#include "scene/quad.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>

extern const float colour_time_scale = 1.0f;

using ormath::vec3;

namespace {

// The step's two results in double: the fraction of a non-positive scaled
// clock clamps to 0, and C++'s conversion truncates toward zero, as the
// step's parity rule does. For floats below 2^24 only.
bool oracle_odd(float time) { return static_cast<long>(time) % 2 != 0; }
float oracle_blend(float scaled) {
    const double value = scaled;
    return value > 0 ? static_cast<float>(value - std::floor(value)) : 0.0f;
}

void expect_same_step(float time, float scale) {
    ASSERT_EQ(odd_phase(time), oracle_odd(time)) << std::hexfloat << "time " << time;
    ASSERT_EQ(bits(blend_factor(time * scale)), bits(oracle_blend(time * scale)))
        << std::hexfloat << "time " << time << " scale " << scale;
}

const float scales[] = {1.0f, 0.5f};

TEST(ColourStep, MatchesTheOracleOnSampledFloatsBelow2To24) {
    std::mt19937 engine(42);
    std::uniform_real_distribution<float> exponent(-30.0f, 24.0f);
    for (int i = 0; i < 300; ++i) {
        const float magnitude = std::exp2(exponent(engine));
        const float time = magnitude < 0x1p24f ? magnitude : 0x1p24f - 1.0f;
        for (float scale : scales) {
            expect_same_step(time, scale);
            expect_same_step(-time, scale);
        }
    }
    const float edges[] = {0.0f,
                           -0.0f,
                           1.0f,
                           std::nextafter(1.0f, 0.0f),
                           2.0f,
                           0x1p23f,
                           std::nextafter(0x1p23f, 0.0f),
                           0x1p23f + 1.0f,
                           0x1p24f - 1.0f,
                           0x1p24f,
                           FLT_TRUE_MIN,
                           FLT_MIN,
                           -1.5f,
                           -0.25f};
    for (float time : edges) {
        for (float scale : scales) {
            expect_same_step(time, scale);
        }
    }
}

TEST(ColourStep, EveryClockValueOfTheFrameLoopGetsItsExactFraction) {
    // The whole clock, until adding 0.1 no longer changes it (2^21): the
    // fraction computed in double is exact and so must equal the step's.
    for (float scale : scales) {
        float clock = 0.0f;
        long frames = 0;
        for (;;) {
            const float next = clock + 0.1f;
            if (next == clock) {
                break;
            }
            clock = next;
            ++frames;
            const float scaled = clock * scale;
            ASSERT_EQ(bits(blend_factor(scaled)), bits(oracle_blend(scaled))) << std::hexfloat << clock;
            ASSERT_EQ(odd_phase(clock), oracle_odd(clock)) << std::hexfloat << clock;
        }
        EXPECT_EQ(clock, 0x1p21f);
        EXPECT_GT(frames, 18000000);
    }
}

TEST(ColourStep, EndsOnEveryFloatWithRealColours) {
    // From 2^24 on every float is even and whole, so the colours are
    // palette_b; so they are for infinities and NaN, which have no phase.
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const float inf = std::numeric_limits<float>::infinity();
    const float times[] = {0x1p24f,  0x1p24f + 2.0f, 0x1p24f + 4.0f, 0x1p31f, 0x1p40f, FLT_MAX, inf,
                           -0x1p24f, -0x1p31f,       -FLT_MAX,       -inf,    nan,     -nan};
    for (float time : times) {
        EXPECT_FALSE(odd_phase(time)) << time;
        animate_colours(time);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(quad_colours[i], palette_b[i]) << "time " << time << " corner " << i;
        }
    }
}

TEST(ColourStep, ColoursOfChosenFrames) {
    animate_colours(0.1f);  // the first frame: 0.9 of palette_b, 0.1 of palette_a
    const vec3 first[4] = {{0.9f, 0, 0.1f}, {1, 0.9f, 0}, {0.1f, 1, 0}, {0, 0.1f, 0.9f}};
    for (int i = 0; i < 4; ++i) {
        for (int c = 0; c < 3; ++c) {
            EXPECT_FLOAT_EQ(quad_colours[i][c], first[i][c]) << "corner " << i;
        }
    }

    struct case_ {
        float time;
        const vec3* palette;
    };
    // Whole clock values show a palette exactly; negative times clamp to it.
    const case_ exact[] = {
        {1.0f, palette_a}, {2.0f, palette_b}, {3.0f, palette_a}, {-0.25f, palette_b}, {-1.5f, palette_a}};
    for (const case_& c : exact) {
        animate_colours(c.time);
        for (int i = 0; i < 4; ++i) {
            EXPECT_EQ(quad_colours[i], c.palette[i]) << "time " << c.time << " corner " << i;
        }
    }

    // The phase follows the float clock: frame 10 is 1.0000001, already odd;
    // frame 30 is 2.9999993, still even and almost at palette_a.
    float clock = 0.0f;
    for (int frame = 1; frame <= 31; ++frame) {
        clock = clock + 0.1f;
        if (frame == 10 || frame == 30) {
            animate_colours(clock);
            for (int i = 0; i < 4; ++i) {
                for (int c = 0; c < 3; ++c) {
                    EXPECT_NEAR(quad_colours[i][c], palette_a[i][c], 1.2e-6f) << "frame " << frame;
                }
            }
        }
    }
    EXPECT_EQ(bits(clock), bits(3.0999992f));
    EXPECT_TRUE(odd_phase(clock));
}

TEST(ColourStep, NoJumpAtWholeClockValues) {
    for (int whole = 1; whole <= 64; ++whole) {
        const auto at = static_cast<float>(whole);
        animate_colours(std::nextafter(at, 0.0f));
        vec3 before[4];
        std::memcpy(before, quad_colours, sizeof before);
        animate_colours(at);
        for (int i = 0; i < 4; ++i) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_NEAR(quad_colours[i][c], before[i][c], 1e-5f) << "at " << whole;
            }
        }
    }
}

}  // namespace
