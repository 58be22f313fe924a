// Every float the per-frame functions can be handed, extremes included: each
// call must return promptly and without undefined behaviour (this test and
// the scene code it calls are built with UBSan, which aborts on any), and
// non-finite inputs give the documented results.
#include "../support/floats.hpp"
#include "recorder.hpp"
#include "scene/colour_animation.hpp"
#include "scene/quad.hpp"
#include "scene/transform.hpp"
#include "shell/shell.hpp"

#include <gtest/gtest.h>

#include <cfloat>
#include <chrono>
#include <cmath>
#include <limits>
#include <vector>

extern const float rotation_rate = 10.0f;
extern const float colour_time_scale = 0.5f;  // the scale whose blend covers half a swing

using ormath::mat4;
using ormath::vec3;
using ormath::vec4;

namespace {

constexpr float inf = std::numeric_limits<float>::infinity();
const float nan = std::numeric_limits<float>::quiet_NaN();

// Each extreme clock value, and the turn in degrees that it gives at the
// rate of 10 above: 10 times a power of two is exact (0x1.4 times it), also
// as a subnormal, and past FLT_MAX / 10 the product is infinite.
struct Extreme {
    float time;
    float angle;
};
const Extreme extreme_table[] = {{0.0f, 0.0f},
                                 {-0.0f, -0.0f},
                                 {FLT_TRUE_MIN, 0x1.4p-146f},
                                 {-FLT_TRUE_MIN, -0x1.4p-146f},
                                 {FLT_MIN / 2, 0x1.4p-124f},
                                 {0x1p21f, 0x1.4p24f},
                                 {-0x1p21f, -0x1.4p24f},
                                 {0x1p24f, 0x1.4p27f},
                                 {-0x1p24f, -0x1.4p27f},
                                 {0x1p31f, 0x1.4p34f},
                                 {-0x1p31f, -0x1.4p34f},
                                 {FLT_MAX, inf},
                                 {-FLT_MAX, -inf},
                                 {inf, inf},
                                 {-inf, -inf},
                                 {nan, nan}};

const std::vector<float>& extremes() {
    static const std::vector<float> values = [] {
        std::vector<float> out;
        for (const Extreme& e : extreme_table) {
            out.push_back(e.time);
        }
        return out;
    }();
    return values;
}

std::uint32_t bits_or_nan(float f) { return std::isnan(f) ? 0x7fc00000u : bits(f); }

// A generous bound: a call takes well under a microsecond; only work that
// grows with the value (a step that took away one whole unit at a time would
// take 2 ms at 2^21 and never end from 2^24 + 4 on) can come near it.
constexpr auto call_bound = std::chrono::milliseconds(20);

template <typename F>
void within_bound(F&& call, float value, const char* what) {
    const auto start = std::chrono::steady_clock::now();
    call();
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_LT(took, call_bound) << what << " at " << value;
}

bool finite(const float* f, int n) {
    for (int i = 0; i < n; ++i) {
        if (!std::isfinite(f[i])) {
            return false;
        }
    }
    return true;
}

class ExtremeInputs : public ::testing::Test {
 protected:
    void SetUp() override {
        fakes::reset();
        ASSERT_TRUE(create_window("extremes", 640, 480, false));
    }
    void TearDown() override {
        destroy_window();
        EXPECT_TRUE(fakes::problems().empty()) << fakes::problems().front();
    }
    // The last call of a kind that the stage made.
    static const fakes::Call& last(fakes::Fn fn) {
        const auto& calls = fakes::calls();
        for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
            if (it->fn == fn) {
                return *it;
            }
        }
        throw std::runtime_error("no such call");
    }
};

TEST_F(ExtremeInputs, ColourStepAlwaysGivesRealColours) {
    for (float time : extremes()) {
        within_bound([&] { animate_colours(time); }, time, "animate_colours");
        for (const vec3& colour : quad_colours) {
            EXPECT_TRUE(finite(colour.data(), 3)) << time;
        }
        // Beyond 2^24, and for infinities and NaN, there is no phase: palette_b.
        if (!(std::fabs(time) < 0x1p24f)) {
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(quad_colours[i], palette_b[i]) << time;
            }
        }
    }
}

TEST_F(ExtremeInputs, TransformStagesPassTheAngleOnAndKeepTheQuadsPlace) {
    for (const Extreme& extreme : extreme_table) {
        const float time = extreme.time;
        const float angle = extreme.angle;

        within_bound([&] { library_modelview(time); }, time, "library_modelview");
        const std::vector<float> loaded = fakes::floats(last(fakes::Fn::glLoadMatrixf).read);
        ASSERT_EQ(loaded.size(), 16u);
        // Column 3, the quad's place, is (0, 0, -4, 1) whatever the angle; the
        // turn is finite exactly when the angle is, and NaN otherwise.
        EXPECT_EQ(v4(&loaded[12]), vec4(0, 0, -4, 1)) << time;
        EXPECT_EQ(finite(loaded.data(), 12), std::isfinite(angle)) << time;

        within_bound([&] { fixed_modelview(time); }, time, "fixed_modelview");
        const fakes::Call& rotation = last(fakes::Fn::glRotatef);
        EXPECT_EQ(bits_or_nan(rotation.float_args[0]), bits_or_nan(angle)) << time;
    }
}

TEST_F(ExtremeInputs, ModelviewTurnsFirstThenMovesAtEveryAngle) {
    // Turning about z and moving along z commute in exact arithmetic, but not
    // in float: where cos + (1 - cos) rounds below 1 (46 whole degrees of a
    // turn), moving first would put the quad at -3.9999998 instead of -4.
    for (int degrees = 0; degrees < 360; ++degrees) {
        library_modelview(static_cast<float>(degrees) / rotation_rate);
        const std::vector<float> loaded = fakes::floats(last(fakes::Fn::glLoadMatrixf).read);
        EXPECT_EQ(v4(&loaded[12]), vec4(0, 0, -4, 1)) << degrees;
    }
}

TEST_F(ExtremeInputs, BuildersReturnForEveryFloat) {
    const vec3 z(0, 0, 1);
    for (float v : extremes()) {
        within_bound([&] { (void)ormath::radians(v); }, v, "radians");
        within_bound([&] { (void)ormath::translate({v, v, v}); }, v, "translate");

        mat4 turn;
        within_bound([&] { turn = ormath::rotate(v, z); }, v, "rotate");
        // cos and sin of an infinite angle are NaN, and so is the 3x3 turn.
        EXPECT_EQ(finite(turn.data(), 16), std::isfinite(ormath::radians(v))) << v;
        EXPECT_EQ(turn[3], vec4(0, 0, 0, 1)) << v;

        mat4 projection;
        within_bound([&] { projection = ormath::perspective(v, 4.0f / 3.0f, 0.1f, 100); }, v, "perspective");
        within_bound([&] { projection = ormath::perspective(45, v, v, 100); }, v, "perspective");
        within_bound([&] { (void)(projection * turn); }, v, "product");
        within_bound([&] { (void)ormath::mix(palette_a[0], palette_b[0], v); }, v, "mix");
    }
    // Degenerate projections are not refused: a field of view of 0 gives
    // infinite scale factors, equal planes infinite depth terms.
    EXPECT_TRUE(std::isinf(ormath::perspective(0, 1, 0.1f, 100)[0][0]));
    EXPECT_TRUE(std::isinf(ormath::perspective(45, 1, 1, 1)[2][2]));
}

}  // namespace
