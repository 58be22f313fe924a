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

}  // namespace

int run_frame_loop(const char* program_name) {
    if (!open_demo_window(program_name)) {
        return 1;
    }
    queue_only_stop_events();
    scene_begin(demo_window_width, demo_window_height);
    frame_loop_started();
    while (!draw_frame()) {
    }
    scene_end();
    destroy_window();
    return 0;
}
