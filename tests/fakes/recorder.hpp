// Link-time stand-ins for the SDL 1.2, OpenGL and GLU functions the demos
// call, and the one recorder they all write to.
//
// Link gl_sdl_fakes instead of SDL, libGL and libGLU, after the code under
// test. Every call is recorded with its arguments as passed (floats and
// doubles bit for bit) and with what OpenGL would read through its pointers
// at that moment: the 16 floats of glLoadMatrixf, the colour of glColor3fv,
// the vertex of glVertex2fv, and for glDrawElements the indices and the
// enabled client arrays at each index. SDL is scripted: SDL_Init's result,
// whether SDL_SetVideoMode succeeds, SDL_GetError's text and an event queue
// that a test fills, directly or from a hook run after every buffer swap;
// also the screen's channel width that SDL_GetVideoInfo reports and the
// version SDL_Linked_Version gives.
#pragma once

#include <GL/gl.h>
#include <SDL.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fakes {

enum class Fn : std::uint8_t {
    SDL_Init,
    SDL_GL_SetAttribute,
    SDL_SetVideoMode,
    SDL_WM_SetCaption,
    SDL_EventState,
    SDL_PollEvent,
    SDL_GL_SwapBuffers,
    SDL_FreeSurface,
    SDL_Quit,
    SDL_GetVideoInfo,
    SDL_Linked_Version,
    SDL_GetError,
    glClear,
    glMatrixMode,
    glLoadMatrixf,
    glLoadIdentity,
    glTranslatef,
    glRotatef,
    gluPerspective,
    glColorPointer,
    glVertexPointer,
    glEnableClientState,
    glDisableClientState,
    glDrawElements,
    glBegin,
    glEnd,
    glColor3fv,
    glVertex2fv,
    note,  // a mark a test puts into the stream, see note() below
};

const char* name(Fn fn);
bool is_gl(Fn fn);  // OpenGL or GLU

// Bits of the client arrays enabled at a call.
constexpr unsigned vertex_array_bit = 1u;
constexpr unsigned colour_array_bit = 2u;

// A stretch of the recorder's value pools.
struct Span {
    std::uint32_t begin = 0;
    std::uint32_t size = 0;
};

struct Call {
    Fn fn{};
    std::int64_t int_args[4] = {};   // integer arguments in order: enums, sizes, flags
    float float_args[4] = {};        // float arguments in order
    double double_args[4] = {};      // double arguments in order (gluPerspective)
    const void* pointer = nullptr;   // the pointer argument, or the surface SDL_SetVideoMode returned
    std::int64_t result = 0;         // SDL_Init, SDL_GL_SetAttribute and SDL_PollEvent results
    Span read;                       // floats read through the pointer during the call
    Span indices;                    // glDrawElements: the indices read
    Span colours;                    // glDrawElements: the colour array at each index (if enabled)
    Span positions;                  // glDrawElements: the vertex array at each index (if enabled)
    std::string text;                // caption title, SDL_VIDEODRIVER at SDL_Init, error text, note name
    std::string icon_title;          // SDL_WM_SetCaption's icon title
    bool driver_set = false;         // SDL_Init: SDL_VIDEODRIVER was set (its value is in text)
    unsigned client_arrays = 0;      // client arrays enabled when the call was made
    std::size_t events_pending = 0;  // events queued when the call was made
};

// ---------------------------------------------------------------- recorder

const std::vector<Call>& calls();
std::vector<float> floats(Span span);
std::vector<GLuint> indices(Span span);

// Everything back to the state of a fresh process: no calls, SDL not started,
// no surfaces, GL defaults, an empty queue and the default script.
void reset();
// Forgets the calls recorded so far; SDL, GL and the script stay as they are.
void clear_calls();

// Puts a mark into the stream, e.g. a test scene's "scene_render(0.100000001)";
// its description is `text` as given, and float_args[0] holds `value` if one is given
// (result is then 1).
void note(const std::string& text);
void note(const std::string& text, float value);

// Misuse the fakes noticed: a GL call without a context, SDL used before
// SDL_Init, a surface freed twice or never handed out, an array that is not
// packed floats, the safety stop. Empty in a correct run.
const std::vector<std::string>& problems();

// ---------------------------------------------------------------- SDL script

struct SdlScript {
    int init_result = 0;             // SDL_Init's return value; negative fails
    bool video_mode_fails = false;   // SDL_SetVideoMode returns null
    std::string error = "no error";  // SDL_GetError's text
    int screen_channel_bits = 8;     // bits per colour channel of SDL_GetVideoInfo's format
    Uint8 linked_patch = 15;         // SDL_Linked_Version: 1.2.<this>
    // Run after every SDL_GL_SwapBuffers with the number of swaps so far; it
    // may queue events.
    std::function<void(int swaps)> after_swap;
    // A loop that does not stop: at this many swaps SDL_QUIT is queued and a
    // problem noted; at twice as many the swap throws std::runtime_error.
    int swap_limit = 10000;
    // A loop that polls an empty queue over and over without presenting a
    // frame: after this many such polls in a row SDL_PollEvent throws
    // std::runtime_error.
    int idle_poll_limit = 1000;
};

SdlScript& sdl();
void push_event(Uint8 type);
int swaps();
// Whether surface n (1-based), the n-th that SDL_SetVideoMode returned, is
// still to be freed.
bool surface_live(int n);

// ---------------------------------------------------------------- text

// Round-trip formats: two values print alike exactly when their bits agree
// (NaN payloads aside), so comparing descriptions compares values exactly.
std::string format_float(float v);
std::string format_double(double v);
std::string format_floats(const std::vector<float>& v);
std::string format_pointer(const void* p);

// One line per call: the function, its arguments and what it read, e.g.
// "glRotatef(1, 0, 0, 1)" or "glColor3fv(0x55d0c0 -> [0.899999976, 0, 0.100000001])".
std::string describe(const Call& call);

}  // namespace fakes
