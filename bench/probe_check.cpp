// A program with a known appetite, to check the frame probe: each frame
// makes one malloc and one operator new of its own, and one through a
// library (strdup), then swaps. Ends by itself after `FRAMES` frames.
#include <GL/gl.h>
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {
// Kept reachable, so that neither allocation can be optimised away.
void* volatile keep;
}  // namespace

int main(int argc, char** argv) {
    const long frames = argc == 2 ? std::strtol(argv[1], nullptr, 10) : 0;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: %s FRAMES\n", argv[0]);
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) < 0 || SDL_SetVideoMode(64, 64, 32, SDL_OPENGL) == nullptr) {
        std::fprintf(stderr, "probe_check: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    for (long i = 0; i < frames; ++i) {
        keep = std::malloc(16);
        keep = new int(1);
        keep = strdup("counted as the C library's");
        glClear(GL_COLOR_BUFFER_BIT);
        SDL_GL_SwapBuffers();
    }
    SDL_Quit();
    return 0;
}
