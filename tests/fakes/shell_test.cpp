// The shell on the fakes: the window's SDL calls, the frame loop's event
// handling and clock, and the exit without a window. A tiny scene records
// its three operations into the same stream, so that their order against
// SDL's and GL's calls is visible.
#include "test_support.hpp"

#include <csignal>
#include <functional>
#include <map>

// The scene contract, as notes in the stream.
extern const float rotation_rate = 10.0f;
extern const float colour_time_scale = 1.0f;

// Run at scene_begin, when set: the window exists but the loop has not begun.
std::function<void()> at_scene_begin;

void scene_begin(int width, int height) {
    fakes::note("scene_begin(" + std::to_string(width) + ", " + std::to_string(height) + ")");
    if (at_scene_begin) {
        at_scene_begin();
    }
}
void scene_render(float time) { fakes::note("scene_render(" + fakes::format_float(time) + ")", time); }
void scene_end() { fakes::note("scene_end()"); }

namespace {

using fakes::Fn;
using namespace fakes_test;

const std::string caption = "Ormath core and Ormath extensions for intermediate mode";
constexpr int no_frame_limit = 1000;

std::vector<std::string> window_opening(const std::string& title, int width, int height, const char* flags,
                                        int surface, const std::string& driver = "x11") {
    // No parachute (0x100000): SIGSEGV, SIGQUIT and the like keep their meaning.
    return {"SDL_Init(0x100021) -> 0 [SDL_VIDEODRIVER=" + driver + "]",
            "SDL_GetVideoInfo() -> 8 bits per channel",
            "SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1)",
            "SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0)",
            "SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0)",
            "SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0)",
            "SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0)",
            "SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0)",
            "SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0)",
            "SDL_SetVideoMode(" + std::to_string(width) + ", " + std::to_string(height) + ", 32, " + flags +
                ") -> surface#" + std::to_string(surface),
            "SDL_WM_SetCaption(\"" + title + "\", \"" + title + "\")"};
}

// The loop has SDL queue key presses and close requests only: a flood of
// other events would otherwise push a key out of SDL's 127-event queue. It
// takes what is queued first, since the classic library then empties it.
// Every one of SDL 1.2's 32 event types but SDL_KEYDOWN (2) and SDL_QUIT
// (12) is switched off; the recorder names the types SDL names.
std::vector<std::string> queue_only_stop_events() {
    const char* const ignored[] = {"SDL_NOEVENT",
                                   "SDL_ACTIVEEVENT",
                                   "SDL_KEYUP",
                                   "SDL_MOUSEMOTION",
                                   "SDL_MOUSEBUTTONDOWN",
                                   "SDL_MOUSEBUTTONUP",
                                   "0x7",
                                   "0x8",
                                   "0x9",
                                   "0xa",
                                   "0xb",
                                   "SDL_SYSWMEVENT",
                                   "0xe",
                                   "0xf",
                                   "SDL_VIDEORESIZE",
                                   "SDL_VIDEOEXPOSE",
                                   "0x12",
                                   "0x13",
                                   "0x14",
                                   "0x15",
                                   "0x16",
                                   "0x17",
                                   "SDL_USEREVENT",
                                   "0x19",
                                   "0x1a",
                                   "0x1b",
                                   "0x1c",
                                   "0x1d",
                                   "0x1e",
                                   "0x1f"};
    std::vector<std::string> out = {"SDL_PollEvent() -> none"};
    for (const char* type : ignored) {
        out.push_back(std::string("SDL_EventState(") + type + ", SDL_IGNORE)");
    }
    return out;
}

// The times the scene was rendered with, in order.
std::vector<float> render_times() {
    std::vector<float> out;
    for (const fakes::Call& c : fakes::calls()) {
        if (c.fn == Fn::note && c.text.rfind("scene_render(", 0) == 0) {
            out.push_back(c.float_args[0]);
        }
    }
    return out;
}

// 0.1, 0.1 + 0.1, ... as the float sums a frame loop starting at `start` makes.
std::vector<float> float_clock(float start, int frames) {
    std::vector<float> out;
    float t = start;
    for (int k = 0; k < frames; ++k) {
        t = t + 0.1f;
        out.push_back(t);
    }
    return out;
}

std::vector<std::uint32_t> all_bits(const std::vector<float>& v) {
    std::vector<std::uint32_t> out;
    out.reserve(v.size());
    for (float x : v) {
        out.push_back(bits(x));
    }
    return out;
}

// ---------------------------------------------------------------- the window

using WindowTest = FakesTest;

struct WindowCase {
    const char* name;
    int width;
    int height;
    bool fullscreen;
    const char* flags;  // exactly SDL_OPENGL | SDL_DOUBLEBUF, plus SDL_FULLSCREEN
};

const WindowCase window_cases[] = {
    {"window", 640, 480, false, "0x40000002"},
    {"fullscreen", 640, 480, true, "0xc0000002"},
    {"other size", 800, 600, false, "0x40000002"},
    {"one pixel fullscreen", 1, 1, true, "0xc0000002"},
};

TEST_F(WindowTest, OpensWithTheRequestedFormatAndCaption) {
    for (const WindowCase& c : window_cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        EXPECT_TRUE(create_window("a title", c.width, c.height, c.fullscreen));
        EXPECT_TRUE(same_stream(stream(), window_opening("a title", c.width, c.height, c.flags, 1)));
        EXPECT_TRUE(fakes::surface_live(1));
        destroy_window();
    }
}

struct FailureCase {
    const char* name;
    int init_result;
    bool video_mode_fails;
    std::vector<std::string> expected;  // create_window's calls; destroy_window then only quits
};

TEST_F(WindowTest, FailureStopsEarlyAndLeavesNothingToFree) {
    const std::vector<std::string> opening = window_opening("t", 640, 480, "0x40000002", 1);
    std::vector<std::string> up_to_video_mode(opening.begin(), opening.end() - 2);
    up_to_video_mode.emplace_back("SDL_SetVideoMode(640, 480, 32, 0x40000002) -> null");
    const FailureCase cases[] = {
        {"SDL_Init fails", -1, false, {"SDL_Init(0x100021) -> -1 [SDL_VIDEODRIVER=x11]"}},
        {"no video mode, so no caption", 0, true, up_to_video_mode},
    };
    for (const FailureCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        fakes::sdl().init_result = c.init_result;
        fakes::sdl().video_mode_fails = c.video_mode_fails;
        EXPECT_FALSE(create_window("t", 640, 480, false));
        EXPECT_TRUE(same_stream(stream(), c.expected));
        fakes::clear_calls();
        destroy_window();
        EXPECT_TRUE(same_stream(stream(), {"SDL_Quit()"}));
    }
}

TEST_F(WindowTest, SecondCreateClosesTheFirstWindowAndStartsAfresh) {
    ASSERT_TRUE(create_window("first", 640, 480, false));
    ASSERT_TRUE(create_window("second", 800, 600, true));
    EXPECT_TRUE(same_stream(stream(), joined(joined(window_opening("first", 640, 480, "0x40000002", 1),
                                                    {"SDL_FreeSurface(surface#1)", "SDL_Quit()"}),
                                             window_opening("second", 800, 600, "0xc0000002", 2))));
    // The surface freed at the end is the new one.
    fakes::clear_calls();
    destroy_window();
    EXPECT_TRUE(same_stream(stream(), {"SDL_FreeSurface(surface#2)", "SDL_Quit()"}));
}

TEST_F(WindowTest, CreateAfterAFailedCreateHasNothingToClose) {
    fakes::sdl().video_mode_fails = true;
    ASSERT_FALSE(create_window("t", 640, 480, false));
    fakes::sdl().video_mode_fails = false;
    fakes::clear_calls();
    ASSERT_TRUE(create_window("t", 640, 480, false));
    EXPECT_TRUE(same_stream(stream(), window_opening("t", 640, 480, "0x40000002", 1)));
}

TEST_F(WindowTest, DestroyTwiceOnlyQuitsAgain) {
    ASSERT_TRUE(create_window("t", 640, 480, false));
    fakes::clear_calls();
    destroy_window();
    destroy_window();
    EXPECT_TRUE(same_stream(stream(), {"SDL_FreeSurface(surface#1)", "SDL_Quit()", "SDL_Quit()"}));
}

struct DriverCase {
    const char* name;
    const char* user_value;  // null: unset
    const char* seen_by_sdl;
};

TEST_F(WindowTest, AsksForTheWindowingDriverUnlessTheUserNamesOne) {
    const DriverCase cases[] = {
        {"unset", nullptr, "x11"},
        {"empty", "", "x11"},
        {"named dummy", "dummy", "dummy"},
        {"named x11", "x11", "x11"},
        {"named wayland", "wayland", "wayland"},
    };
    for (const DriverCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        if (c.user_value != nullptr) {
            ::setenv("SDL_VIDEODRIVER", c.user_value, 1);
        } else {
            ::unsetenv("SDL_VIDEODRIVER");
        }
        create_window("t", 640, 480, false);
        ASSERT_FALSE(fakes::calls().empty());
        EXPECT_EQ(fakes::describe(fakes::calls().front()),
                  std::string("SDL_Init(0x100021) -> 0 [SDL_VIDEODRIVER=") + c.seen_by_sdl + "]");
        destroy_window();
    }
}

struct ScreenCase {
    const char* name;
    int channel_bits;
    Uint8 patch;  // 1.2.15 is the classic library; the layer over SDL 2 counts from 1.2.50
    bool opens;
};

// The classic library crashes in SDL_SetVideoMode on a screen with wider
// channels; the shell asks what the screen is and refuses before that call.
TEST_F(WindowTest, RefusesAWideChannelScreenOnlyOnTheClassicLibrary) {
    const ScreenCase cases[] = {
        {"24-bit screen, classic", 8, 15, true},
        {"30-bit screen, classic", 10, 15, false},
        {"30-bit screen, the layer", 10, 60, true},
    };
    for (const ScreenCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        fakes::sdl().screen_channel_bits = c.channel_bits;
        fakes::sdl().linked_patch = c.patch;
        EXPECT_EQ(create_window("t", 640, 480, false), c.opens);
        const std::vector<std::string> calls = stream();
        ASSERT_GE(calls.size(), 3u);
        EXPECT_EQ(calls[1], "SDL_GetVideoInfo() -> " + std::to_string(c.channel_bits) + " bits per channel");
        if (c.channel_bits > 8) {
            EXPECT_EQ(calls[2], "SDL_Linked_Version() -> 1.2." + std::to_string(c.patch));
        }
        EXPECT_EQ(find_call(Fn::SDL_SetVideoMode) < calls.size(), c.opens);
        if (!c.opens) {
            EXPECT_EQ(calls.size(), 3u);
            EXPECT_NE(std::string(window_error()).find("more than 8 bits per colour channel"),
                      std::string::npos);
        }
        destroy_window();
    }
}

// ---------------------------------------------------------------- the frame loop

using FrameLoopTest = FakesTest;

// A whole run, call by call: window, scene set-up, frames that each start
// with a cleared buffer, the frame after the stopping event, the end.
TEST_F(FrameLoopTest, RunsFromWindowToEndInOrder) {
    for (Uint8 stop : {Uint8{SDL_KEYDOWN}, Uint8{SDL_QUIT}}) {
        const std::string stop_name = stop == SDL_KEYDOWN ? "SDL_KEYDOWN" : "SDL_QUIT";
        SCOPED_TRACE(stop_name);
        fakes::reset();
        elapsed_time = 0.0f;
        event_after_swap(2, stop);
        EXPECT_EQ(run_frame_loop("quad_test"), 0);
        const std::vector<std::string> frames_and_end = {
            "SDL_PollEvent() -> none",
            "glClear(GL_COLOR_BUFFER_BIT)",
            "scene_render(0.100000001)",
            "SDL_GL_SwapBuffers()",
            "SDL_PollEvent() -> none",
            "glClear(GL_COLOR_BUFFER_BIT)",
            "scene_render(0.200000003)",
            "SDL_GL_SwapBuffers()",
            "SDL_PollEvent() -> " + stop_name,
            "SDL_PollEvent() -> none",
            "glClear(GL_COLOR_BUFFER_BIT)",
            "scene_render(0.300000012)",
            "SDL_GL_SwapBuffers()",
            "scene_end()",
            "SDL_FreeSurface(surface#1)",
            "SDL_Quit()",
        };
        EXPECT_TRUE(
            same_stream(stream(), joined(joined(joined(window_opening(caption, 640, 480, "0x40000002", 1),
                                                       {"scene_begin(640, 480)"}),
                                                queue_only_stop_events()),
                                         frames_and_end)));
    }
}

struct EventScript {
    const char* name;
    std::vector<Uint8> before_start;               // queued before the loop starts
    std::map<int, std::vector<Uint8>> after_swap;  // queued after swap n
    int frames;                                    // frames drawn before the program ends
};

std::vector<EventScript> event_scripts() {
    const std::vector<Uint8> motion_stream(500, SDL_MOUSEMOTION);
    return {
        {"key before the first frame", {SDL_KEYDOWN}, {}, 1},
        {"close request before the first frame", {SDL_QUIT}, {}, 1},
        {"key while running", {}, {{3, {SDL_KEYDOWN}}}, 4},
        {"close request while running", {}, {{5, {SDL_QUIT}}}, 6},
        {"other events never stop the loop",
         {SDL_KEYUP, SDL_MOUSEMOTION, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP, SDL_ACTIVEEVENT,
          SDL_VIDEOEXPOSE, SDL_VIDEORESIZE, SDL_SYSWMEVENT, SDL_USEREVENT},
         {{2, {SDL_KEYUP, SDL_MOUSEMOTION}}, {4, {SDL_KEYDOWN}}},
         5},
        {"a stream of motion holds the first frame back", motion_stream, {{1, {SDL_KEYDOWN}}}, 2},
        {"a key among other events",
         {},
         {{2, {SDL_MOUSEMOTION, SDL_KEYDOWN, SDL_MOUSEMOTION, SDL_ACTIVEEVENT}}},
         3},
        {"events before every frame",
         {SDL_MOUSEMOTION},
         {{1, {SDL_MOUSEMOTION, SDL_MOUSEMOTION}},
          {2, {SDL_MOUSEMOTION, SDL_MOUSEMOTION}},
          {3, {SDL_MOUSEMOTION, SDL_KEYUP}},
          {4, {SDL_QUIT, SDL_MOUSEMOTION}}},
         5},
        {"two keys still give one more frame", {}, {{1, {SDL_KEYDOWN, SDL_KEYDOWN}}}, 2},
        {"events after the last frame are left", {}, {{2, {SDL_KEYDOWN}}, {3, {SDL_QUIT, SDL_KEYDOWN}}}, 3},
    };
}

TEST_F(FrameLoopTest, DrainsTheQueueBeforeEachFrameAndStopsOneFrameAfterAKeyOrClose) {
    for (const EventScript& script : event_scripts()) {
        SCOPED_TRACE(script.name);
        fakes::reset();
        elapsed_time = 0.0f;
        for (Uint8 type : script.before_start) {
            fakes::push_event(type);
        }
        fakes::sdl().swap_limit = no_frame_limit;
        fakes::sdl().after_swap = [&script](int swaps) {
            const auto queued = script.after_swap.find(swaps);
            if (queued != script.after_swap.end()) {
                for (Uint8 type : queued->second) {
                    fakes::push_event(type);
                }
            }
        };

        EXPECT_EQ(run_frame_loop("quad_test"), 0);
        EXPECT_EQ(fakes::swaps(), script.frames);
        EXPECT_EQ(all_bits(render_times()), all_bits(float_clock(0.0f, script.frames)));

        // Every event queued before the last frame is taken, in order.
        std::vector<std::int64_t> expected_polled(script.before_start.begin(), script.before_start.end());
        for (int swap = 1; swap < script.frames; ++swap) {
            const auto queued = script.after_swap.find(swap);
            if (queued != script.after_swap.end()) {
                expected_polled.insert(expected_polled.end(), queued->second.begin(), queued->second.end());
            }
        }
        std::vector<std::int64_t> polled;
        for (const fakes::Call& c : fakes::calls()) {
            if (c.fn == Fn::SDL_PollEvent && c.result != 0) {
                polled.push_back(c.int_args[0]);
            }
        }
        EXPECT_EQ(polled, expected_polled);

        // Drawing starts only on an empty queue, right after the poll that found it so.
        const std::vector<fakes::Call>& calls = fakes::calls();
        for (const Range& frame : frames()) {
            ASSERT_GT(frame.begin, 0u);
            const fakes::Call& poll = calls[frame.begin - 1];
            EXPECT_EQ(poll.fn, Fn::SDL_PollEvent);
            EXPECT_EQ(poll.result, 0);
            EXPECT_TRUE(same_stream(stream(frame, [](Fn fn) { return fn != Fn::note; }),
                                    {"glClear(GL_COLOR_BUFFER_BIT)"}));
            EXPECT_EQ(calls[frame.begin].events_pending, 0u);
        }
        // After the last swap only the end.
        const std::size_t last_swap = frames().back().end;
        EXPECT_TRUE(same_stream(stream(Range{last_swap + 1, calls.size()}),
                                {"scene_end()", "SDL_FreeSurface(surface#1)", "SDL_Quit()"}));
    }
}

TEST_F(FrameLoopTest, AMotionStreamIsPolledWholeBeforeTheFirstFrame) {
    for (int k = 0; k < 500; ++k) {
        fakes::push_event(SDL_MOUSEMOTION);
    }
    event_after_swap(1, SDL_KEYDOWN);
    EXPECT_EQ(run_frame_loop("quad_test"), 0);
    const std::size_t first_clear = find_call(Fn::glClear);
    std::size_t polls = 0;
    for (std::size_t k = 0; k < first_clear; ++k) {
        polls += fakes::calls()[k].fn == Fn::SDL_PollEvent ? 1 : 0;
    }
    // 500 events, then the empty queue: once before the event filter is set, once in the loop.
    EXPECT_EQ(polls, 502u);
}

struct ClockCase {
    const char* name;
    float start;
    int frames;
};

// The clock is a float raised by the float 0.1 before each frame, never
// reset: from 2^21 on the sum no longer changes and the clock stands still.
TEST_F(FrameLoopTest, ClockAdvancesByFloatSumsOfOneTenth) {
    const ClockCase cases[] = {
        {"from start", 0.0f, 400},
        {"from a clock left at 1000", 1000.0f, 30},
        {"at 2^21", 2097152.0f, 5},
    };
    for (const ClockCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        elapsed_time = c.start;
        event_after_swap(c.frames - 1, SDL_KEYDOWN);
        ASSERT_EQ(run_frame_loop("quad_test"), 0);
        const std::vector<float> expected = float_clock(c.start, c.frames);
        EXPECT_EQ(all_bits(render_times()), all_bits(expected));
        EXPECT_EQ(bits(elapsed_time), bits(expected.back()));
    }
}

struct NoWindowCase {
    const char* name;
    int init_result;
    bool video_mode_fails;
    const char* reason;
};

TEST_F(FrameLoopTest, WithoutAWindowReportsOneLineAndEndsWithStatusOne) {
    const NoWindowCase cases[] = {
        {"SDL_Init fails", -1, false, "No available video device"},
        {"no OpenGL window", 0, true, "Couldn't find matching GLX visual"},
    };
    for (const NoWindowCase& c : cases) {
        SCOPED_TRACE(c.name);
        fakes::reset();
        fakes::sdl().init_result = c.init_result;
        fakes::sdl().video_mode_fails = c.video_mode_fails;
        fakes::sdl().error = c.reason;
        // Events that would end a loop: the program must not wait for them.
        fakes::push_event(SDL_KEYDOWN);

        int status = -1;
        std::string err;
        std::string out;
        {
            CapturedStream captured_out(STDOUT_FILENO);
            CapturedStream captured_err(STDERR_FILENO);
            status = run_frame_loop("quad_test");
            err = captured_err.text();
            out = captured_out.text();
        }
        EXPECT_EQ(status, 1);
        EXPECT_EQ(out, "");
        EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;
        EXPECT_EQ(err.back(), '\n');
        EXPECT_EQ(err.rfind("quad_test: ", 0), 0u) << err;
        EXPECT_NE(err.find(c.reason), std::string::npos) << err;

        // No scene operation, no GL call, no frame; SDL shut down last.
        for (const fakes::Call& call : fakes::calls()) {
            EXPECT_NE(call.fn, Fn::note) << fakes::describe(call);
            EXPECT_FALSE(fakes::is_gl(call.fn)) << fakes::describe(call);
            EXPECT_NE(call.fn, Fn::SDL_PollEvent);
            EXPECT_NE(call.fn, Fn::SDL_GL_SwapBuffers);
            EXPECT_NE(call.fn, Fn::SDL_FreeSurface);
        }
        ASSERT_FALSE(fakes::calls().empty());
        EXPECT_EQ(fakes::describe(fakes::calls().back()), "SDL_Quit()");
        EXPECT_EQ(find_call(Fn::SDL_Quit), fakes::calls().size() - 1);  // one SDL_Quit, at the end
    }
}

// ---------------------------------------------------------------- the process

struct NameCase {
    const char* argv0;
    std::size_t size;
    const char* expected;
};

TEST(ProgramName, LastNonEmptyPathElementWithControlsAndNonUtf8Escaped) {
    const NameCase cases[] = {
        {"/usr/bin/quad_mathlib_arrays", 128, "quad_mathlib_arrays"},
        {"quad", 128, "quad"},
        {"bin/quad/", 128, "quad"},
        {"bin//quad//", 128, "quad"},
        {"/", 128, "quad demo"},
        {"", 128, "quad demo"},
        {nullptr, 128, "quad demo"},
        {"dir/a\nb\x1b[2J\x07", 128, R"(a\nb\x1b[2J\x07)"},
        {"tab\there\r\\", 128, R"(tab\there\r\\)"},
        {"del\x7f", 128, "del\\x7f"},
        {"caf\xc3\xa9", 128, "caf\xc3\xa9"},  // UTF-8 passes
        {"csi\xc2\x9b[31m", 128, "csi\\xc2\\x9b[31m"},
        {"abcdefghij", 8, "abcdefg"},                             // truncated to fit, terminated
        {"abcd\n", 6, "abcd"},                                    // an escape is never cut in half
        {"raw\x9b[31m", 128, R"(raw\x9b[31m)"},                   // a C1 byte on its own is no UTF-8
        {"end\xc3", 128, R"(end\xc3)"},                           // a lead byte without its continuation
        {"\xe2(\xa1", 128, R"(\xe2(\xa1)"},                       // a lead byte before an ASCII one
        {"slash\xc0\xaf", 128, R"(slash\xc0\xaf)"},               // an overlong '/'
        {"sur\xed\xa0\x80", 128, R"(sur\xed\xa0\x80)"},           // a surrogate
        {"\xf4\x90\x80\x80", 128, R"(\xf4\x90\x80\x80)"},         // past U+10FFFF
        {"smile\xf0\x9f\x98\x80", 128, "smile\xf0\x9f\x98\x80"},  // four bytes pass whole
        {"ab\xc3\xa9", 4, "ab"},                                  // a character is never cut in half
        {"a\xf0\x9f\x98\x80", 5, "a"},
        {"a\xf0\x9f\x98\x80", 6, "a\xf0\x9f\x98\x80"},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.argv0 != nullptr ? c.argv0 : "(null)");
        char out[128];
        std::memset(out, '#', sizeof out);
        format_program_name(c.argv0, out, c.size);
        EXPECT_STREQ(out, c.expected);
    }
}

// Signals change the whole process: each case runs in a child (a death
// test) and reports through its exit status. Closed descriptors are tried on
// the real programs, in the display tests.
struct ProcessCase {
    const char* name;
    std::function<int()> run;                  // in the child; its result is the exit status
    std::function<bool(int)> expected_status;  // of the child, as waitpid gives it
};

// Runs the frame loop on the fakes with the stop signals watched; `at_swap`
// runs after each swap. A key after swap 20 ends a loop that missed a stop.
int frame_loop_with_signals(const std::function<void(int swaps)>& at_swap) {
    watch_stop_signals();
    fakes::sdl().after_swap = [at_swap](int swaps) {
        at_swap(swaps);
        if (swaps == 20) {
            fakes::push_event(SDL_KEYDOWN);
        }
    };
    return run_frame_loop("quad_test");
}

// After swap `swap`, raises `number`, `times` times in a row.
std::function<void(int)> raise_at(int swap, int number, int times = 1) {
    return [=](int swaps) {
        for (int k = 0; k < times && swaps == swap; ++k) {
            std::raise(number);
        }
    };
}

// 0 when the loop returned `status` after exactly `frames` swaps.
int ended_after(int status, int frames) {
    const int swaps = fakes::swaps();
    return status == 0 && swaps == frames ? 0 : 100 + swaps;
}

TEST(ProcessDeathTest, StopSignals) {
    const auto exited = [](int code) { return ::testing::ExitedWithCode(code); };
    const ProcessCase cases[] = {
        {"SIGTERM while frames run: one more frame, status 0",
         [] { return ended_after(frame_loop_with_signals(raise_at(2, SIGTERM)), 3); }, exited(0)},
        {"SIGINT while frames run: one more frame, status 0",
         [] { return ended_after(frame_loop_with_signals(raise_at(5, SIGINT)), 6); }, exited(0)},
        {"SIGTERM with the window open, before the first frame: ended at once, status 0",
         [] {
             at_scene_begin = [] { std::raise(SIGTERM); };
             frame_loop_with_signals([](int) {});
             return 7;  // the loop ran
         },
         exited(0)},
        {"an ignored SIGINT (a background job) stays ignored",
         [] {
             std::signal(SIGINT, SIG_IGN);
             return ended_after(frame_loop_with_signals(raise_at(2, SIGINT)), 21);
         },
         exited(0)},
        {"a second stop signal after the first is taken ends the process as by default",
         [] {
             frame_loop_with_signals(raise_at(2, SIGTERM, 2));
             return 7;
         },
         ::testing::KilledBySignal(SIGTERM)},
    };
    for (const ProcessCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EXIT(
            {
                fakes::reset();
                std::_Exit(c.run());
            },
            c.expected_status, "");
    }
}

}  // namespace
