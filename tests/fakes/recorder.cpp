// The recorder and the fake SDL, GL and GLU entry points that write to it.
#include "recorder.hpp"

#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <stdexcept>

namespace fakes {

namespace {

// One client array as glVertexPointer or glColorPointer left it; the
// defaults are OpenGL's.
struct ClientArray {
    GLint size = 4;
    GLenum type = GL_FLOAT;
    GLsizei stride = 0;
    const void* pointer = nullptr;
};

struct State {
    std::vector<Call> calls;
    std::vector<float> float_pool;
    std::vector<GLuint> index_pool;
    std::vector<std::string> problems;

    SdlScript script;
    bool sdl_started = false;
    bool context = false;
    std::deque<SDL_Event> queue;
    int swaps = 0;
    int idle_polls = 0;                // polls of an empty queue since the last swap
    std::deque<SDL_Surface> surfaces;  // a deque keeps handed-out addresses stable
    std::vector<bool> live;
    std::string error_text;  // the buffer SDL_GetError hands out
    SDL_PixelFormat screen_format{};
    SDL_VideoInfo video_info{};
    SDL_version version{};

    ClientArray vertex_array;
    ClientArray colour_array;
    unsigned enabled_arrays = 0;
    bool in_primitive = false;  // between glBegin and glEnd

    State() {
        // Room for a few hundred frames, so that recording does not allocate
        // from frame to frame; reset() keeps the capacity.
        calls.reserve(8192);
        float_pool.reserve(1u << 16);
        index_pool.reserve(4096);
    }
};

State& state() {
    static State s;
    return s;
}

void problem(std::string text) { state().problems.push_back(std::move(text)); }

// Appends a call and returns it, for the caller to fill in.
Call& record(Fn fn) {
    State& s = state();
    s.calls.emplace_back();
    Call& c = s.calls.back();
    c.fn = fn;
    c.client_arrays = s.enabled_arrays;
    c.events_pending = s.queue.size();
    return c;
}

// Records a GL call after checking that OpenGL would accept it here.
Call& record_gl(Fn fn) {
    State& s = state();
    if (!s.context) {
        problem(std::string(name(fn)) + " without a GL context");
    }
    if (s.in_primitive && fn != Fn::glColor3fv && fn != Fn::glVertex2fv && fn != Fn::glEnd) {
        problem(std::string(name(fn)) + " between glBegin and glEnd");
    }
    return record(fn);
}

Call& record_sdl(Fn fn) {
    if (!state().sdl_started) {
        problem(std::string(name(fn)) + " before SDL_Init succeeded");
    }
    return record(fn);
}

Span keep_floats(const float* values, std::size_t n) {
    std::vector<float>& pool = state().float_pool;
    Span span{static_cast<std::uint32_t>(pool.size()), static_cast<std::uint32_t>(n)};
    pool.insert(pool.end(), values, values + n);
    return span;
}

// The float components of element `index` of a tightly packed client array.
const float* element(const ClientArray& array, GLuint index) {
    return static_cast<const float*>(array.pointer) + static_cast<std::size_t>(array.size) * index;
}

// The programs hand over packed float arrays; anything else is not read.
bool readable(const ClientArray& array, const char* what) {
    if (array.pointer == nullptr || array.type != GL_FLOAT || array.stride != 0 || array.size < 1 ||
        array.size > 4) {
        problem(std::string("glDrawElements with an unusable ") + what + " array");
        return false;
    }
    return true;
}

// 32-bit indices as the programs pass them, 16-bit ones as the web build will.
GLuint read_index(GLenum type, const void* indices, GLsizei k) {
    return type == GL_UNSIGNED_SHORT ? static_cast<const GLushort*>(indices)[k]
                                     : static_cast<const GLuint*>(indices)[k];
}

std::string hex(std::int64_t v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "0x%llx", static_cast<unsigned long long>(v));
    return buf;
}

struct Named {
    std::int64_t value;
    const char* name;
};

template <std::size_t N>
std::string name_in(const Named (&table)[N], std::int64_t value) {
    for (const Named& n : table) {
        if (n.value == value) {
            return n.name;
        }
    }
    return hex(value);
}

// Names for the values the shell and the programs pass; any other value
// prints in hex, which still tells it apart.
const Named matrix_modes[] = {{GL_MODELVIEW, "GL_MODELVIEW"}, {GL_PROJECTION, "GL_PROJECTION"}};
const Named data_types[] = {
    {GL_FLOAT, "GL_FLOAT"}, {GL_UNSIGNED_INT, "GL_UNSIGNED_INT"}, {GL_UNSIGNED_SHORT, "GL_UNSIGNED_SHORT"}};
const Named client_caps[] = {{GL_VERTEX_ARRAY, "GL_VERTEX_ARRAY"}, {GL_COLOR_ARRAY, "GL_COLOR_ARRAY"}};
const Named primitives[] = {{GL_TRIANGLES, "GL_TRIANGLES"}, {GL_QUADS, "GL_QUADS"}};
const Named clear_bits[] = {{GL_COLOR_BUFFER_BIT, "GL_COLOR_BUFFER_BIT"}};
const Named gl_attributes[] = {
    {SDL_GL_DOUBLEBUFFER, "SDL_GL_DOUBLEBUFFER"},         {SDL_GL_DEPTH_SIZE, "SDL_GL_DEPTH_SIZE"},
    {SDL_GL_STENCIL_SIZE, "SDL_GL_STENCIL_SIZE"},         {SDL_GL_ACCUM_RED_SIZE, "SDL_GL_ACCUM_RED_SIZE"},
    {SDL_GL_ACCUM_GREEN_SIZE, "SDL_GL_ACCUM_GREEN_SIZE"}, {SDL_GL_ACCUM_BLUE_SIZE, "SDL_GL_ACCUM_BLUE_SIZE"},
    {SDL_GL_ACCUM_ALPHA_SIZE, "SDL_GL_ACCUM_ALPHA_SIZE"}};
// The shell sets the queueing of every event type.
const Named event_types[] = {{SDL_NOEVENT, "SDL_NOEVENT"},
                             {SDL_ACTIVEEVENT, "SDL_ACTIVEEVENT"},
                             {SDL_KEYDOWN, "SDL_KEYDOWN"},
                             {SDL_KEYUP, "SDL_KEYUP"},
                             {SDL_MOUSEMOTION, "SDL_MOUSEMOTION"},
                             {SDL_MOUSEBUTTONDOWN, "SDL_MOUSEBUTTONDOWN"},
                             {SDL_MOUSEBUTTONUP, "SDL_MOUSEBUTTONUP"},
                             {SDL_QUIT, "SDL_QUIT"},
                             {SDL_SYSWMEVENT, "SDL_SYSWMEVENT"},
                             {SDL_VIDEORESIZE, "SDL_VIDEORESIZE"},
                             {SDL_VIDEOEXPOSE, "SDL_VIDEOEXPOSE"},
                             {SDL_USEREVENT, "SDL_USEREVENT"}};

std::string surface_name(const void* p) {
    if (p == nullptr) {
        return "null";
    }
    const State& s = state();
    for (std::size_t n = 0; n < s.surfaces.size(); ++n) {
        if (&s.surfaces[n] == p) {
            return "surface#" + std::to_string(n + 1);
        }
    }
    return "foreign surface " + format_pointer(p);
}

// Groups a flat list of components into per-vertex tuples.
std::string format_groups(const std::vector<float>& v, std::size_t groups) {
    if (groups == 0 || v.size() % groups != 0) {
        return format_floats(v);
    }
    const std::size_t width = v.size() / groups;
    std::string out = "[";
    for (std::size_t g = 0; g < groups; ++g) {
        out += g == 0 ? "(" : ", (";
        for (std::size_t k = 0; k < width; ++k) {
            out += (k == 0 ? "" : ", ") + format_float(v[g * width + k]);
        }
        out += ")";
    }
    return out + "]";
}

std::string args(std::initializer_list<std::string> list) {
    std::string out;
    for (const std::string& a : list) {
        out += out.empty() ? a : ", " + a;
    }
    return out;
}

}  // namespace

// ---------------------------------------------------------------- recorder

const char* name(Fn fn) {
    switch (fn) {
        case Fn::SDL_Init:
            return "SDL_Init";
        case Fn::SDL_GL_SetAttribute:
            return "SDL_GL_SetAttribute";
        case Fn::SDL_SetVideoMode:
            return "SDL_SetVideoMode";
        case Fn::SDL_WM_SetCaption:
            return "SDL_WM_SetCaption";
        case Fn::SDL_EventState:
            return "SDL_EventState";
        case Fn::SDL_PollEvent:
            return "SDL_PollEvent";
        case Fn::SDL_GL_SwapBuffers:
            return "SDL_GL_SwapBuffers";
        case Fn::SDL_FreeSurface:
            return "SDL_FreeSurface";
        case Fn::SDL_Quit:
            return "SDL_Quit";
        case Fn::SDL_GetVideoInfo:
            return "SDL_GetVideoInfo";
        case Fn::SDL_Linked_Version:
            return "SDL_Linked_Version";
        case Fn::SDL_GetError:
            return "SDL_GetError";
        case Fn::glClear:
            return "glClear";
        case Fn::glMatrixMode:
            return "glMatrixMode";
        case Fn::glLoadMatrixf:
            return "glLoadMatrixf";
        case Fn::glLoadIdentity:
            return "glLoadIdentity";
        case Fn::glTranslatef:
            return "glTranslatef";
        case Fn::glRotatef:
            return "glRotatef";
        case Fn::gluPerspective:
            return "gluPerspective";
        case Fn::glColorPointer:
            return "glColorPointer";
        case Fn::glVertexPointer:
            return "glVertexPointer";
        case Fn::glEnableClientState:
            return "glEnableClientState";
        case Fn::glDisableClientState:
            return "glDisableClientState";
        case Fn::glDrawElements:
            return "glDrawElements";
        case Fn::glBegin:
            return "glBegin";
        case Fn::glEnd:
            return "glEnd";
        case Fn::glColor3fv:
            return "glColor3fv";
        case Fn::glVertex2fv:
            return "glVertex2fv";
        case Fn::note:
            return "note";
    }
    return "?";
}

bool is_gl(Fn fn) { return fn >= Fn::glClear && fn <= Fn::glVertex2fv; }

const std::vector<Call>& calls() { return state().calls; }

std::vector<float> floats(Span span) {
    const std::vector<float>& pool = state().float_pool;
    return {pool.begin() + span.begin, pool.begin() + span.begin + span.size};
}

std::vector<GLuint> indices(Span span) {
    const std::vector<GLuint>& pool = state().index_pool;
    return {pool.begin() + span.begin, pool.begin() + span.begin + span.size};
}

void reset() {
    State& s = state();
    s.calls.clear();
    s.float_pool.clear();
    s.index_pool.clear();
    s.problems.clear();
    s.script = SdlScript();
    s.sdl_started = false;
    s.context = false;
    s.queue.clear();
    s.swaps = 0;
    s.idle_polls = 0;
    s.surfaces.clear();
    s.live.clear();
    s.error_text.clear();
    s.vertex_array = ClientArray();
    s.colour_array = ClientArray();
    s.enabled_arrays = 0;
    s.in_primitive = false;
}

void clear_calls() {
    State& s = state();
    s.calls.clear();
    s.float_pool.clear();
    s.index_pool.clear();
}

void note(const std::string& text) {
    Call& c = record(Fn::note);
    c.text = text;
}

void note(const std::string& text, float value) {
    Call& c = record(Fn::note);
    c.text = text;
    c.float_args[0] = value;
    c.result = 1;
}

const std::vector<std::string>& problems() { return state().problems; }

// ---------------------------------------------------------------- SDL script

SdlScript& sdl() { return state().script; }

void push_event(Uint8 type) {
    SDL_Event event;
    std::memset(&event, 0, sizeof event);
    event.type = type;
    state().queue.push_back(event);
}

int swaps() { return state().swaps; }

bool surface_live(int n) {
    const State& s = state();
    return n >= 1 && static_cast<std::size_t>(n) <= s.live.size() && s.live[n - 1];
}

// ---------------------------------------------------------------- text

std::string format_float(float v) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.9g", static_cast<double>(v));
    return buf;
}

std::string format_double(double v) {
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.17g", v);
    return buf;
}

std::string format_floats(const std::vector<float>& v) {
    std::string out = "[";
    for (std::size_t k = 0; k < v.size(); ++k) {
        out += (k == 0 ? "" : ", ") + format_float(v[k]);
    }
    return out + "]";
}

std::string format_pointer(const void* p) {
    if (p == nullptr) {
        return "null";
    }
    char buf[32];
    std::snprintf(buf, sizeof buf, "%p", p);
    return buf;
}

std::string describe(const Call& c) {
    const std::string fn = name(c.fn);
    const auto f = [&c](int k) { return format_float(c.float_args[k]); };
    const auto n = [&c](int k) { return std::to_string(c.int_args[k]); };
    const auto read = [&c] { return format_floats(floats(c.read)); };
    switch (c.fn) {
        case Fn::SDL_Init:
            return fn + "(" + hex(c.int_args[0]) + ") -> " + std::to_string(c.result) +
                   (c.driver_set ? " [SDL_VIDEODRIVER=" + c.text + "]" : " [SDL_VIDEODRIVER unset]");
        case Fn::SDL_GL_SetAttribute:
            return fn + "(" + args({name_in(gl_attributes, c.int_args[0]), n(1)}) + ")";
        case Fn::SDL_SetVideoMode:
            return fn + "(" + args({n(0), n(1), n(2), hex(c.int_args[3])}) + ") -> " +
                   surface_name(c.pointer);
        case Fn::SDL_WM_SetCaption:
            return fn + "(\"" + c.text + "\", \"" + c.icon_title + "\")";
        case Fn::SDL_EventState:
            return fn + "(" + name_in(event_types, c.int_args[0]) + ", " +
                   (c.int_args[1] == SDL_IGNORE   ? "SDL_IGNORE"
                    : c.int_args[1] == SDL_ENABLE ? "SDL_ENABLE"
                                                  : n(1)) +
                   ")";
        case Fn::SDL_PollEvent:
            return fn + "() -> " +
                   (c.result != 0 ? name_in(event_types, c.int_args[0]) : std::string("none"));
        case Fn::SDL_FreeSurface:
            return fn + "(" + surface_name(c.pointer) + ")";
        case Fn::SDL_GetError:
            return fn + "() -> \"" + c.text + "\"";
        case Fn::SDL_GetVideoInfo:
            return fn + "() -> " + n(0) + " bits per channel";
        case Fn::SDL_Linked_Version:
            return fn + "() -> 1.2." + n(0);
        case Fn::SDL_GL_SwapBuffers:
        case Fn::SDL_Quit:
        case Fn::glLoadIdentity:
        case Fn::glEnd:
            return fn + "()";
        case Fn::glClear:
            return fn + "(" + name_in(clear_bits, c.int_args[0]) + ")";
        case Fn::glMatrixMode:
            return fn + "(" + name_in(matrix_modes, c.int_args[0]) + ")";
        case Fn::glLoadMatrixf:
            // The pointer is the caller's temporary; only the values count.
            return fn + "(" + read() + ")";
        case Fn::glTranslatef:
            return fn + "(" + args({f(0), f(1), f(2)}) + ")";
        case Fn::glRotatef:
            return fn + "(" + args({f(0), f(1), f(2), f(3)}) + ")";
        case Fn::gluPerspective:
            return fn + "(" +
                   args({format_double(c.double_args[0]), format_double(c.double_args[1]),
                         format_double(c.double_args[2]), format_double(c.double_args[3])}) +
                   ")";
        case Fn::glColorPointer:
        case Fn::glVertexPointer:
            return fn + "(" +
                   args({n(0), name_in(data_types, c.int_args[1]), n(2), format_pointer(c.pointer)}) + ")";
        case Fn::glEnableClientState:
        case Fn::glDisableClientState:
            return fn + "(" + name_in(client_caps, c.int_args[0]) + ")";
        case Fn::glDrawElements: {
            std::string out = fn + "(" +
                              args({name_in(primitives, c.int_args[0]), n(1),
                                    name_in(data_types, c.int_args[2]), format_pointer(c.pointer)}) +
                              " -> [";
            const std::vector<GLuint> read_indices = indices(c.indices);
            for (std::size_t k = 0; k < read_indices.size(); ++k) {
                out += (k == 0 ? "" : ", ") + std::to_string(read_indices[k]);
            }
            out += "])";
            if (c.colours.size != 0) {
                out += " colours " + format_groups(floats(c.colours), read_indices.size());
            }
            if (c.positions.size != 0) {
                out += " positions " + format_groups(floats(c.positions), read_indices.size());
            }
            return out;
        }
        case Fn::glBegin:
            return fn + "(" + name_in(primitives, c.int_args[0]) + ")";
        case Fn::glColor3fv:
        case Fn::glVertex2fv:
            return fn + "(" + format_pointer(c.pointer) + " -> " + read() + ")";
        case Fn::note:
            return c.text;
    }
    return name(c.fn);
}

}  // namespace fakes

// ---------------------------------------------------------------- the fakes
// Same signatures as the declarations in <SDL.h>, <GL/gl.h> and <GL/glu.h>,
// which are in scope, so a mismatch does not compile.

using fakes::Fn;
using fakes::record;
using fakes::record_gl;
using fakes::record_sdl;
using fakes::state;

extern "C" {

int SDL_Init(Uint32 flags) {
    auto& s = state();
    fakes::Call& c = record(Fn::SDL_Init);
    c.int_args[0] = flags;
    c.result = s.script.init_result;
    // The driver SDL would pick now, for the tests of the shell's choice.
    if (const char* driver = std::getenv("SDL_VIDEODRIVER")) {
        c.driver_set = true;
        c.text = driver;
    }
    if (s.script.init_result >= 0) {
        s.sdl_started = true;
    }
    return s.script.init_result;
}

int SDL_GL_SetAttribute(SDL_GLattr attr, int value) {
    fakes::Call& c = record_sdl(Fn::SDL_GL_SetAttribute);
    c.int_args[0] = attr;
    c.int_args[1] = value;
    return 0;
}

SDL_Surface* SDL_SetVideoMode(int width, int height, int bpp, Uint32 flags) {
    auto& s = state();
    fakes::Call& c = record_sdl(Fn::SDL_SetVideoMode);
    c.int_args[0] = width;
    c.int_args[1] = height;
    c.int_args[2] = bpp;
    c.int_args[3] = flags;
    if (s.script.video_mode_fails || !s.sdl_started) {
        return nullptr;
    }
    SDL_Surface made;
    std::memset(&made, 0, sizeof made);
    made.flags = flags;
    made.w = width;
    made.h = height;
    s.surfaces.push_back(made);
    s.live.push_back(true);
    s.context = true;
    c.pointer = &s.surfaces.back();
    return &s.surfaces.back();
}

void SDL_WM_SetCaption(const char* title, const char* icon) {
    fakes::Call& c = record_sdl(Fn::SDL_WM_SetCaption);
    c.text = title != nullptr ? title : "<null>";
    c.icon_title = icon != nullptr ? icon : "<null>";
}

// Recorded only: the scripted queue stands for what SDL delivers, so the
// loop's own handling of every kind of event stays testable.
Uint8 SDL_EventState(Uint8 type, int state) {
    fakes::Call& c = record_sdl(Fn::SDL_EventState);
    c.int_args[0] = type;
    c.int_args[1] = state;
    return SDL_ENABLE;
}

int SDL_PollEvent(SDL_Event* event) {
    auto& s = state();
    fakes::Call& c = record_sdl(Fn::SDL_PollEvent);
    if (s.queue.empty()) {
        if (++s.idle_polls >= s.script.idle_poll_limit) {
            fakes::problem("safety stop: " + std::to_string(s.idle_polls) +
                           " polls of an empty queue, no swap");
            s.idle_polls = 0;
            throw std::runtime_error("loop polls an empty queue without presenting frames");
        }
        return 0;
    }
    c.pointer = event;
    c.result = 1;
    c.int_args[0] = s.queue.front().type;
    // A null event only asks whether one is pending.
    if (event != nullptr) {
        *event = s.queue.front();
        s.queue.pop_front();
    }
    return 1;
}

void SDL_GL_SwapBuffers(void) {
    auto& s = state();
    if (!s.context) {
        fakes::problem("SDL_GL_SwapBuffers without a GL context");
    }
    record(Fn::SDL_GL_SwapBuffers);
    ++s.swaps;
    s.idle_polls = 0;
    if (s.script.after_swap) {
        s.script.after_swap(s.swaps);
    }
    if (s.swaps == s.script.swap_limit) {
        fakes::problem("safety stop: " + std::to_string(s.swaps) + " swaps, SDL_QUIT queued");
        fakes::push_event(SDL_QUIT);
    }
    if (s.swaps >= 2 * s.script.swap_limit) {
        throw std::runtime_error("frame loop ignored SDL_QUIT after the safety stop");
    }
}

void SDL_FreeSurface(SDL_Surface* surface) {
    auto& s = state();
    fakes::Call& c = record(Fn::SDL_FreeSurface);
    c.pointer = surface;
    if (surface == nullptr) {
        return;
    }
    for (std::size_t n = 0; n < s.surfaces.size(); ++n) {
        if (&s.surfaces[n] == surface) {
            if (!s.live[n]) {
                fakes::problem("SDL_FreeSurface of surface#" + std::to_string(n + 1) +
                               ", already freed or released by SDL_Quit");
            }
            s.live[n] = false;
            return;
        }
    }
    fakes::problem("SDL_FreeSurface of a surface SDL never handed out");
}

void SDL_Quit(void) {
    auto& s = state();
    record(Fn::SDL_Quit);
    // SDL releases its video surface and the GL context with it.
    s.sdl_started = false;
    s.context = false;
    s.live.assign(s.live.size(), false);
}

const SDL_VideoInfo* SDL_GetVideoInfo(void) {
    auto& s = state();
    const int bits = s.script.screen_channel_bits;
    fakes::Call& c = record_sdl(Fn::SDL_GetVideoInfo);
    c.int_args[0] = bits;
    const Uint32 channel = (1u << bits) - 1;
    s.screen_format = SDL_PixelFormat{};
    s.screen_format.BitsPerPixel = 32;
    s.screen_format.Rmask = channel << (2 * bits);
    s.screen_format.Gmask = channel << bits;
    s.screen_format.Bmask = channel;
    s.video_info = SDL_VideoInfo{};
    s.video_info.vfmt = &s.screen_format;
    return &s.video_info;
}

const SDL_version* SDL_Linked_Version(void) {
    auto& s = state();
    fakes::Call& c = record(Fn::SDL_Linked_Version);
    c.int_args[0] = s.script.linked_patch;
    s.version = SDL_version{1, 2, s.script.linked_patch};
    return &s.version;
}

char* SDL_GetError(void) {
    auto& s = state();
    s.error_text = s.script.error;
    fakes::Call& c = record(Fn::SDL_GetError);
    c.text = s.error_text;
    return &s.error_text[0];
}

void glClear(GLbitfield mask) {
    fakes::Call& c = record_gl(Fn::glClear);
    c.int_args[0] = mask;
}

void glMatrixMode(GLenum mode) {
    fakes::Call& c = record_gl(Fn::glMatrixMode);
    c.int_args[0] = mode;
}

void glLoadMatrixf(const GLfloat* m) {
    fakes::Call& c = record_gl(Fn::glLoadMatrixf);
    c.pointer = m;
    if (m != nullptr) {
        c.read = fakes::keep_floats(m, 16);
    }
}

void glLoadIdentity(void) { record_gl(Fn::glLoadIdentity); }

void glTranslatef(GLfloat x, GLfloat y, GLfloat z) {
    fakes::Call& c = record_gl(Fn::glTranslatef);
    c.float_args[0] = x;
    c.float_args[1] = y;
    c.float_args[2] = z;
}

void glRotatef(GLfloat angle, GLfloat x, GLfloat y, GLfloat z) {
    fakes::Call& c = record_gl(Fn::glRotatef);
    c.float_args[0] = angle;
    c.float_args[1] = x;
    c.float_args[2] = y;
    c.float_args[3] = z;
}

void gluPerspective(GLdouble fovy, GLdouble aspect, GLdouble z_near, GLdouble z_far) {
    fakes::Call& c = record_gl(Fn::gluPerspective);
    c.double_args[0] = fovy;
    c.double_args[1] = aspect;
    c.double_args[2] = z_near;
    c.double_args[3] = z_far;
}

void glColorPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    fakes::Call& c = record_gl(Fn::glColorPointer);
    c.int_args[0] = size;
    c.int_args[1] = type;
    c.int_args[2] = stride;
    c.pointer = pointer;
    state().colour_array = {size, type, stride, pointer};
}

void glVertexPointer(GLint size, GLenum type, GLsizei stride, const GLvoid* pointer) {
    fakes::Call& c = record_gl(Fn::glVertexPointer);
    c.int_args[0] = size;
    c.int_args[1] = type;
    c.int_args[2] = stride;
    c.pointer = pointer;
    state().vertex_array = {size, type, stride, pointer};
}

namespace {
unsigned array_bit(GLenum cap) {
    return cap == GL_VERTEX_ARRAY  ? fakes::vertex_array_bit
           : cap == GL_COLOR_ARRAY ? fakes::colour_array_bit
                                   : 0u;
}
}  // namespace

void glEnableClientState(GLenum cap) {
    fakes::Call& c = record_gl(Fn::glEnableClientState);
    c.int_args[0] = cap;
    state().enabled_arrays |= array_bit(cap);
}

void glDisableClientState(GLenum cap) {
    fakes::Call& c = record_gl(Fn::glDisableClientState);
    c.int_args[0] = cap;
    state().enabled_arrays &= ~array_bit(cap);
}

void glDrawElements(GLenum mode, GLsizei count, GLenum type, const GLvoid* indices) {
    auto& s = state();
    fakes::Call& c = record_gl(Fn::glDrawElements);
    c.int_args[0] = mode;
    c.int_args[1] = count;
    c.int_args[2] = type;
    c.pointer = indices;
    if (indices == nullptr || count < 0 || (type != GL_UNSIGNED_SHORT && type != GL_UNSIGNED_INT)) {
        fakes::problem("glDrawElements with unusable indices");
        return;
    }
    // Read what OpenGL reads: each index, then every enabled array at it.
    const bool colours =
        (s.enabled_arrays & fakes::colour_array_bit) != 0 && fakes::readable(s.colour_array, "colour");
    const bool positions =
        (s.enabled_arrays & fakes::vertex_array_bit) != 0 && fakes::readable(s.vertex_array, "vertex");
    c.indices.begin = static_cast<std::uint32_t>(s.index_pool.size());
    for (GLsizei k = 0; k < count; ++k) {
        s.index_pool.push_back(fakes::read_index(type, indices, k));
    }
    c.indices.size = static_cast<std::uint32_t>(count);
    c.colours.begin = static_cast<std::uint32_t>(s.float_pool.size());
    for (GLsizei k = 0; colours && k < count; ++k) {
        const float* v = fakes::element(s.colour_array, s.index_pool[c.indices.begin + k]);
        s.float_pool.insert(s.float_pool.end(), v, v + s.colour_array.size);
    }
    c.colours.size = static_cast<std::uint32_t>(s.float_pool.size()) - c.colours.begin;
    c.positions.begin = static_cast<std::uint32_t>(s.float_pool.size());
    for (GLsizei k = 0; positions && k < count; ++k) {
        const float* v = fakes::element(s.vertex_array, s.index_pool[c.indices.begin + k]);
        s.float_pool.insert(s.float_pool.end(), v, v + s.vertex_array.size);
    }
    c.positions.size = static_cast<std::uint32_t>(s.float_pool.size()) - c.positions.begin;
}

void glBegin(GLenum mode) {
    auto& s = state();
    fakes::Call& c = record_gl(Fn::glBegin);
    c.int_args[0] = mode;
    s.in_primitive = true;
}

void glEnd(void) {
    auto& s = state();
    if (!s.in_primitive) {
        fakes::problem("glEnd without glBegin");
    }
    record_gl(Fn::glEnd);
    s.in_primitive = false;
}

void glColor3fv(const GLfloat* v) {
    fakes::Call& c = record_gl(Fn::glColor3fv);
    c.pointer = v;
    c.read = fakes::keep_floats(v, 3);
}

void glVertex2fv(const GLfloat* v) {
    fakes::Call& c = record_gl(Fn::glVertex2fv);
    c.pointer = v;
    c.read = fakes::keep_floats(v, 2);
}

}  // extern "C"
