// window_probe: what the X server knows about a demo's window, and the two
// things no packaged tool does without a window manager.
//
//   window_probe glx              exit 0 when the display has GLX with a
//                                 double-buffered RGBA visual
//   window_probe info WID         the window's titles, size, close protocol,
//                                 and the GLX properties of every window in
//                                 its tree (SDL may draw into a child)
//   window_probe close WID        send the window manager's close request
//   window_probe destroy WID      destroy the window, as another client may
//   window_probe shot WID FILE    raise the window and save what it shows as
//                                 a binary PPM, with the server grabbed so
//                                 that no other client's window can cover it
//   window_probe send WID ITEM... send events to the window in this order,
//                                 on one connection, so they arrive in order:
//                                   storm=N   N rounds of pointer motion, a
//                                             button press and release, focus
//                                             out and in, an expose, and a
//                                             resize (real, by XResizeWindow)
//                                   key=K     press and release key K (a
//                                             keysym name) with XTest;
//                                             key=K+L holds K while L is
//                                             pressed: two keys at once
//                                   close     the window manager's close request
//
// Every error is one line on stderr and exit status 1.
#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

[[noreturn]] void fail(const char* what) {
    std::fprintf(stderr, "window_probe: %s\n", what);
    std::exit(1);
}

int on_x_error(Display* display, XErrorEvent* event) {
    char text[256];
    XGetErrorText(display, event->error_code, text, sizeof text);
    std::fprintf(stderr, "window_probe: X error: %s\n", text);
    std::exit(1);
}

Display* open_display() {
    Display* display = XOpenDisplay(nullptr);
    if (display == nullptr) {
        fail("cannot open the display named by DISPLAY");
    }
    XSetErrorHandler(on_x_error);
    return display;
}

Window parse_window(const char* text) {
    char* end = nullptr;
    const unsigned long id = std::strtoul(text, &end, 0);
    if (end == text || *end != '\0' || id == 0) {
        fail("not a window id");
    }
    return static_cast<Window>(id);
}

// The raw bytes of a text property: the demos' caption is plain ASCII, and
// comparing bytes rather than a locale's conversion shows exactly what was set.
std::string text_property(Display* display, Window window, Atom property) {
    XTextProperty value{};
    if (XGetTextProperty(display, window, &value, property) == 0 || value.value == nullptr) {
        return "<none>";
    }
    std::string text(reinterpret_cast<const char*>(value.value), value.nitems);
    XFree(value.value);
    return text;
}

struct GlxVisual {
    bool gl = false, rgba = false, double_buffered = false;
};

GlxVisual glx_properties(Display* display, VisualID id) {
    XVisualInfo wanted{};
    wanted.visualid = id;
    int count = 0;
    XVisualInfo* info = XGetVisualInfo(display, VisualIDMask, &wanted, &count);
    GlxVisual result;
    if (info == nullptr) {
        return result;
    }
    int value = 0;
    result.gl = glXGetConfig(display, info, GLX_USE_GL, &value) == 0 && value != 0;
    result.rgba = result.gl && glXGetConfig(display, info, GLX_RGBA, &value) == 0 && value != 0;
    result.double_buffered =
        result.gl && glXGetConfig(display, info, GLX_DOUBLEBUFFER, &value) == 0 && value != 0;
    XFree(info);
    return result;
}

void print_tree(Display* display, Window window, int depth) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    const GlxVisual glx = glx_properties(display, XVisualIDFromVisual(attributes.visual));
    std::printf("drawable depth=%d id=0x%lx size=%dx%d mapped=%d visual=0x%lx gl=%d rgba=%d double=%d\n",
                depth, window, attributes.width, attributes.height,
                attributes.map_state == IsViewable ? 1 : 0, XVisualIDFromVisual(attributes.visual),
                glx.gl ? 1 : 0, glx.rgba ? 1 : 0, glx.double_buffered ? 1 : 0);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            print_tree(display, children[i], depth + 1);
        }
        XFree(children);
    }
}

int glx(Display* display) {
    int error_base = 0, event_base = 0;
    if (glXQueryExtension(display, &error_base, &event_base) == False) {
        fail("the display has no GLX extension");
    }
    int attributes[] = {GLX_RGBA, GLX_DOUBLEBUFFER, GLX_RED_SIZE, 8, GLX_GREEN_SIZE, 8, GLX_BLUE_SIZE, 8,
                        None};
    XVisualInfo* visual = glXChooseVisual(display, DefaultScreen(display), attributes);
    if (visual == nullptr) {
        fail("GLX offers no double-buffered RGBA visual with 8 bits per channel");
    }
    XFree(visual);
    std::printf("glx ok\n");
    return 0;
}

int info(Display* display, Window window) {
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    std::printf("name=%s\n", text_property(display, window, XA_WM_NAME).c_str());
    std::printf("icon_name=%s\n", text_property(display, window, XA_WM_ICON_NAME).c_str());
    std::printf("size=%dx%d\n", attributes.width, attributes.height);
    Atom* protocols = nullptr;
    int count = 0;
    bool deletable = false;
    const Atom delete_window = XInternAtom(display, "WM_DELETE_WINDOW", False);
    if (XGetWMProtocols(display, window, &protocols, &count) != 0) {
        for (int i = 0; i < count; ++i) {
            deletable = deletable || protocols[i] == delete_window;
        }
        XFree(protocols);
    }
    std::printf("delete_protocol=%d\n", deletable ? 1 : 0);
    print_tree(display, window, 0);
    return 0;
}

// What a window manager sends when the user closes a window (ICCCM 4.2.8.1).
void send_close(Display* display, Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
    event.xclient.data.l[1] = CurrentTime;
    XSendEvent(display, window, False, NoEventMask, &event);
}

int close(Display* display, Window window) {
    send_close(display, window);
    XSync(display, False);
    return 0;
}

int destroy(Display* display, Window window) {
    XDestroyWindow(display, window);
    XSync(display, False);
    return 0;
}

void collect_tree(Display* display, Window window, std::vector<Window>& windows) {
    windows.push_back(window);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) != 0) {
        for (unsigned i = 0; i < count; ++i) {
            collect_tree(display, children[i], windows);
        }
        XFree(children);
    }
}

// Synthetic events go to every window of the tree, with no event mask, which
// delivers them to the client that made the window: SDL may draw into a
// child and listen on either.
void send_storm(Display* display, Window window, int rounds) {
    std::vector<Window> windows;
    collect_tree(display, window, windows);
    XWindowAttributes attributes{};
    XGetWindowAttributes(display, window, &attributes);
    const Window root = DefaultRootWindow(display);
    for (int round = 0; round < rounds; ++round) {
        const int x = 20 + (round * 37) % 600, y = 20 + (round * 53) % 440;
        for (Window target : windows) {
            XEvent event{};
            event.xmotion.type = MotionNotify;
            event.xmotion.window = target;
            event.xmotion.root = root;
            event.xmotion.x = x;
            event.xmotion.y = y;
            event.xmotion.same_screen = True;
            XSendEvent(display, target, False, NoEventMask, &event);
            for (int type : {ButtonPress, ButtonRelease}) {
                XEvent button{};
                button.xbutton.type = type;
                button.xbutton.window = target;
                button.xbutton.root = root;
                button.xbutton.x = x;
                button.xbutton.y = y;
                button.xbutton.button = Button1 + static_cast<unsigned>(round % 5);
                button.xbutton.same_screen = True;
                XSendEvent(display, target, False, NoEventMask, &button);
            }
            for (int type : {FocusOut, FocusIn}) {
                XEvent focus{};
                focus.xfocus.type = type;
                focus.xfocus.window = target;
                focus.xfocus.mode = NotifyNormal;
                focus.xfocus.detail = NotifyNonlinear;
                XSendEvent(display, target, False, NoEventMask, &focus);
            }
            XEvent expose{};
            expose.xexpose.type = Expose;
            expose.xexpose.window = target;
            expose.xexpose.width = attributes.width;
            expose.xexpose.height = attributes.height;
            XSendEvent(display, target, False, NoEventMask, &expose);
        }
        // A real resize: the server sends ConfigureNotify and Expose.
        XResizeWindow(display, window, static_cast<unsigned>(attributes.width - 1 - round % 64),
                      static_cast<unsigned>(attributes.height - 1 - round % 48));
    }
    XResizeWindow(display, window, static_cast<unsigned>(attributes.width),
                  static_cast<unsigned>(attributes.height));
}

void send_keys(Display* display, Window window, const std::string& names) {
    std::vector<KeyCode> codes;
    for (size_t start = 0; start <= names.size();) {
        const size_t end = std::min(names.find('+', start), names.size());
        const std::string name = names.substr(start, end - start);
        const KeySym symbol = XStringToKeysym(name.c_str());
        const KeyCode code = symbol == NoSymbol ? 0 : XKeysymToKeycode(display, symbol);
        if (code == 0) {
            fail(("no key called " + name).c_str());
        }
        codes.push_back(code);
        start = end + 1;
    }
    // Without a window manager a key goes to the focused window only.
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    for (KeyCode code : codes) {
        XTestFakeKeyEvent(display, code, True, CurrentTime);
    }
    for (auto code = codes.rbegin(); code != codes.rend(); ++code) {
        XTestFakeKeyEvent(display, *code, False, CurrentTime);
    }
}

int send(Display* display, Window window, char** items, int count) {
    int event_base = 0, error_base = 0, major = 0, minor = 0;
    for (int i = 0; i < count; ++i) {
        const std::string item = items[i];
        if (item.rfind("storm=", 0) == 0) {
            char* end = nullptr;
            const long rounds = std::strtol(item.c_str() + 6, &end, 10);
            if (*end != '\0' || rounds <= 0 || rounds > 100000) {
                fail("storm=N takes a positive number of rounds");
            }
            send_storm(display, window, static_cast<int>(rounds));
        } else if (item.rfind("key=", 0) == 0) {
            if (XTestQueryExtension(display, &event_base, &error_base, &major, &minor) == False) {
                fail("the display has no XTEST extension");
            }
            send_keys(display, window, item.substr(4));
        } else if (item == "close") {
            send_close(display, window);
        } else {
            fail(("unknown item " + item).c_str());
        }
    }
    XSync(display, False);
    return 0;
}

bool overlaps(const XWindowAttributes& a, const XWindowAttributes& b) {
    return a.x < b.x + b.width && b.x < a.x + a.width && a.y < b.y + b.height && b.y < a.y + a.height;
}

// Whether the window is mapped and no window above it overlaps it; else
// `cover` names the window above it.
bool uncovered(Display* display, Window window, XWindowAttributes& target, std::string& cover) {
    XGetWindowAttributes(display, window, &target);
    Window root = 0, parent = 0, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count);
    bool above = false, covered = false;
    for (unsigned i = 0; i < count; ++i) {  // bottom to top
        if (children[i] == window) {
            above = true;
            continue;
        }
        XWindowAttributes other{};
        XGetWindowAttributes(display, children[i], &other);
        if (!covered && above && other.map_state == IsViewable && overlaps(target, other)) {
            covered = true;
            char text[96];
            std::snprintf(text, sizeof text, "0x%lx (%dx%d at %d,%d)", children[i], other.width, other.height,
                          other.x, other.y);
            cover = text;
        }
    }
    XFree(children);
    return above && !covered && target.map_state == IsViewable;
}

// The child of the root that holds the window: the window itself, or the
// frame a window manager has put around it.
Window top_level(Display* display, Window window) {
    for (;;) {
        Window root = 0, parent = 0, *children = nullptr;
        unsigned count = 0;
        if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
            return window;
        }
        if (children != nullptr) {
            XFree(children);
        }
        if (parent == root || parent == 0) {
            return window;
        }
        window = parent;
    }
}

int shot(Display* display, Window window, const char* path) {
    // Raised, the window shows nothing until its program draws again (there
    // is no backing store); so raise, let it draw, then read it with the
    // server grabbed, after checking that no other client's window has been
    // mapped over it meanwhile.
    const Window frame = top_level(display, window);
    XWindowAttributes stacked{};
    std::string cover = "none";
    bool ready = false;
    for (int attempt = 0; attempt < 20 && !ready; ++attempt) {
        XRaiseWindow(display, frame);
        XSync(display, False);
        usleep(200 * 1000);
        XGrabServer(display);
        ready = uncovered(display, frame, stacked, cover);
        if (!ready) {
            XUngrabServer(display);
        }
    }
    if (!ready) {
        fail(("the window stays covered, last by window " + cover).c_str());
    }
    XWindowAttributes target{};
    XGetWindowAttributes(display, window, &target);
    XImage* image = XGetImage(display, window, 0, 0, static_cast<unsigned>(target.width),
                              static_cast<unsigned>(target.height), AllPlanes, ZPixmap);
    XUngrabServer(display);
    XSync(display, False);
    if (image == nullptr) {
        fail("cannot read the window's pixels");
    }
    FILE* file = std::fopen(path, "wb");
    if (file == nullptr) {
        fail("cannot write the picture");
    }
    std::fprintf(file, "P6\n%d %d\n255\n", image->width, image->height);
    std::vector<unsigned char> row(static_cast<size_t>(image->width) * 3);
    for (int y = 0; y < image->height; ++y) {
        for (int x = 0; x < image->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            const size_t at = static_cast<size_t>(x) * 3;
            row[at] =
                static_cast<unsigned char>((pixel & image->red_mask) >> __builtin_ctzl(image->red_mask));
            row[at + 1] =
                static_cast<unsigned char>((pixel & image->green_mask) >> __builtin_ctzl(image->green_mask));
            row[at + 2] =
                static_cast<unsigned char>((pixel & image->blue_mask) >> __builtin_ctzl(image->blue_mask));
        }
        std::fwrite(row.data(), 1, row.size(), file);
    }
    XDestroyImage(image);
    return std::fclose(file) == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    const bool known = (command == "glx" && argc == 2) ||
                       ((command == "info" || command == "close" || command == "destroy") && argc == 3) ||
                       (command == "shot" && argc == 4) || (command == "send" && argc >= 4);
    if (!known) {
        fail("usage: window_probe glx | info|close|destroy WID | shot WID FILE | send WID ITEM...");
    }
    Display* display = open_display();
    int status = 0;
    if (command == "glx") {
        status = glx(display);
    } else if (command == "info") {
        status = info(display, parse_window(argv[2]));
    } else if (command == "close") {
        status = close(display, parse_window(argv[2]));
    } else if (command == "destroy") {
        status = destroy(display, parse_window(argv[2]));
    } else if (command == "send") {
        status = send(display, parse_window(argv[2]), argv + 3, argc - 3);
    } else {
        status = shot(display, parse_window(argv[2]), argv[3]);
    }
    XCloseDisplay(display);
    return status;
}
