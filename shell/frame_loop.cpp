// The native frame loop: frames one after another until a key, a close
// request or a stop signal.
#include "shell/frame.hpp"
#include "shell/shell.hpp"

#include <SDL.h>

namespace {

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
    if (!open_demo_window(program_name)) {
        return 1;
    }
    scene_begin(demo_window_width, demo_window_height);
    // A stop event taken here still gets one frame drawn, as in the loop.
    bool stop = stop_event_queued();
    queue_only_stop_events();
    frame_loop_started();
    do {
        stop = draw_frame() || stop;
    } while (!stop);
    scene_end();
    destroy_window();
    return 0;
}
