// frame_capture: an LD_PRELOAD library that saves chosen frames of a demo.
//
// It wraps SDL_GL_SwapBuffers and, just before the swap of each frame listed
// in ORMATH_CAPTURE_FRAMES (comma-separated, counting from 1), reads the back
// buffer and writes it as ORMATH_CAPTURE_DIR/frame_<n>.ppm. The demos draw
// thousands of frames a second, so a screenshot cannot say which frame it
// shows; a frame's number gives its clock value exactly.
//
// With ORMATH_SWAP_LOG set it also keeps a log in that file, shared with the
// test while the program runs: the number of swaps, the swap count at which
// the first key or quit event was taken from SDL's queue, the numbers of such
// events and of all events taken, and for each of the first
// ORMATH_SWAP_LOG_FRAMES swaps the time and the process's CPU time. The file is mapped and touched in full
// before main, so logging neither allocates nor grows the program's memory.
//
// With ORMATH_RAISE_IN_SET_VIDEO_MODE set to a signal number it raises that
// signal inside SDL_SetVideoMode, once the window is made and before the
// call returns: where SDL 1.2 would queue a quit event that a later call
// could flush. The time it does so goes into the log's header.
//
// With ORMATH_MATRIX_LOG set to a file it follows the matrices the program
// loads whole (glLoadMatrixf, into the mode glMatrixMode chose) and, at the
// swap of each of the first ORMATH_MATRIX_LOG_FRAMES frames, writes the
// model-view and projection matrices then in force, one line each:
//   <frame> modelview|projection <16 words>
// each word a float's bit pattern in 8 hex digits, in the order the program
// handed them over (column by column). A matrix not yet loaded has no line.
// The file is written as <file>.part and renamed when the last frame is in.
// Only whole loads are followed: a program that builds its matrices with
// glRotatef and the like logs nothing.
//
// A frame neither captured nor logged costs a few comparisons and allocates
// nothing. Under the SDL 1.2 layer over SDL 2 set SDL12COMPAT_OPENGL_SCALING=0,
// so that the program draws into the window's own back buffer rather than a
// private framebuffer object.
#include <GL/gl.h>
#include <SDL.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace {

constexpr int max_frames = 64;
long wanted[max_frames];
int wanted_count = 0;
int next_wanted = 0;
long frame = 0;
const char* directory = nullptr;
int signal_to_raise = 0;

// The matrix log (see above): open only while frames remain to be logged.
FILE* matrix_log = nullptr;
long matrix_log_frames = 0;
char matrix_log_path[4096], matrix_log_partial[4096 + 8];
GLenum matrix_mode = GL_MODELVIEW;  // OpenGL's initial mode
GLfloat modelview[16], projection[16];
bool modelview_loaded = false, projection_loaded = false;

// The log's layout, in 64-bit words: a header, then one time per swap
// (CLOCK_MONOTONIC, ns, taken when the swap returns), then the process's CPU
// time (all threads, ns) at the same moments. The reader is display_checks.py.
enum Slot {
    swaps_slot,
    first_stop_slot,
    stop_events_slot,
    events_slot,
    capacity_slot,
    raised_slot,
    header_slots
};
constexpr std::uint64_t no_stop_yet = ~std::uint64_t{0};
std::uint64_t* swap_log = nullptr;
std::uint64_t log_capacity = 0;

void store(std::uint64_t slot, std::uint64_t value) {
    __atomic_store_n(&swap_log[slot], value, __ATOMIC_RELAXED);
}

std::uint64_t nanoseconds(clockid_t clock) {
    timespec now{};
    clock_gettime(clock, &now);
    return static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
}

void open_swap_log() {
    const char* path = std::getenv("ORMATH_SWAP_LOG");
    if (path == nullptr) {
        return;
    }
    const char* frames = std::getenv("ORMATH_SWAP_LOG_FRAMES");
    log_capacity = frames != nullptr ? std::strtoull(frames, nullptr, 10) : 0;
    const size_t bytes = (header_slots + 2 * log_capacity) * sizeof(std::uint64_t);
    const int file = open(path, O_RDWR | O_CREAT | O_TRUNC, 0644);
    if (file < 0 || ftruncate(file, static_cast<off_t>(bytes)) != 0) {
        std::fprintf(stderr, "frame_capture: cannot create the swap log %s\n", path);
        std::_Exit(3);
    }
    void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_SHARED, file, 0);
    close(file);
    if (memory == MAP_FAILED) {
        std::fprintf(stderr, "frame_capture: cannot map the swap log %s\n", path);
        std::_Exit(3);
    }
    // Every page made resident now, not during the run being measured.
    std::memset(memory, 0, bytes);
    swap_log = static_cast<std::uint64_t*>(memory);
    store(capacity_slot, log_capacity);
    store(first_stop_slot, no_stop_yet);
}

void open_matrix_log() {
    const char* path = std::getenv("ORMATH_MATRIX_LOG");
    const char* frames = std::getenv("ORMATH_MATRIX_LOG_FRAMES");
    if (path == nullptr || frames == nullptr) {
        return;
    }
    matrix_log_frames = std::strtol(frames, nullptr, 10);
    std::snprintf(matrix_log_path, sizeof matrix_log_path, "%s", path);
    std::snprintf(matrix_log_partial, sizeof matrix_log_partial, "%s.part", path);
    matrix_log = matrix_log_frames > 0 ? std::fopen(matrix_log_partial, "w") : nullptr;
    if (matrix_log == nullptr) {
        std::fprintf(stderr, "frame_capture: cannot create the matrix log %s\n", matrix_log_partial);
        std::_Exit(3);
    }
}

void log_matrix(const char* name, const GLfloat* matrix) {
    std::fprintf(matrix_log, "%ld %s", frame, name);
    for (int i = 0; i < 16; ++i) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &matrix[i], sizeof bits);
        std::fprintf(matrix_log, " %08x", static_cast<unsigned>(bits));
    }
    std::fputc('\n', matrix_log);
}

// The matrices in force for the frame being swapped.
void log_matrices() {
    if (modelview_loaded) {
        log_matrix("modelview", modelview);
    }
    if (projection_loaded) {
        log_matrix("projection", projection);
    }
    if (frame == matrix_log_frames) {
        // Renamed only when complete, so a reader never sees part of the log.
        if (std::fclose(matrix_log) == 0) {
            std::rename(matrix_log_partial, matrix_log_path);
        }
        matrix_log = nullptr;
    }
}

// Parsed before main, so the swap path only counts and compares.
__attribute__((constructor)) void read_settings() {
    open_swap_log();
    open_matrix_log();
    if (const char* number = std::getenv("ORMATH_RAISE_IN_SET_VIDEO_MODE")) {
        signal_to_raise = static_cast<int>(std::strtol(number, nullptr, 10));
    }
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
    if (matrix_log != nullptr) {
        log_matrices();
    }
    if (real != nullptr) {
        real();
    }
    if (swap_log != nullptr) {
        if (static_cast<std::uint64_t>(frame) <= log_capacity) {
            const std::uint64_t slot = header_slots + static_cast<std::uint64_t>(frame) - 1;
            store(slot, nanoseconds(CLOCK_MONOTONIC));
            store(slot + log_capacity, nanoseconds(CLOCK_PROCESS_CPUTIME_ID));
        }
        store(swaps_slot, static_cast<std::uint64_t>(frame));
    }
}

extern "C" SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    using mode_function = SDL_Surface* (*)(int, int, int, Uint32);
    static const auto real = reinterpret_cast<mode_function>(dlsym(RTLD_NEXT, "SDL_SetVideoMode"));
    SDL_Surface* surface = real != nullptr ? real(width, height, bpp, flags) : nullptr;
    if (signal_to_raise != 0) {
        if (swap_log != nullptr) {
            store(raised_slot, nanoseconds(CLOCK_MONOTONIC));
        }
        std::raise(signal_to_raise);
    }
    return surface;
}

// Notes which swap the first stopping event (a key or a quit) follows, so a
// test can count the frames presented after it.
extern "C" int SDL_PollEvent(SDL_Event* event) {
    using poll_function = int (*)(SDL_Event*);
    static const auto real = reinterpret_cast<poll_function>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    const int taken = real != nullptr ? real(event) : 0;
    if (taken != 0 && event != nullptr && swap_log != nullptr) {
        store(events_slot, swap_log[events_slot] + 1);
        if (event->type == SDL_KEYDOWN || event->type == SDL_QUIT) {
            store(stop_events_slot, swap_log[stop_events_slot] + 1);
            if (swap_log[first_stop_slot] == no_stop_yet) {
                store(first_stop_slot, static_cast<std::uint64_t>(frame));
            }
        }
    }
    return taken;
}

extern "C" void glMatrixMode(GLenum mode) {
    using mode_function = void (*)(GLenum);
    static const auto real = reinterpret_cast<mode_function>(dlsym(RTLD_NEXT, "glMatrixMode"));
    if (real != nullptr) {
        real(mode);
    }
    if (matrix_log != nullptr) {
        // OpenGL's answer: a mode it refused leaves the one before.
        GLint current = GL_MODELVIEW;
        glGetIntegerv(GL_MATRIX_MODE, &current);
        matrix_mode = static_cast<GLenum>(current);
    }
}

// The program's own floats, kept before OpenGL sees them.
extern "C" void glLoadMatrixf(const GLfloat* matrix) {
    using load_function = void (*)(const GLfloat*);
    static const auto real = reinterpret_cast<load_function>(dlsym(RTLD_NEXT, "glLoadMatrixf"));
    if (matrix_log != nullptr && matrix != nullptr) {
        if (matrix_mode == GL_MODELVIEW) {
            std::memcpy(modelview, matrix, sizeof modelview);
            modelview_loaded = true;
        } else if (matrix_mode == GL_PROJECTION) {
            std::memcpy(projection, matrix, sizeof projection);
            projection_loaded = true;
        }
    }
    if (real != nullptr) {
        real(matrix);
    }
}
