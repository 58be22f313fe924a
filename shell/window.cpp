// The one window of a demo and its OpenGL context, through SDL 1.2.
#include "shell/shell.hpp"

#include <SDL.h>

#include <cstdlib>

namespace {

SDL_Surface* screen = nullptr;

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

}  // namespace

bool create_window(const char* title, int width, int height, bool fullscreen) {
    if (screen != nullptr) {
        destroy_window();
    }
    prefer_windowing_driver();
    if (SDL_Init(SDL_INIT_TIMER | SDL_INIT_VIDEO) < 0) {
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
    SDL_Quit();
}
