// The demo shell: one window with its OpenGL context, and the frame loop that
// drives a scene through the three calls of the scene contract.
#pragma once

// Opens a double-buffered OpenGL window of width x height pixels (fullscreen
// on request) and sets its caption, after closing any window already open.
// Returns whether a window exists afterwards; on failure SDL_GetError() says why.
bool create_window(const char* title, int width, int height, bool fullscreen);

// Releases the window, if any, and shuts SDL down. Safe to call twice.
void destroy_window();

// The scene clock: 0 at start, raised by 0.1 before every frame and never
// reset, so the animation follows the frame rate rather than wall time.
extern float elapsed_time;

// Runs a demo from its window to its end: frames until a key press or a close
// request. Returns the exit status, 0 or, when no window can be made, 1 after
// a one-line message on stderr naming program_name.
int run_frame_loop(const char* program_name);

// The scene contract, supplied by each program.
void scene_begin(int width, int height);  // once, after the window exists
void scene_render(float time);            // once per frame, with the new clock
void scene_end();                         // once, before the window closes
