// The parts of the frame loop that the native loop and the browser's
// animation-frame callback share.
#pragma once

constexpr int demo_window_width = 640;
constexpr int demo_window_height = 480;

// Opens the demo's window with its caption. On failure writes one line on
// stderr naming program_name, releases SDL and returns false.
bool open_demo_window(const char* program_name);

// Draws one frame: drains the event queue, advances the clock, clears,
// renders the scene and swaps. Returns whether a key press, close request or
// stop signal was taken, that is whether this was the last frame.
bool draw_frame();
