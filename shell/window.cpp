// The one window of a demo and its OpenGL context, through SDL 1.2.
#include "shell/shell.hpp"

#include <SDL.h>

#include <algorithm>
#include <cstdlib>

namespace {

SDL_Surface* screen = nullptr;
const char* refusal = nullptr;

// Without a display SDL 1.2 falls back on video drivers that cannot show an
// OpenGL window: the classic library on its text-mode driver, which writes
// escapes to the terminal or ends the process itself, and the layer over
// SDL 2 on an offscreen driver where the demo would run with no window to
// close. Asking for the windowing driver turns a missing display into an
// error that can be reported. A driver the user names is left alone. In a
// web page there is one driver, the page's canvas.
void prefer_windowing_driver() {
#if defined(__unix__) && !defined(__APPLE__) && !defined(__EMSCRIPTEN__)
    const char* named = std::getenv("SDL_VIDEODRIVER");
    if (named == nullptr || named[0] == '\0') {
        setenv("SDL_VIDEODRIVER", "x11", 1);
    }
#endif
}

int channel_bits(Uint32 mask) {
    int bits = 0;
    for (; mask != 0; mask &= mask - 1) {
        ++bits;
    }
    return bits;
}

// The classic SDL 1.2 crashes inside SDL_SetVideoMode, whatever the request,
// when asked for an OpenGL window on a screen with more than 8 bits per
// colour channel (a 30-bit screen). The layer over SDL 2, whose versions
// count from 1.2.50, serves such a screen.
const char* screen_refusal() {
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (info == nullptr || info->vfmt == nullptr) {
        return nullptr;
    }
    const SDL_PixelFormat& format = *info->vfmt;
    const int widest =
        std::max({channel_bits(format.Rmask), channel_bits(format.Gmask), channel_bits(format.Bmask)});
    if (widest <= 8 || SDL_Linked_Version()->patch >= 50) {
        return nullptr;
    }
    return "the screen has more than 8 bits per colour channel, and SDL 1.2.15 cannot make an OpenGL "
           "window there: use a 24-bit screen, or the SDL 1.2 compatibility layer over SDL 2 "
           "(Debian: libsdl1.2-compat-shim)";
}

}  // namespace

bool create_window(const char* title, int width, int height, bool fullscreen) {
    if (screen != nullptr) {
        destroy_window();
    }
    prefer_windowing_driver();
    refusal = nullptr;
    // No parachute: SDL's handler for SIGSEGV, SIGBUS, SIGFPE and SIGQUIT
    // calls SDL_Quit inside the signal handler and can deadlock there; these
    // signals keep their usual meaning.
    const int started = SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO | SDL_INIT_NOPARACHUTE);
    retake_stop_signals();
    if (started < 0) {
        return false;
    }
    refusal = screen_refusal();
    if (refusal != nullptr) {
        return false;
    }
    // Colour only: no depth, stencil or accumulation buffer.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_STENCIL_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_RED_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_GREEN_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_BLUE_SIZE, 0);
    SDL_GL_SetAttribute(SDL_GL_ACCUM_ALPHA_SIZE, 0);

    Uint32 flags = SDL_OPENGL | SDL_DOUBLEBUF;
    if (fullscreen) {
        flags |= SDL_FULLSCREEN;
    }
    screen = SDL_SetVideoMode(width, height, 32, flags);
    if (screen == nullptr) {
        return false;
    }
    SDL_WM_SetCaption(title, title);
    return true;
}

void destroy_window() {
    if (screen != nullptr) {
        SDL_FreeSurface(screen);
        screen = nullptr;
    }
    hold_stop_signals();
    SDL_Quit();
    release_stop_signals();
}

const char* window_error() { return refusal != nullptr ? refusal : SDL_GetError(); }
