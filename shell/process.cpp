// A demo as a process: its name in messages, and, natively, its standard
// descriptors, stop signals and fatal X errors. A build without signals,
// descriptors or X (the web) keeps only the name.
#include "shell/shell.hpp"

#include <cstdio>
#include <cstring>

#if !defined(__EMSCRIPTEN__)
#include <X11/Xlib.h>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <initializer_list>
#endif

namespace {

constexpr char unnamed[] = "quad demo";

// The length of the well-formed UTF-8 character at text (at most `left`
// bytes), or 0 where none starts: a stray continuation byte, a lead byte
// without its continuations, an overlong form, a surrogate or a code point
// past U+10FFFF. Sets *code to the character's code point.
std::size_t utf8_character(const unsigned char* text, std::size_t left, unsigned* code) {
    const unsigned c = text[0];
    std::size_t length = 0;
    unsigned lowest = 0;
    if (c < 0x80) {
        *code = c;
        return 1;
    }
    if (c >= 0xc2 && c <= 0xdf) {
        length = 2;
        lowest = 0x80;
        *code = c & 0x1fu;
    } else if (c >= 0xe0 && c <= 0xef) {
        length = 3;
        lowest = 0x800;
        *code = c & 0x0fu;
    } else if (c >= 0xf0 && c <= 0xf4) {
        length = 4;
        lowest = 0x10000;
        *code = c & 0x07u;
    } else {
        return 0;
    }
    if (length > left) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((text[k] & 0xc0u) != 0x80u) {
            return 0;
        }
        *code = (*code << 6u) | (text[k] & 0x3fu);
    }
    const bool surrogate = *code >= 0xd800 && *code <= 0xdfff;
    return *code < lowest || surrogate || *code > 0x10ffff ? 0 : length;
}

// How the character at text (at most `left` bytes) reads in a message, and
// how many bytes it takes. Control characters, C0 and DEL as well as C1
// (U+0080..U+009F, on which a terminal may act as on the C0 ones), and bytes
// that are no UTF-8 read as \xHH per byte; every other character passes
// whole, so that a message cut between pieces never splits one.
std::size_t escape(const char* text, std::size_t left, char piece[12]) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    unsigned code = 0;
    const std::size_t length = utf8_character(bytes, left, &code);
    if (length == 0) {
        std::snprintf(piece, 12, "\\x%02x", bytes[0]);
        return 1;
    }
    if (code == '\\' || code == '\n' || code == '\t' || code == '\r') {
        piece[0] = '\\';
        piece[1] = code == '\\' ? '\\' : code == '\n' ? 'n' : code == '\t' ? 't' : 'r';
        piece[2] = '\0';
    } else if (code < 0x20 || code == 0x7f) {
        std::snprintf(piece, 12, "\\x%02x", code);
    } else if (code >= 0x80 && code <= 0x9f) {
        std::snprintf(piece, 12, "\\x%02x\\x%02x", bytes[0], bytes[1]);
    } else {
        std::memcpy(piece, text, length);
        piece[length] = '\0';
    }
    return length;
}

}  // namespace

void format_program_name(const char* argv0, char* out, std::size_t size) {
    // The last element that is not empty: "bin/demo/" names "demo".
    const char* name = unnamed;
    std::size_t length = sizeof unnamed - 1;
    for (const char* p = argv0 != nullptr ? argv0 : ""; *p != '\0';) {
        p += std::strspn(p, "/");
        const std::size_t element = std::strcspn(p, "/");
        if (element > 0) {
            name = p;
            length = element;
        }
        p += element;
    }
    std::size_t used = 0;
    for (std::size_t k = 0; k < length;) {
        char piece[12];
        const std::size_t taken = escape(name + k, length - k, piece);
        const std::size_t piece_length = std::strlen(piece);
        if (used + piece_length >= size) {
            break;
        }
        std::memcpy(out + used, piece, piece_length);
        used += piece_length;
        k += taken;
    }
    out[used] = '\0';
}

#if !defined(__EMSCRIPTEN__)

bool reopen_closed_standard_streams(const char* program_name) {
    for (int descriptor = 0; descriptor <= 2; ++descriptor) {
        if (fcntl(descriptor, F_GETFD) != -1 || errno != EBADF) {
            continue;
        }
        // open() takes the lowest free descriptor: this one, as those below are open.
        const int opened = open("/dev/null", O_RDWR);
        if (opened != descriptor) {
            if (opened >= 0) {
                close(opened);
            }
            std::fprintf(stderr, "%s: descriptor %d is closed and /dev/null cannot be opened in its place\n",
                         program_name, descriptor);
            return false;
        }
    }
    return true;
}

namespace {

volatile std::sig_atomic_t loop_started = 0;
volatile std::sig_atomic_t stop_signal_taken = 0;
sigset_t mask_before_hold;

void on_stop_signal(int /*number*/) {
    // Still starting: a library may be waiting for the X server in a call
    // that resumes after this handler, and nothing is drawn yet. End now,
    // as asked, without a message.
    if (loop_started == 0) {
        _exit(0);
    }
    stop_signal_taken = 1;
}

sigset_t stop_signals() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGINT);
    sigaddset(&set, SIGTERM);
    return set;
}

void take(int number) {
    struct sigaction action = {};
    action.sa_handler = on_stop_signal;
    sigemptyset(&action.sa_mask);
    // Restarted calls keep SDL and X undisturbed; the second signal is not
    // caught, so a program stuck after the first still ends.
    action.sa_flags = SA_RESTART | SA_RESETHAND;
    sigaction(number, &action, nullptr);
}

bool taken_by_us(int number) {
    struct sigaction current = {};
    return sigaction(number, nullptr, &current) == 0 && current.sa_handler == on_stop_signal;
}

}  // namespace

void watch_stop_signals() {
    for (const int number : {SIGINT, SIGTERM}) {
        struct sigaction current = {};
        if (sigaction(number, nullptr, &current) == 0 && current.sa_handler != SIG_IGN) {
            take(number);
        }
    }
}

void frame_loop_started() { loop_started = 1; }

bool stop_requested() { return stop_signal_taken != 0; }

void hold_stop_signals() {
    const sigset_t set = stop_signals();
    sigprocmask(SIG_BLOCK, &set, &mask_before_hold);
}

void retake_stop_signals() {
    // The classic SDL 1.2 puts our handler back with signal(), which drops
    // its flags.
    for (const int number : {SIGINT, SIGTERM}) {
        if (taken_by_us(number)) {
            take(number);
        }
    }
}

void release_stop_signals() {
    retake_stop_signals();
    sigprocmask(SIG_SETMASK, &mask_before_hold, nullptr);
}

namespace {

const char* x_program_name = unnamed;
using ErrorTextFunction = int (*)(Display*, int, char*, int);
ErrorTextFunction x_error_text = nullptr;

// The X library's own handlers print several lines and exit(1). These print
// the program's line and end the same way, without the exit handlers: the
// process stops in the middle of SDL's or the driver's work, and nothing of
// ours needs flushing but stderr, which is unbuffered.
int on_x_error(Display* display, XErrorEvent* event) {
    char text[128] = "unknown error";
    if (x_error_text != nullptr) {
        x_error_text(display, event->error_code, text, sizeof text);
    }
    std::fprintf(stderr, "%s: the X server refused a request (%s; request %d.%d), cannot go on\n",
                 x_program_name, text, event->request_code, event->minor_code);
    std::_Exit(1);
}

int on_x_io_error(Display* /*display*/) {
    std::fprintf(stderr, "%s: lost the connection to the X server\n", x_program_name);
    std::_Exit(1);
}

}  // namespace

void report_fatal_x_errors(const char* program_name) {
    // Set before SDL starts: the classic SDL 1.2 and SDL 2 each put in a
    // handler of their own that passes every error they do not expect on to
    // the one they found, this one. Looked up rather than linked, since SDL
    // loads the X library itself; without it there is nothing to report.
    void* x11 = dlopen("libX11.so.6", RTLD_LAZY);
    if (x11 == nullptr) {
        return;
    }
    using SetErrorHandler = XErrorHandler (*)(XErrorHandler);
    using SetIOErrorHandler = XIOErrorHandler (*)(XIOErrorHandler);
    const auto set_error = reinterpret_cast<SetErrorHandler>(dlsym(x11, "XSetErrorHandler"));
    const auto set_io_error = reinterpret_cast<SetIOErrorHandler>(dlsym(x11, "XSetIOErrorHandler"));
    x_error_text = reinterpret_cast<ErrorTextFunction>(dlsym(x11, "XGetErrorText"));
    x_program_name = program_name;
    if (set_error != nullptr) {
        set_error(on_x_error);
    }
    if (set_io_error != nullptr) {
        set_io_error(on_x_io_error);
    }
}

#else

bool reopen_closed_standard_streams(const char* /*program_name*/) { return true; }
void watch_stop_signals() {}
void frame_loop_started() {}
bool stop_requested() { return false; }
void retake_stop_signals() {}
void hold_stop_signals() {}
void release_stop_signals() {}
void report_fatal_x_errors(const char* /*program_name*/) {}

#endif
