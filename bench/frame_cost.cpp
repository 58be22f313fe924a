// Drives one program's scene_render without a window or driver, from a
// chosen clock value, so that a profiler can compare a frame's cost at the
// start of a run with its cost near the clock's ceiling of 2^21, which the
// real programs take about 2,000 hours to reach.
//
//   frame_cost_<program> CLOCK FRAMES
// renders FRAMES frames with the clock advancing by 0.1 from CLOCK, as the
// frame loop does, and checks each frame's GL call count.
#include "scene/quad.hpp"
#include "shell/shell.hpp"

#include <cstdio>
#include <cstdlib>

extern unsigned long gl_stub_calls;

int main(int argc, char** argv) {
    char* end = nullptr;
    const float start = argc == 3 ? std::strtof(argv[1], &end) : 0;
    const long frames = argc == 3 ? std::strtol(argv[2], nullptr, 10) : 0;
    if (end == nullptr || *end != '\0' || frames <= 0) {
        std::fprintf(stderr, "usage: %s CLOCK FRAMES\n", argv[0]);
        return 2;
    }
    scene_begin(640, 480);
    gl_stub_calls = 0;
    float clock = start;
    for (long i = 0; i < frames; ++i) {
        clock = clock + 0.1f;
        scene_render(clock);
    }
    if (gl_stub_calls != static_cast<unsigned long>(frames) * FRAME_GL_CALLS) {
        std::fprintf(stderr, "%s: %lu GL calls in %ld frames, expected %d per frame\n", argv[0],
                     gl_stub_calls, frames, FRAME_GL_CALLS);
        return 1;
    }
    // Past 2^21 the clock is a whole even number: every corner shows palette_b.
    if (start >= 0x1p21f) {
        for (int i = 0; i < 4; ++i) {
            if (quad_colours[i] != palette_b[i]) {
                std::fprintf(stderr, "%s: corner %d is not palette_b's colour at clock %g\n", argv[0], i,
                             clock);
                return 1;
            }
        }
    }
    return 0;
}
