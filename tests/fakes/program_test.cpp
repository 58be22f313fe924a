// One program, composed as it ships, run through the real frame loop on the
// fakes. Built once per program; the compile definitions say what that
// program must do:
//   PROGRAM_NAME                  its name
//   LIBRARY_TRANSFORM             1: matrices from Ormath; 0: from OpenGL's own calls
//   ARRAY_SUBMISSION              1: client vertex arrays; 0: immediate mode
//   TABLE_ROTATION_RATE           its row of tests/program_constants.txt: degrees
//   TABLE_COLOUR_TIME_SCALE       per clock unit, and the speed of the colour swing
// Every matrix, angle and colour is checked against literal values worked
// out by hand and with double arithmetic rounded to float after each step,
// never against what Ormath computes. The literals are worked out for the
// rates 10 and 5 and the scales 1 and 0.5; for other constants the tests
// that need them say in one line that they were skipped.
#include "test_support.hpp"

#include "scene/colour_animation.hpp"
#include "scene/quad.hpp"
#include "scene/submit.hpp"
#include "scene/transform.hpp"

#include <array>
#include <cmath>

namespace {

using fakes::Fn;
using namespace fakes_test;

constexpr bool library_transform = LIBRARY_TRANSFORM != 0;
constexpr bool array_submission = ARRAY_SUBMISSION != 0;
constexpr auto table_rate = static_cast<float>(TABLE_ROTATION_RATE);
constexpr auto table_scale = static_cast<float>(TABLE_COLOUR_TIME_SCALE);

// Past the phase changes at frames 10 (clock 1.0000001), 20 and 31, past
// frame 45 (a turn of about 45 degrees), up to frame 100: the first whose
// turn has cos + (1 - cos) round below 1 with glibc's cosf, where moving
// the quad before turning it would leave it off z = -4.
constexpr int frames_per_run = 100;

// ---------------------------------------------------------------- literals

// The projection of a 45-degree view at aspect 4/3 between 0.1 and 100, as
// 16 floats, column by column. tan 22.5 degrees is sqrt 2 - 1, so
// m[1][1] = 1 / tan 22.5 = 1 + sqrt 2 and m[0][0] = m[1][1] / (4/3).
// Those two depend on tanf. In units of u = 2^-24 of relative error: the
// halved angle to radians is one rounding (u) of a product by 0.017453292f,
// itself 0.13u from pi/180; tan magnifies a relative error in its argument
// 1.11 times at 22.5 degrees (1.26u); tanf adds at most 1 ulp (2u); range =
// tan * 0.1f one rounding (the 0.1f cancels against 2 * zNear); then for
// m[0][0] the product by the float 4/3 (u, plus the 0.5u by which that
// float misses 4/3) and the division (u): 6.8u, 4.1e-7 relative, 7.3e-7
// absolute; for m[1][1] the division only (top - bottom is exact): 5.3u,
// 3.1e-7 relative, 7.6e-7 absolute.
constexpr double tan_entry_bound = 8e-7;
const double projection_x_scale = 0.75 * (1.0 + std::sqrt(2.0));  // 1.81066017
const double projection_y_scale = 1.0 + std::sqrt(2.0);           // 2.41421356
// The depth terms are float arithmetic on the float constants alone, so
// exact: -(100 + 0.1f) / (100 - 0.1f) and -(200 * 0.1f) / (100 - 0.1f).
constexpr float projection_depth_scale = -1.002002f;
constexpr float projection_depth_offset = -0.2002002f;

// A turn of the quad at a chosen frame: the angle as the float clock makes
// it (the sum of k floats 0.1, times the rate, in float), and the cosine
// and sine of exactly that angle.
struct Turn {
    int frame;
    float angle;  // degrees
    double cos_a;
    double sin_a;
};
struct Turns {
    float rate;
    Turn at[2];
};
const Turns worked_turns[] = {
    {10.0f,
     {{1, 1.0f, 0.99984769515639127, 0.017452406437283512},
      {45, 44.9999809f, 0.70710701657891661, 0.70710654579410004}}},
    {5.0f,
     {{1, 0.5f, 0.99996192306417131, 0.0087265354983739347},
      {45, 22.4999905f, 0.92387959620800064, 0.38268327858758305}}},
};

// How far a loaded model-view entry may lie from its literal at these
// turns (at most 45 degrees, 0.79 radians). The angle to radians is one
// float product by 0.017453292f, which is 0.13u from pi/180 (u = 2^-24), so
// the argument is off by at most 0.79 * 1.13u = 5.3e-8, which moves cos and
// sin by no more; cosf and sinf add at most 1 ulp, 6.0e-8 below 1: 1.13e-7.
// cos + (1 - cos) is two roundings from 1, 7.5e-8. The product with the
// move and the other entries (0, 1, -4) are exact.
constexpr double modelview_bound = 1.2e-7;

// The blend at a chosen frame: the clock's phase and the blend factor a
// and 1 - a, each exactly the float the colour step must reach.
struct Blend {
    int frame;
    bool odd;  // odd whole part of the clock: from palette_a towards palette_b
    float a;
    float keep;
};
struct Blends {
    float scale;
    Blend at[7];
};
const Blends worked_blends[] = {
    {1.0f,
     {{1, false, 0.100000001f, 0.899999976f},
      {10, true, 1.1920929e-07f, 0.999999881f},
      {15, true, 0.500000238f, 0.499999762f},
      {20, false, 2.38418579e-07f, 0.999999762f},
      {30, false, 0.999999285f, 7.15255737e-07f},
      {31, true, 0.0999991894f, 0.900000811f},
      {45, false, 0.499998093f, 0.500001907f}}},
    // Half speed: the phase still comes from the unscaled clock (frames 10
    // and 15 are odd though their scaled clocks are below 1).
    {0.5f,
     {{1, false, 0.0500000007f, 0.949999988f},
      {10, true, 0.50000006f, 0.49999994f},
      {15, true, 0.750000119f, 0.249999881f},
      {20, false, 1.1920929e-07f, 0.999999881f},
      {30, false, 0.499999642f, 0.500000358f},
      {31, true, 0.549999595f, 0.450000405f},
      {45, false, 0.249999046f, 0.750000954f}}},
};

// The worked literals for the program's constants, or null where there are none.
const Turns* worked_turns_for(float rate) {
    for (const Turns& turns : worked_turns) {
        if (turns.rate == rate) {
            return &turns;
        }
    }
    return nullptr;
}
const Blends* worked_blends_for(float scale) {
    for (const Blends& blends : worked_blends) {
        if (blends.scale == scale) {
            return &blends;
        }
    }
    return nullptr;
}

// The palettes hold only 0s and 1s, so each blended component is 0, a,
// 1 - a, or (1 - a) + a, which is 1 at every blend above. Per corner,
// red, green, blue:
enum Part : std::uint8_t { zero, blend_a, blend_keep, one };
constexpr Part even_corners[4][3] = {
    {blend_keep, zero, blend_a}, {one, blend_keep, zero}, {blend_a, one, zero}, {zero, blend_a, blend_keep}};
constexpr Part odd_corners[4][3] = {
    {blend_a, zero, blend_keep}, {one, blend_a, zero}, {blend_keep, one, zero}, {zero, blend_keep, blend_a}};

float value(Part part, const Blend& blend) {
    return part == blend_a ? blend.a : part == blend_keep ? blend.keep : part == one ? 1.0f : 0.0f;
}

// ---------------------------------------------------------------- helpers

const char* const corner_positions[4] = {"-1, -1", "1, -1", "1, 1", "-1, 1"};

// A call with the values that the tests below compare against literals
// (matrices, angles, colours) left out, so that a frame's order can be
// compared line by line.
std::string shape(const fakes::Call& c) {
    switch (c.fn) {
        case Fn::glLoadMatrixf:
            return "glLoadMatrixf(" + std::to_string(fakes::floats(c.read).size()) + " floats)";
        case Fn::glRotatef:
            return "glRotatef(angle, " + fakes::format_float(c.float_args[1]) + ", " +
                   fakes::format_float(c.float_args[2]) + ", " + fakes::format_float(c.float_args[3]) + ")";
        case Fn::glColor3fv:
            return "glColor3fv(" + fakes::format_pointer(c.pointer) + " -> colour)";
        case Fn::glDrawElements: {
            fakes::Call without_colours = c;
            without_colours.colours = {};
            return fakes::describe(without_colours) + (c.colours.size != 0 ? " and colours" : "");
        }
        default:
            return fakes::describe(c);
    }
}

std::vector<std::string> shapes(Range range, bool (*keep)(Fn) = any_call) {
    std::vector<std::string> out;
    for (std::size_t k = range.begin; k < range.end; ++k) {
        if (keep(fakes::calls()[k].fn)) {
            out.push_back(shape(fakes::calls()[k]));
        }
    }
    return out;
}

// Every frame's calls, the values aside: the loop's clear, the model-view
// step, then the submission.
std::vector<std::string> frame_shape() {
    std::vector<std::string> out = {"glClear(GL_COLOR_BUFFER_BIT)", "glMatrixMode(GL_MODELVIEW)"};
    if (library_transform) {
        out.emplace_back("glLoadMatrixf(16 floats)");
    } else {
        out.insert(out.end(), {"glLoadIdentity()", "glTranslatef(0, 0, -4)", "glRotatef(angle, 0, 0, 1)"});
    }
#if ARRAY_SUBMISSION
    // OpenGL reads the arrays at the draw, through the pointers to the
    // program's own data.
    std::string positions;
    for (int corner : {0, 1, 2, 3, 0, 2}) {
        positions += (positions.empty() ? "(" : ", (") + std::string(corner_positions[corner]) + ")";
    }
    out.insert(out.end(),
               {"glColorPointer(3, GL_FLOAT, 0, " + fakes::format_pointer(quad_colours) + ")",
                "glVertexPointer(2, GL_FLOAT, 0, " + fakes::format_pointer(quad_positions) + ")",
                "glEnableClientState(GL_VERTEX_ARRAY)", "glEnableClientState(GL_COLOR_ARRAY)",
                "glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, " + fakes::format_pointer(quad_indices) +
                    " -> [0, 1, 2, 3, 0, 2]) positions [" + positions + "] and colours",
                "glDisableClientState(GL_COLOR_ARRAY)", "glDisableClientState(GL_VERTEX_ARRAY)"});
#else
    out.emplace_back("glBegin(GL_QUADS)");
    for (int i = 0; i < 4; ++i) {
        out.emplace_back("glColor3fv(" + fakes::format_pointer(&quad_colours[i]) + " -> colour)");
        out.emplace_back("glVertex2fv(" + fakes::format_pointer(&quad_positions[i]) + " -> [" +
                         corner_positions[i] + "])");
    }
    out.emplace_back("glEnd()");
#endif
    return out;
}

// The projection set-up in `range`: the calls, and for the library stage
// the loaded matrix against the literals.
void expect_projection_setup(Range range) {
    if (!library_transform) {
        // The doubles of the floats 4/3 and 0.1, not of the decimal values.
        EXPECT_TRUE(same_stream(stream(range, gl_call),
                                {"glMatrixMode(GL_PROJECTION)", "glLoadIdentity()",
                                 "gluPerspective(45, 1.3333333730697632, 0.10000000149011612, 100)"}));
        return;
    }
    ASSERT_TRUE(
        same_stream(shapes(range, gl_call), {"glMatrixMode(GL_PROJECTION)", "glLoadMatrixf(16 floats)"}));
    const std::vector<float> m =
        fakes::floats(fakes::calls()[find_call(Fn::glLoadMatrixf, range.begin)].read);
    for (int k = 0; k < 16; ++k) {
        SCOPED_TRACE("float " + std::to_string(k));
        switch (k) {
            case 0:
                EXPECT_NEAR(m[k], projection_x_scale, tan_entry_bound);
                break;
            case 5:
                EXPECT_NEAR(m[k], projection_y_scale, tan_entry_bound);
                break;
            case 10:
                EXPECT_EQ(bits(m[k]), bits(projection_depth_scale));
                break;
            case 11:
                EXPECT_EQ(bits(m[k]), bits(-1.0f));
                break;
            case 14:
                EXPECT_EQ(bits(m[k]), bits(projection_depth_offset));
                break;
            default:
                EXPECT_EQ(bits(m[k]), bits(0.0f));
        }
    }
}

// Runs the program's loop: a key arrives after the last frame but one.
class ProgramTest : public FakesTest {
 protected:
    void run() {
        event_after_swap(frames_per_run - 1, SDL_KEYDOWN);
        ASSERT_EQ(run_frame_loop(PROGRAM_NAME), 0);
        ASSERT_EQ(fakes::swaps(), frames_per_run);
        ASSERT_EQ(frames().size(), static_cast<std::size_t>(frames_per_run));
    }

    // The calls of kind `fn` in frame `n`, counted from 1.
    static std::vector<const fakes::Call*> calls_in_frame(int n, Fn fn) {
        std::vector<const fakes::Call*> out;
        const Range frame = frames().at(static_cast<std::size_t>(n - 1));
        for (std::size_t k = frame.begin; k < frame.end; ++k) {
            if (fakes::calls()[k].fn == fn) {
                out.push_back(&fakes::calls()[k]);
            }
        }
        return out;
    }

    // The corner colours OpenGL received in frame `n`.
    static std::vector<std::array<float, 3>> drawn_colours(int n) {
        std::vector<float> read;
        if (array_submission) {
            for (const fakes::Call* c : calls_in_frame(n, Fn::glDrawElements)) {
                read = fakes::floats(c->colours);
                read.resize(std::min<std::size_t>(read.size(), 12));  // indices 0, 1, 2, 3 come first
            }
        } else {
            for (const fakes::Call* c : calls_in_frame(n, Fn::glColor3fv)) {
                const std::vector<float> one = fakes::floats(c->read);
                read.insert(read.end(), one.begin(), one.end());
            }
        }
        std::vector<std::array<float, 3>> out;
        for (std::size_t k = 0; k + 2 < read.size(); k += 3) {
            out.push_back({read[k], read[k + 1], read[k + 2]});
        }
        return out;
    }
};

TEST_F(ProgramTest, HasTheConstantsOfItsRowInTheTable) {
    EXPECT_EQ(bits(rotation_rate), bits(table_rate)) << "rotation_rate " << rotation_rate;
    EXPECT_EQ(bits(colour_time_scale), bits(table_scale)) << "colour_time_scale " << colour_time_scale;
}

TEST_F(ProgramTest, SetsUpTheProjectionOnceBetweenWindowAndFirstFrame) {
    run();
    const std::size_t caption = find_call(Fn::SDL_WM_SetCaption);
    const std::size_t first_poll = find_call(Fn::SDL_PollEvent);
    ASSERT_LT(caption, first_poll);
    expect_projection_setup(Range{caption + 1, first_poll});
    // No other GL call outside the frames.
    EXPECT_TRUE(same_stream(stream(Range{0, caption}, gl_call), {}));
}

// The aspect is the constant 4/3 whatever size scene_begin is given: a
// stage that took it from the size would load 16/9 here.
TEST_F(ProgramTest, SetsUpTheSameProjectionForAnotherSize) {
    ASSERT_TRUE(create_window("size", 640, 480, false));
    fakes::clear_calls();
    scene_begin(1920, 1080);
    expect_projection_setup(Range{0, fakes::calls().size()});
}

TEST_F(ProgramTest, EachFrameClearsThenSetsTheModelViewThenSubmits) {
    run();
    const std::vector<std::string> expected = frame_shape();
    for (const Range& frame : frames()) {
        ASSERT_TRUE(same_stream(shapes(frame), expected)) << "frame from call " << frame.begin;
    }
    // After the last frame only the window closes.
    EXPECT_TRUE(same_stream(stream(Range{frames().back().end + 1, fakes::calls().size()}),
                            {"SDL_FreeSurface(surface#1)", "SDL_Quit()"}));
}

// Frame k turns the quad by k * rate / 10 degrees, up to the clock's drift:
// each of k float additions of 0.1f rounds by at most half an ulp of a
// clock below 16 (4.8e-7) and 0.1f misses 0.1 by 1.5e-9, so after 100
// frames the clock is within 4.9e-5 of k / 10, and the angle within 4.9e-5
// times the rate, plus one rounding of the product (at most 10 * rate * 2^-24):
// 5e-5 degrees per unit of the rate.
const double clock_drift_degrees = 5e-5 * table_rate;

TEST_F(ProgramTest, EachFrameTurnsByTheClockAboutTheQuadsCentre) {
    run();
    for (int n = 1; n <= frames_per_run; ++n) {
        SCOPED_TRACE("frame " + std::to_string(n));
        const double expected_degrees = n * static_cast<double>(table_rate) / 10.0;
        if (!library_transform) {
            const auto rotations = calls_in_frame(n, Fn::glRotatef);
            ASSERT_EQ(rotations.size(), 1u);
            EXPECT_NEAR(rotations[0]->float_args[0], expected_degrees, clock_drift_degrees);
            continue;
        }
        const auto loads = calls_in_frame(n, Fn::glLoadMatrixf);
        ASSERT_EQ(loads.size(), 1u);
        const std::vector<float> m = fakes::floats(loads[0]->read);
        ASSERT_EQ(m.size(), 16u);
        // Columns 0 and 1 a turn about z: (cos, sin, 0, 0) and (-sin, cos, 0, 0).
        EXPECT_EQ(bits(m[5]), bits(m[0]));
        EXPECT_EQ(bits(m[4]), bits(-m[1]));
        EXPECT_NEAR(std::hypot(m[0], m[1]), 1.0, 1e-6);
        // atan2 gives the turn within -180..180 degrees: compared a whole
        // number of turns apart, as past frame 90 at rate 20.
        const double degrees = std::atan2(m[1], m[0]) * 180.0 / 3.14159265358979323846;
        EXPECT_NEAR(std::remainder(degrees - expected_degrees, 360.0), 0.0, clock_drift_degrees)
            << degrees << " degrees, expected " << expected_degrees;
        // Column 2 (0, 0, about 1, 0), the quad's place (0, 0, -4, 1) exactly.
        const float rest[] = {m[2], m[3], m[6], m[7], m[8], m[9], m[11], m[12], m[13], m[14], m[15]};
        const float place[] = {0, 0, 0, 0, 0, 0, 0, 0, 0, -4, 1};
        for (int k = 0; k < 11; ++k) {
            EXPECT_EQ(rest[k], place[k]) << "entry " << k << " of the rest";
        }
        EXPECT_NEAR(m[10], 1.0, modelview_bound);
    }
}

TEST_F(ProgramTest, TurnsAtFramesOneAnd45MatchTheirLiterals) {
    const Turns* turns = worked_turns_for(table_rate);
    if (turns == nullptr) {
        GTEST_SKIP() << "no worked literals for rate " << table_rate << ": frames 1 and 45 not checked";
    }
    run();
    for (const Turn& turn : turns->at) {
        SCOPED_TRACE("frame " + std::to_string(turn.frame));
        if (!library_transform) {
            const auto rotations = calls_in_frame(turn.frame, Fn::glRotatef);
            ASSERT_EQ(rotations.size(), 1u);
            EXPECT_EQ(bits(rotations[0]->float_args[0]), bits(turn.angle));
            continue;
        }
        const auto loads = calls_in_frame(turn.frame, Fn::glLoadMatrixf);
        ASSERT_EQ(loads.size(), 1u);
        const std::vector<float> m = fakes::floats(loads[0]->read);
        ASSERT_EQ(m.size(), 16u);
        const double c = turn.cos_a;
        const double s = turn.sin_a;
        const double expected[16] = {c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, -4, 1};
        for (int k = 0; k < 16; ++k) {
            EXPECT_NEAR(m[k], expected[k], modelview_bound) << "float " << k;
        }
    }
}

TEST_F(ProgramTest, ColoursAtChosenFramesMatchTheirLiterals) {
    const Blends* blends = worked_blends_for(table_scale);
    if (blends == nullptr) {
        GTEST_SKIP() << "no worked literals for colour scale " << table_scale << ": colours not checked";
    }
    run();
    for (const Blend& blend : blends->at) {
        SCOPED_TRACE("frame " + std::to_string(blend.frame));
        const auto drawn = drawn_colours(blend.frame);
        ASSERT_EQ(drawn.size(), 4u);
        const auto& corners = blend.odd ? odd_corners : even_corners;
        for (int i = 0; i < 4; ++i) {
            for (int c = 0; c < 3; ++c) {
                EXPECT_EQ(bits(drawn[i][c]), bits(value(corners[i][c], blend)))
                    << "corner " << i << " component " << c << ": " << drawn[i][c];
            }
        }
    }
}

TEST_F(ProgramTest, LeavesNoClientArrayEnabledAfterAFrame) {
    run();
    for (const fakes::Call& c : fakes::calls()) {
        if (c.fn == Fn::SDL_GL_SwapBuffers || c.fn == Fn::SDL_PollEvent) {
            EXPECT_EQ(c.client_arrays, 0u) << fakes::describe(c);
        }
        if (c.fn == Fn::glDrawElements) {
            EXPECT_EQ(c.client_arrays, fakes::vertex_array_bit | fakes::colour_array_bit);
        }
    }
}

}  // namespace
