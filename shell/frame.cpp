// One frame of a demo and the window it is drawn in: what the native loop
// and the browser's animation-frame callback share.
#include "shell/frame.hpp"

#include "shell/shell.hpp"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>

float elapsed_time = 0.0f;

namespace {

constexpr char caption[] = "Ormath core and Ormath extensions for intermediate mode";
constexpr float clock_step = 0.1f;

}  // namespace

bool open_demo_window(const char* program_name) {
    if (create_window(caption, demo_window_width, demo_window_height, false)) {
        return true;
    }
    std::fprintf(stderr, "%s: cannot open a %dx%d OpenGL window: %s\n", program_name, demo_window_width,
                 demo_window_height, window_error());
    destroy_window();
    return false;
}

bool draw_frame() {
    // The queue is drained completely before a frame is drawn.
    bool stop = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        if (event.type == SDL_KEYDOWN || event.type == SDL_QUIT) {
            stop = true;
        }
    }
    // A stop signal counts as a key, taken once the queue is empty.
    if (stop_requested()) {
        stop = true;
    }
    elapsed_time = elapsed_time + clock_step;
    // After a swap the back buffer's content is undefined: start from black.
    glClear(GL_COLOR_BUFFER_BIT);
    scene_render(elapsed_time);
    SDL_GL_SwapBuffers();
    // A key, close request or stop signal still gets the frame drawn after it.
    return stop;
}
