// One program, composed as it ships, run through the real frame loop on the
// fakes. Built once per program; the compile definitions say what that
// program must do:
//   PROGRAM_NAME                  its name
//   LIBRARY_TRANSFORM             1: matrices from Ormath; 0: from OpenGL's own calls
//   ARRAY_SUBMISSION              1: client vertex arrays; 0: immediate mode
//   EXPECTED_ROTATION_RATE        degrees per clock unit
//   EXPECTED_COLOUR_TIME_SCALE    speed of the colour swing
//   FIRST_ANGLE                   the first frame's angle, in degrees
//   FIRST_FACTOR, FIRST_KEEP      the first frame's blend factor a and 1 - a
#include "test_support.hpp"

#include "scene/colour_animation.hpp"
#include "scene/quad.hpp"
#include "scene/submit.hpp"
#include "scene/transform.hpp"

#include <ormath/ormath.hpp>

namespace {

using fakes::Fn;
using namespace fakes_test;
using ormath::mat4;
using ormath::vec3;

constexpr bool library_transform = LIBRARY_TRANSFORM != 0;
constexpr bool array_submission = ARRAY_SUBMISSION != 0;
// Past the first phase change (frame 10, clock 1.0000001) and the next two
// (frames 20 and 31), so that both blend directions and, at half speed, the
// phase taken from the unscaled clock are seen.
constexpr int frames_per_run = 40;

std::string format_matrix(const mat4& m) {
    return fakes::format_floats(std::vector<float>(m.data(), m.data() + 16));
}

std::string format_vec3(const vec3& v) {
    return fakes::format_float(v.x) + ", " + fakes::format_float(v.y) + ", " + fakes::format_float(v.z);
}

// scene_begin's calls, for any window size.
std::vector<std::string> expected_setup() {
    if (library_transform) {
        return {
            "glMatrixMode(GL_PROJECTION)",
            "glLoadMatrixf(" + format_matrix(ormath::perspective(45.0f, 4.0f / 3.0f, 0.1f, 100.0f)) + ")"};
    }
    // The doubles of the floats 4/3 and 0.1, not of the decimal values.
    return {"glMatrixMode(GL_PROJECTION)", "glLoadIdentity()",
            "gluPerspective(45, 1.3333333730697632, 0.10000000149011612, 100)"};
}

// The corner colours at clock `time`, the colour step written out plainly
// for the small clocks of these runs: the phase from the unscaled clock
// truncated to an int, the blend factor from the scaled clock less whole
// units one at a time, clamped, then mixed per corner.
std::vector<vec3> reference_colours(float time) {
    EXPECT_TRUE(time >= 0.0f && time < 100.0f) << "this reference is for small clocks only";
    const bool odd = (static_cast<int>(time) & 1) != 0;
    float factor = time * EXPECTED_COLOUR_TIME_SCALE;
    while (factor >= 1.0f) {
        factor = factor - 1.0f;
    }
    factor = factor >= 1.0f ? 1.0f : factor <= 0.0f ? 0.0f : factor;
    std::vector<vec3> out;
    out.reserve(4);
    for (int i = 0; i < 4; ++i) {
        out.push_back(odd ? ormath::mix(palette_a[i], palette_b[i], factor)
                          : ormath::mix(palette_b[i], palette_a[i], factor));
    }
    return out;
}

const char* const corner_positions[4] = {"-1, -1", "1, -1", "1, 1", "-1, 1"};

// One frame's calls at clock `time`: the loop's clear, the
// model-view step, then the submission of this frame's colours.
std::vector<std::string> expected_frame(float time) {
    std::vector<std::string> out = {"glClear(GL_COLOR_BUFFER_BIT)", "glMatrixMode(GL_MODELVIEW)"};
    const float angle = time * EXPECTED_ROTATION_RATE;
    if (library_transform) {
        const mat4 modelview = ormath::translate(vec3(0, 0, -4)) * ormath::rotate(angle, vec3(0, 0, 1));
        out.emplace_back("glLoadMatrixf(" + format_matrix(modelview) + ")");
    } else {
        out.emplace_back("glLoadIdentity()");
        out.emplace_back("glTranslatef(0, 0, -4)");
        out.emplace_back("glRotatef(" + fakes::format_float(angle) + ", 0, 0, 1)");
    }
    const std::vector<vec3> colours = reference_colours(time);
#if ARRAY_SUBMISSION
    // OpenGL reads the arrays at the draw, through the pointers to the
    // program's own data: this frame's colours at indices 0, 1, 2, 3, 0, 2.
    const int order[6] = {0, 1, 2, 3, 0, 2};
    std::string read_colours;
    std::string read_positions;
    for (int k = 0; k < 6; ++k) {
        read_colours += (k == 0 ? "(" : ", (") + format_vec3(colours[order[k]]) + ")";
        read_positions += (k == 0 ? "(" : ", (") + std::string(corner_positions[order[k]]) + ")";
    }
    out.insert(out.end(), {"glColorPointer(3, GL_FLOAT, 0, " + fakes::format_pointer(quad_colours) + ")",
                           "glVertexPointer(2, GL_FLOAT, 0, " + fakes::format_pointer(quad_positions) + ")",
                           "glEnableClientState(GL_VERTEX_ARRAY)", "glEnableClientState(GL_COLOR_ARRAY)",
                           "glDrawElements(GL_TRIANGLES, 6, GL_UNSIGNED_INT, " +
                               fakes::format_pointer(quad_indices) + " -> [0, 1, 2, 3, 0, 2]) colours [" +
                               read_colours + "] positions [" + read_positions + "]",
                           "glDisableClientState(GL_COLOR_ARRAY)", "glDisableClientState(GL_VERTEX_ARRAY)"});
#else
    out.emplace_back("glBegin(GL_QUADS)");
    for (int i = 0; i < 4; ++i) {
        out.emplace_back("glColor3fv(" + fakes::format_pointer(&quad_colours[i]) + " -> [" +
                         format_vec3(colours[i]) + "])");
        out.emplace_back("glVertex2fv(" + fakes::format_pointer(&quad_positions[i]) + " -> [" +
                         corner_positions[i] + "])");
    }
    out.emplace_back("glEnd()");
#endif
    return out;
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

    // The calls of the first frame that `fn` made.
    static std::vector<const fakes::Call*> first_frame_calls(Fn fn) {
        std::vector<const fakes::Call*> out;
        const Range frame = frames().front();
        for (std::size_t k = frame.begin; k < frame.end; ++k) {
            if (fakes::calls()[k].fn == fn) {
                out.push_back(&fakes::calls()[k]);
            }
        }
        return out;
    }
};

TEST_F(ProgramTest, HasItsRateAndColourSpeed) {
    EXPECT_EQ(bits(rotation_rate), bits(EXPECTED_ROTATION_RATE));
    EXPECT_EQ(bits(colour_time_scale), bits(EXPECTED_COLOUR_TIME_SCALE));
}

TEST_F(ProgramTest, SetsUpTheProjectionOnceBetweenWindowAndFirstFrame) {
    run();
    const std::size_t caption = find_call(Fn::SDL_WM_SetCaption);
    const std::size_t first_poll = find_call(Fn::SDL_PollEvent);
    ASSERT_LT(caption, first_poll);
    EXPECT_TRUE(same_stream(stream(Range{caption + 1, first_poll}, gl_call), expected_setup()));
    // No other GL call outside the frames.
    EXPECT_TRUE(same_stream(stream(Range{0, caption}, gl_call), {}));
}

TEST_F(ProgramTest, SetsUpTheSameProjectionForAnySize) {
    const int sizes[][2] = {{640, 480}, {800, 600}, {1, 1}, {0, 0}, {480, 640}, {1920, 1080}, {-1, 7}};
    ASSERT_TRUE(create_window("size", 640, 480, false));
    for (const auto& size : sizes) {
        SCOPED_TRACE(std::to_string(size[0]) + "x" + std::to_string(size[1]));
        fakes::clear_calls();
        scene_begin(size[0], size[1]);
        EXPECT_TRUE(same_stream(stream(), expected_setup()));
    }
}

TEST_F(ProgramTest, EachFrameClearsThenSetsTheModelViewThenSubmits) {
    run();
    float time = 0.0f;
    for (const Range& frame : frames()) {
        time = time + 0.1f;
        SCOPED_TRACE("frame at " + fakes::format_float(time));
        ASSERT_TRUE(same_stream(stream(frame), expected_frame(time)));  // later frames would repeat it
    }
    // After the last frame only the window closes.
    EXPECT_TRUE(same_stream(stream(Range{frames().back().end + 1, fakes::calls().size()}),
                            {"SDL_FreeSurface(surface#1)", "SDL_Quit()"}));
}

// The first frame against literal values: the angle, the matrix Ormath
// builds for it, and the colours a (= 0.1 scaled) of the way from palette_b
// back towards palette_a, which from palettes of 0s and 1s are exactly
// FIRST_KEEP, FIRST_FACTOR, 0 or 1.
TEST_F(ProgramTest, FirstFrameHasTheFirstAngleAndColours) {
    run();
    if (library_transform) {
        const auto loads = first_frame_calls(Fn::glLoadMatrixf);
        ASSERT_EQ(loads.size(), 1u);
        const mat4 expected = ormath::translate(vec3(0, 0, -4)) * ormath::rotate(FIRST_ANGLE, vec3(0, 0, 1));
        const std::vector<float> loaded = fakes::floats(loads[0]->read);
        ASSERT_EQ(loaded.size(), 16u);
        for (int k = 0; k < 16; ++k) {
            EXPECT_EQ(bits(loaded[k]), bits(expected.data()[k])) << "float " << k;
        }
    } else {
        const auto rotations = first_frame_calls(Fn::glRotatef);
        ASSERT_EQ(rotations.size(), 1u);
        EXPECT_EQ(bits(rotations[0]->f[0]), bits(FIRST_ANGLE));
        EXPECT_EQ(fakes::describe(*rotations[0]),
                  "glRotatef(" + fakes::format_float(FIRST_ANGLE) + ", 0, 0, 1)");
    }

    const float a = FIRST_FACTOR;
    const float keep = FIRST_KEEP;
    const vec3 first_colours[4] = {{keep, 0, a}, {1, keep, 0}, {a, 1, 0}, {0, a, keep}};
    std::vector<vec3> drawn;  // per corner, as OpenGL received it
    if (array_submission) {
        const auto draws = first_frame_calls(Fn::glDrawElements);
        ASSERT_EQ(draws.size(), 1u);
        const std::vector<float> read = fakes::floats(draws[0]->colours);
        ASSERT_EQ(read.size(), 18u);
        for (std::size_t k = 0; k < 4; ++k) {  // indices 0, 1, 2, 3 come first
            drawn.emplace_back(read[3 * k], read[3 * k + 1], read[3 * k + 2]);
        }
    } else {
        for (const fakes::Call* c : first_frame_calls(Fn::glColor3fv)) {
            const std::vector<float> read = fakes::floats(c->read);
            drawn.emplace_back(read[0], read[1], read[2]);
        }
    }
    ASSERT_EQ(drawn.size(), 4u);
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("corner " + std::to_string(i));
        for (int c = 0; c < 3; ++c) {
            EXPECT_EQ(bits(drawn[i][c]), bits(first_colours[i][c])) << "component " << c;
        }
        const vec3 mixed = ormath::mix(palette_b[i], palette_a[i], a);
        EXPECT_EQ(format_vec3(drawn[i]), format_vec3(mixed));
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
