// The demo shell: one window with its OpenGL context, and the frame loop that
// drives a scene through the three calls of the scene contract.
#pragma once

#include <cstddef>

// Opens a double-buffered OpenGL window of width x height pixels (fullscreen
// on request) and sets its caption, after closing any window already open.
// Returns whether a window exists afterwards; on failure window_error() says why.
bool create_window(const char* title, int width, int height, bool fullscreen);

// Releases the window, if any, and shuts SDL down. Safe to call twice.
void destroy_window();

// Why the last create_window failed: SDL's error, or the shell's own reason
// when it refused a screen that the SDL library in use would crash on.
const char* window_error();

// The scene clock: 0 at start, raised by 0.1 before every frame and never
// reset, so the animation follows the frame rate rather than wall time.
extern float elapsed_time;

// Runs a demo from its window to its end: frames until a key press, a close
// request or a stop signal. Returns the exit status, 0 or, when no window can
// be made, 1 after a one-line message on stderr naming program_name.
int run_frame_loop(const char* program_name);

// The scene contract, supplied by each program.
void scene_begin(int width, int height);  // once, after the window exists
void scene_render(float time);            // once per frame, with the new clock
void scene_end();                         // once, before the window closes

// ---------------------------------------------------------------- the process
// (process.cpp; where there are no signals, descriptors or X, these do nothing)

// The name messages give the program: the last non-empty path element of
// argv0 with control characters escaped, so that a message stays one line.
// "quad demo" when argv0 names nothing. Truncated to fit out (size > 0).
void format_program_name(const char* argv0, char* out, std::size_t size);

// Reopens any of descriptors 0, 1 and 2 that is closed on /dev/null, so that
// no connection or file a library opens later takes its place. False, after
// a line on stderr if it can be written, when /dev/null cannot be opened.
bool reopen_closed_standard_streams(const char* program_name);

// Takes over SIGINT and SIGTERM, unless they are ignored (a background job,
// nohup): until the frame loop runs they end the process at once with status
// 0, and from then on they ask the loop to stop, which stop_requested() tells.
// A second one, once the first was taken, ends the process as by default.
void watch_stop_signals();
void frame_loop_started();
bool stop_requested();

// SDL 1.2 puts its own handler in for a moment when it starts, and puts the
// one it found back without its flags: retake_stop_signals(), after SDL_Init,
// restores them. A stop signal that reaches SDL's handler in that moment
// becomes a quit event, which the frame loop takes. At shutdown SDL puts the
// default action in for a moment instead: the stop signals are held around
// SDL_Quit and delivered when released.
void retake_stop_signals();
void hold_stop_signals();
void release_stop_signals();

// An X error or a lost X connection ends the program with one line naming it
// first, rather than only the X library's report.
void report_fatal_x_errors(const char* program_name);
