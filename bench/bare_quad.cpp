// The same picture as quad_fixed_arrays and quad_mathlib_*, with the fewest
// calls and no structure: the yardstick for what the demos' stages cost.
#include <GL/gl.h>
#include <SDL.h>

#include <cmath>
#include <cstdio>

int main(int, char**) {
    if (SDL_Init(SDL_INIT_VIDEO) < 0) {
        std::fprintf(stderr, "bare_quad: %s\n", SDL_GetError());
        return 1;
    }
    // The demos' visual: double-buffered colour, no depth buffer.
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
    if (SDL_SetVideoMode(640, 480, 32, SDL_OPENGL) == nullptr) {
        std::fprintf(stderr, "bare_quad: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    // 45 degrees vertically, 4:3, near 0.1, far 100.
    const double top = 0.1 * std::tan(22.5 * 3.14159265358979 / 180);
    glMatrixMode(GL_PROJECTION);
    glFrustum(-top * 4 / 3, top * 4 / 3, -top, top, 0.1, 100);
    glMatrixMode(GL_MODELVIEW);

    static const float corner[4][2] = {{-1, -1}, {1, -1}, {1, 1}, {-1, 1}};
    static const float from_even[4][3] = {{1, 0, 0}, {1, 1, 0}, {0, 1, 0}, {0, 0, 1}};
    static const float from_odd[4][3] = {{0, 0, 1}, {1, 0, 0}, {1, 1, 0}, {0, 1, 0}};
    float t = 0;
    for (bool quit = false; !quit;) {
        SDL_Event event;
        while (SDL_PollEvent(&event) != 0) {
            quit = quit || event.type == SDL_KEYDOWN || event.type == SDL_QUIT;
        }
        t += 0.1f;
        const bool odd = static_cast<int>(t) % 2 != 0;
        const float a = t - std::floor(t);
        const float(*from)[3] = odd ? from_odd : from_even;
        const float(*to)[3] = odd ? from_even : from_odd;

        glClear(GL_COLOR_BUFFER_BIT);
        glLoadIdentity();
        glTranslatef(0, 0, -4);
        glRotatef(t * 10, 0, 0, 1);
        glBegin(GL_QUADS);
        for (int i = 0; i < 4; ++i) {
            glColor3f(from[i][0] * (1 - a) + to[i][0] * a, from[i][1] * (1 - a) + to[i][1] * a,
                      from[i][2] * (1 - a) + to[i][2] * a);
            glVertex2fv(corner[i]);
        }
        glEnd();
        SDL_GL_SwapBuffers();
    }
    SDL_Quit();
    return 0;
}
