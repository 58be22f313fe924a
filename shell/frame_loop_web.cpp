// The frame loop in a web page: the browser calls for each frame when it is
// about to paint (requestAnimationFrame), so the page is paced by the browser
// and never blocked. The program's status goes to the page through exit().
#include "shell/frame.hpp"
#include "shell/shell.hpp"

#include <emscripten.h>
#include <emscripten/html5.h>

#include <cstdio>
#include <cstdlib>

namespace {

void animation_frame() {
    if (!draw_frame()) {
        return;
    }
    emscripten_cancel_main_loop();
    scene_end();
    destroy_window();
    std::exit(0);
}

}  // namespace

int run_frame_loop(const char* program_name) {
    if (!open_demo_window(program_name)) {
        return 1;
    }
    // Without WebGL the emulated SDL still hands out a window surface; the
    // first GL call would then fail deep in the emulation.
    if (emscripten_webgl_get_current_context() == 0) {
        std::fprintf(stderr, "%s: cannot open a %dx%d OpenGL window: this browser gives the page no WebGL\n",
                     program_name, demo_window_width, demo_window_height);
        destroy_window();
        return 1;
    }
    scene_begin(demo_window_width, demo_window_height);
    // fps 0: once per animation frame. The call does not return; the
    // callback ends the program.
    emscripten_set_main_loop(animation_frame, 0, 1);
    return 0;
}
