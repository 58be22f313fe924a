// frame_capture: an LD_PRELOAD library that saves chosen frames of a demo.
//
// It wraps SDL_GL_SwapBuffers and, just before the swap of each frame listed
// in ORMATH_CAPTURE_FRAMES (comma-separated, counting from 1), reads the back
// buffer and writes it as ORMATH_CAPTURE_DIR/frame_<n>.ppm. The demos draw
// thousands of frames a second, so a screenshot cannot say which frame it
// shows; a frame's number gives its clock value exactly.
//
// An uncaptured frame costs one comparison and allocates nothing. Under the
// SDL 1.2 layer over SDL 2 set SDL12COMPAT_OPENGL_SCALING=0, so that the
// program draws into the window's own back buffer rather than a private
// framebuffer object.
#include <GL/gl.h>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

constexpr int max_frames = 64;
long wanted[max_frames];
int wanted_count = 0;
int next_wanted = 0;
long frame = 0;
const char* directory = nullptr;

// Parsed before main, so the swap path only counts and compares.
__attribute__((constructor)) void read_settings() {
    directory = std::getenv("ORMATH_CAPTURE_DIR");
    const char* list = std::getenv("ORMATH_CAPTURE_FRAMES");
    if (directory == nullptr || list == nullptr) {
        return;
    }
    for (const char* p = list; *p != '\0' && wanted_count < max_frames;) {
        char* end = nullptr;
        const long n = std::strtol(p, &end, 10);
        if (end == p) {
            break;
        }
        if (n > 0) {
            wanted[wanted_count++] = n;
        }
        p = *end == ',' ? end + 1 : end;
    }
    std::sort(wanted, wanted + wanted_count);
    wanted_count = static_cast<int>(std::unique(wanted, wanted + wanted_count) - wanted);
}

void save_back_buffer(long number) {
    GLint viewport[4] = {0, 0, 0, 0};  // the window's size, as the context was made
    glGetIntegerv(GL_VIEWPORT, viewport);
    const int width = viewport[2], height = viewport[3];
    std::vector<unsigned char> pixels(static_cast<size_t>(width) * height * 3);
    GLint alignment = 4;
    glGetIntegerv(GL_PACK_ALIGNMENT, &alignment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
    glPixelStorei(GL_PACK_ALIGNMENT, alignment);

    char path[4096], partial[4096 + 8];
    std::snprintf(path, sizeof path, "%s/frame_%ld.ppm", directory, number);
    std::snprintf(partial, sizeof partial, "%s.part", path);
    FILE* file = std::fopen(partial, "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "frame_capture: cannot write %s\n", partial);
        return;
    }
    std::fprintf(file, "P6\n%d %d\n255\n", width, height);
    // GL's rows run bottom to top, a picture's top to bottom.
    for (int row = height - 1; row >= 0; --row) {
        std::fwrite(pixels.data() + static_cast<size_t>(row) * width * 3, 1, static_cast<size_t>(width) * 3,
                    file);
    }
    // Renamed only when complete, so a reader never sees half a frame.
    if (std::fclose(file) == 0) {
        std::rename(partial, path);
    }
}

}  // namespace

extern "C" void SDL_GL_SwapBuffers(void) {
    using swap_function = void (*)();
    static const auto real = reinterpret_cast<swap_function>(dlsym(RTLD_NEXT, "SDL_GL_SwapBuffers"));
    ++frame;
    if (next_wanted < wanted_count && frame == wanted[next_wanted]) {
        ++next_wanted;
        save_back_buffer(frame);
    }
    if (real != nullptr) {
        real();
    }
}
