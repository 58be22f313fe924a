// The fakes themselves: that they read what OpenGL would read, notice
// misuse, stop a runaway loop and describe values exactly. The other tests
// rely on all of this to see faults.
#include "recorder.hpp"

#include <GL/glu.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

class FakesSelfTest : public ::testing::Test {
 protected:
    void SetUp() override { fakes::reset(); }
    void TearDown() override { fakes::reset(); }

    // SDL started and a window made, so that GL calls are legal.
    static void open_context() {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
        ASSERT_NE(SDL_SetVideoMode(4, 4, 32, SDL_OPENGL), nullptr);
        fakes::clear_calls();
    }

    static std::string last() { return fakes::describe(fakes::calls().back()); }
};

struct IndexCase {
    const char* name;
    GLenum type;
    const void* indices;
};

// glDrawElements reads each index, then every enabled array at that index,
// with the array's own number of components; a disabled array is not read.
TEST_F(FakesSelfTest, DrawReadsTheEnabledArraysAtEachIndex) {
    open_context();
    const float colours[] = {0, 0, 0, 1, 1, 1, 2, 2, 2};
    const float positions[] = {0.5f, 1.5f, 2.5f, 3.5f, 4.5f, 5.5f};
    static const GLushort shorts[] = {2, 0, 1};
    static const GLuint ints[] = {2, 0, 1};
    const IndexCase cases[] = {{"shorts", GL_UNSIGNED_SHORT, shorts}, {"ints", GL_UNSIGNED_INT, ints}};
    glColorPointer(3, GL_FLOAT, 0, colours);
    glVertexPointer(2, GL_FLOAT, 0, positions);
    glEnableClientState(GL_VERTEX_ARRAY);
    for (const IndexCase& c : cases) {
        SCOPED_TRACE(c.name);
        glDrawElements(GL_TRIANGLES, 3, c.type, c.indices);
        EXPECT_EQ(fakes::indices(fakes::calls().back().indices), (std::vector<GLuint>{2, 0, 1}));
        EXPECT_EQ(fakes::floats(fakes::calls().back().positions),
                  (std::vector<float>{4.5f, 5.5f, 0.5f, 1.5f, 2.5f, 3.5f}));
        EXPECT_TRUE(fakes::floats(fakes::calls().back().colours).empty());  // colour array disabled
    }
    glEnableClientState(GL_COLOR_ARRAY);
    glDrawElements(GL_TRIANGLES, 3, GL_UNSIGNED_INT, ints);
    EXPECT_EQ(fakes::floats(fakes::calls().back().colours), (std::vector<float>{2, 2, 2, 0, 0, 0, 1, 1, 1}));
    EXPECT_EQ(fakes::calls().back().client_arrays, fakes::vertex_array_bit | fakes::colour_array_bit);
    glDisableClientState(GL_VERTEX_ARRAY);
    glDisableClientState(GL_COLOR_ARRAY);
    EXPECT_TRUE(fakes::problems().empty());
}

// What is read is the memory at the call, not later.
TEST_F(FakesSelfTest, ReadsThroughPointersAtTheCall) {
    open_context();
    float colour[3] = {0.25f, 0.5f, 0.75f};
    float matrix[16] = {};
    matrix[15] = 7.0f;
    glColor3fv(colour);
    glLoadMatrixf(matrix);
    colour[0] = 9.0f;
    matrix[15] = 9.0f;
    EXPECT_EQ(fakes::describe(fakes::calls()[0]),
              "glColor3fv(" + fakes::format_pointer(colour) + " -> [0.25, 0.5, 0.75])");
    EXPECT_EQ(fakes::floats(fakes::calls()[1].read).back(), 7.0f);
}

struct MisuseCase {
    const char* name;
    void (*act)();
    const char* problem;
};

TEST_F(FakesSelfTest, NoticesMisuse) {
    static SDL_Surface foreign;
    const MisuseCase cases[] = {
        {"GL before any window", [] { glClear(GL_COLOR_BUFFER_BIT); }, "glClear without a GL context"},
        {"GL after SDL_Quit",
         [] {
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             SDL_Quit();
             glLoadIdentity();
         },
         "glLoadIdentity without a GL context"},
        {"state change inside glBegin/glEnd",
         [] {
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             glBegin(GL_QUADS);
             glMatrixMode(GL_MODELVIEW);
             glEnd();
         },
         "glMatrixMode between glBegin and glEnd"},
        {"glEnd alone",
         [] {
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             glEnd();
         },
         "glEnd without glBegin"},
        {"SDL before SDL_Init", [] { SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1); },
         "SDL_GL_SetAttribute before SDL_Init succeeded"},
        {"SDL after a failed SDL_Init",
         [] {
             fakes::sdl().init_result = -1;
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
         },
         "SDL_SetVideoMode before SDL_Init succeeded"},
        {"surface freed twice",
         [] {
             SDL_Init(SDL_INIT_VIDEO);
             SDL_Surface* s = SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             SDL_FreeSurface(s);
             SDL_FreeSurface(s);
         },
         "SDL_FreeSurface of surface#1, already freed or released by SDL_Quit"},
        {"surface freed after SDL_Quit",
         [] {
             SDL_Init(SDL_INIT_VIDEO);
             SDL_Surface* s = SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             SDL_Quit();
             SDL_FreeSurface(s);
         },
         "SDL_FreeSurface of surface#1, already freed or released by SDL_Quit"},
        {"surface SDL never made", [] { SDL_FreeSurface(&foreign); },
         "SDL_FreeSurface of a surface SDL never handed out"},
        {"draw from a double array",
         [] {
             static const double xy[2] = {0, 0};
             static const GLuint zero = 0;
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             glVertexPointer(2, GL_DOUBLE, 0, xy);
             glEnableClientState(GL_VERTEX_ARRAY);
             glDrawElements(GL_TRIANGLES, 1, GL_UNSIGNED_INT, &zero);
         },
         "glDrawElements with an unusable vertex array"},
        {"draw from a strided array",
         [] {
             static const float rgb_pad[4] = {0, 0, 0, 0};
             static const GLuint zero = 0;
             SDL_Init(SDL_INIT_VIDEO);
             SDL_SetVideoMode(4, 4, 32, SDL_OPENGL);
             glColorPointer(3, GL_FLOAT, 4 * sizeof(float), rgb_pad);
             glEnableClientState(GL_COLOR_ARRAY);
             glDrawElements(GL_TRIANGLES, 1, GL_UNSIGNED_INT, &zero);
         },
         "glDrawElements with an unusable colour array"},
    };
    for (const MisuseCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        c.act();
        ASSERT_EQ(fakes::problems().size(), 1u);
        EXPECT_EQ(fakes::problems().front(), c.problem);
    }
}

// A loop that ignores SDL_QUIT cannot hang a test: at the limit SDL_QUIT is
// queued, at twice the limit the swap throws.
TEST_F(FakesSelfTest, SafetyStopEndsARunawayLoop) {
    open_context();
    fakes::sdl().swap_limit = 50;
    int quits_seen = 0;
    int frames = 0;
    try {
        for (;;) {
            SDL_Event event;
            while (SDL_PollEvent(&event) != 0) {
                quits_seen += event.type == SDL_QUIT ? 1 : 0;
            }
            ++frames;
            SDL_GL_SwapBuffers();
        }
    } catch (const std::runtime_error&) {
    }
    EXPECT_EQ(frames, 100);
    EXPECT_EQ(quits_seen, 1);
    ASSERT_EQ(fakes::problems().size(), 1u);
    EXPECT_EQ(fakes::problems().front(), "safety stop: 50 swaps, SDL_QUIT queued");
}

// Nor can one that keeps polling an empty queue and never presents a frame.
TEST_F(FakesSelfTest, SafetyStopEndsALoopThatNeverSwaps) {
    open_context();
    fakes::sdl().idle_poll_limit = 30;
    int polls = 0;
    EXPECT_THROW(
        for (;;) {
            ++polls;
            SDL_PollEvent(nullptr);
        },
        std::runtime_error);
    EXPECT_EQ(polls, 30);
    ASSERT_EQ(fakes::problems().size(), 1u);
    EXPECT_EQ(fakes::problems().front(), "safety stop: 30 polls of an empty queue, no swap");
}

TEST_F(FakesSelfTest, SurfacesAreDistinctPerCall) {
    ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0);
    SDL_Surface* first = SDL_SetVideoMode(640, 480, 32, SDL_OPENGL);
    SDL_Surface* second = SDL_SetVideoMode(800, 600, 32, SDL_OPENGL | SDL_FULLSCREEN);
    ASSERT_NE(first, nullptr);
    EXPECT_NE(first, second);
    EXPECT_EQ(second->w, 800);
    EXPECT_EQ(second->flags, static_cast<Uint32>(SDL_OPENGL | SDL_FULLSCREEN));
    EXPECT_EQ(last(), "SDL_SetVideoMode(800, 600, 32, 0x80000002) -> surface#2");
}

// Descriptions compare values exactly: neighbouring floats and doubles print
// differently, and each printed value reads back to the same bits.
TEST_F(FakesSelfTest, DescriptionsTellNeighbouringValuesApart) {
    const float floats[] = {0.1f, 1.0f / 3.0f, 1.0f, -0.0f, 1e-38f, 3.4e38f, 16777216.0f, 2097152.0f};
    for (float v : floats) {
        SCOPED_TRACE(fakes::format_float(v));
        EXPECT_NE(fakes::format_float(v), fakes::format_float(std::nextafter(v, 0.0f)));
        EXPECT_NE(fakes::format_float(v),
                  fakes::format_float(std::nextafter(v, std::numeric_limits<float>::infinity())));
        const float back = std::strtof(fakes::format_float(v).c_str(), nullptr);
        EXPECT_EQ(std::signbit(back), std::signbit(v));
        EXPECT_EQ(back, v);
    }
    EXPECT_EQ(fakes::format_float(-0.0f), "-0");
    const double doubles[] = {4.0 / 3.0, static_cast<double>(4.0f / 3.0f), 0.1, static_cast<double>(0.1f)};
    for (double v : doubles) {
        SCOPED_TRACE(fakes::format_double(v));
        EXPECT_NE(fakes::format_double(v), fakes::format_double(std::nextafter(v, 0.0)));
        EXPECT_EQ(std::strtod(fakes::format_double(v).c_str(), nullptr), v);
    }
    EXPECT_EQ(fakes::format_double(static_cast<double>(4.0f / 3.0f)), "1.3333333730697632");
    EXPECT_EQ(fakes::format_double(static_cast<double>(0.1f)), "0.10000000149011612");
}

}  // namespace
