// The frame loop: drain the events, advance the clock, render, present.
#include "shell/shell.hpp"

#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>

float elapsed_time = 0.0f;

namespace {

constexpr char caption[] = "Ormath core and Ormath extensions for intermediate mode";
constexpr int window_width = 640;
constexpr int window_height = 480;
constexpr float clock_step = 0.1f;

// Only key presses and close requests matter to the loop; it drops every
// other event unread. SDL 1.2 holds at most 127 events and silently drops
// the rest, so a burst of other events (pointer motion, exposes, focus
// changes) could push a key out of its queue: SDL is told not to queue the
// other kinds at all.
void queue_only_stop_events() {
    for (int type = 0; type < SDL_NUMEVENTS; ++type) {
        if (type != SDL_KEYDOWN && type != SDL_QUIT) {
            SDL_EventState(static_cast<Uint8>(type), SDL_IGNORE);
        }
    }
}

// Takes what SDL queued while the window was made, before the filter above
// is set: the classic SDL 1.2 empties its whole queue whenever an event type
// is switched off, and would drop a key or close request made meanwhile, or
// the quit event of a stop signal that reached SDL's own handler.
bool stop_event_queued() {
    bool stop = false;
    SDL_Event event;
    while (SDL_PollEvent(&event) != 0) {
        stop = stop || event.type == SDL_KEYDOWN || event.type == SDL_QUIT;
    }
    return stop;
}

}  // namespace

int run_frame_loop(const char* program_name) {
    if (!create_window(caption, window_width, window_height, false)) {
        std::fprintf(stderr, "%s: cannot open a %dx%d OpenGL window: %s\n", program_name, window_width,
                     window_height, window_error());
        destroy_window();
        return 1;
    }
    scene_begin(window_width, window_height);
    bool quit = stop_event_queued();
    queue_only_stop_events();
    frame_loop_started();

    SDL_Event event;
    for (;;) {
        // The queue is drained completely before a frame is drawn.
        if (SDL_PollEvent(&event) != 0) {
            if (event.type == SDL_KEYDOWN || event.type == SDL_QUIT) {
                quit = true;
            }
            continue;
        }
        // A stop signal counts as a key, taken once the queue is empty.
        if (stop_requested()) {
            quit = true;
        }
        elapsed_time = elapsed_time + clock_step;
        // After a swap the back buffer's content is undefined: start from black.
        glClear(GL_COLOR_BUFFER_BIT);
        scene_render(elapsed_time);
        SDL_GL_SwapBuffers();
        // A key or close request still gets the frame drawn after it.
        if (quit) {
            break;
        }
    }

    scene_end();
    destroy_window();
    return 0;
}
