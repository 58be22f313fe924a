#!/usr/bin/env python3
"""The demos end to end on a real X server with Mesa.

  display_checks.py --state FILE --probe WINDOW_PROBE --capture LIBRARY
                    --artifacts DIR CHECK PROGRAM...

CHECK is one of
  window      titles, inner size and GLX visual of the window
  ending      the close request, SIGINT and SIGTERM each end it with status 0
  keys        a key ends it, also after a stream of pointer motion
  no-display  one stderr line and status 1 without a usable display
  picture     chosen frames checked from their clock value and the
              program's constants (--rate, --scale); a live screenshot
              from outside matches them
  storms      queued storms of events, two keys at once, a close request
              with a key: exactly one more frame after the first stopping
              event taken from the queue, then status 0
  hostile     one program against a table of hostile starts: stop signals
              at any moment, closed standard descriptors, SIGQUIT and
              SIGSEGV, a 30-bit screen, an X error, odd argv[0]
  soak        200,000 frames or 3 minutes: memory and frame rate stay steady
  valgrind    300 frames under memcheck: no error of the project's own code
  gtest       run PROGRAM (a test executable) on the display
PROGRAM is the path of a demo and, for gtest, its arguments.

In a sanitizer build (ORMATH_SANITIZER_BUILD=1) every program started here
runs with leak detection on, the suppressions of --lsan-suppressions and
Mesa's driver (--driver) preloaded after the ASan runtime: the driver is
unloaded at exit, and leaks in an unloaded library cannot be attributed.

The display comes from the file the Xvfb fixture writes. Exit status 77
means skipped: no display with GLX, outside CI.
"""
import argparse
import array
import ctypes
import math
import os
import re
import resource
import shutil
import socket
import statistics
import signal
import struct
import subprocess
import sys
import tempfile
import time
import xml.etree.ElementTree as ElementTree

import numpy as np

CAPTION = "Ormath core and Ormath extensions for intermediate mode"
WIDTH, HEIGHT = 640, 480
SKIP = 77
SANITIZED = os.environ.get("ORMATH_SANITIZER_BUILD") == "1"
# A key, close request or signal takes one more frame and SDL's shutdown: on
# an idle machine within this, where a program that missed its stop would
# run on until killed; instrumented builds start and stop several times
# slower. The bound each check applies is this times the machine's
# contention, measured in the same run (end_bound below).
QUIET_END_BOUND = 10.0 if SANITIZED else 2.0


def contention():
    """How many runnable tasks share each core now: the one-minute load
    average over the cores, at least 1. The kernel's own measure of the run
    queue, taken at the time of the check; it needs no figure from a quiet
    machine. A short loop's wall time over its CPU time would not do: the
    scheduler favours a task that has just slept, so that ratio stays near
    1 on a loaded machine."""
    try:
        load = os.getloadavg()[0]
    except OSError:
        return 1.0
    return max(1.0, load / (os.cpu_count() or 1))


_CONTENTION = []


def scaled(quiet_seconds):
    """A bound that holds on an idle machine, scaled by the contention
    measured once in this run: at load 10 on two cores each step takes up to
    five times longer, which is not the hang or stall a bound is there to
    catch."""
    if not _CONTENTION:
        _CONTENTION.append(contention())
    return quiet_seconds * _CONTENTION[0]


def end_bound():
    """How long a program may take to end after a key, close request or
    signal: past it, the program missed its stop."""
    return scaled(QUIET_END_BOUND)


# How long a program may take from its start to a visible window, its first
# frames or its signal handlers, on an idle machine: past it, the program
# stalled at start (a blocked X connection, a lost expose). The sanitizer
# build starts several times slower.
QUIET_START_BOUND = 60.0 if SANITIZED else 20.0


def start_bound():
    return scaled(QUIET_START_BOUND)


class CheckFailed(Exception):
    pass


class KnownLimitation(Exception):
    """Something the SDL library in use cannot do: reported as skipped, not passed."""


def expect(condition, message):
    if not condition:
        raise CheckFailed(message)


# ------------------------------------------------------------------ display

def display_from(state_path):
    state = {}
    try:
        with open(state_path) as f:
            state = dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    except OSError:
        pass
    if "display" in state and "unavailable" not in state:
        return state["display"]
    reason = state.get("unavailable", f"no display recorded in {state_path}")
    if os.environ.get("CI") == "true":
        print(f"FAIL: no X server with GLX under CI: {reason}")
        sys.exit(1)
    print(f"SKIP: no X server with GLX: {reason}")
    sys.exit(SKIP)


def unused_display():
    """A display number with no server: no lock, no socket, no abstract socket."""
    try:
        with open("/proc/net/unix") as f:
            sockets = f.read()
    except OSError:
        sockets = ""
    for n in range(1900, 2900):
        if (not os.path.exists(f"/tmp/.X{n}-lock") and not os.path.exists(f"/tmp/.X11-unix/X{n}")
                and f"/tmp/.X11-unix/X{n}\n" not in sockets):
            return f":{n}"
    raise CheckFailed("no unused display number found")


def base_environment():
    env = dict(os.environ)
    # A driver named by the caller would be respected and change what is tested.
    for name in ("DISPLAY", "SDL_VIDEODRIVER", "WAYLAND_DISPLAY", "LD_PRELOAD"):
        env.pop(name, None)
    # The SDL 1.2 layer over SDL 2 draws into a private framebuffer object
    # unless told not to; the classic library ignores this.
    env["SDL12COMPAT_OPENGL_SCALING"] = "0"
    return env


# Set from the command line: in a sanitizer build, Mesa's driver to preload
# and the leak suppressions for third-party libraries.
SANITIZER_SETTINGS = {"driver": None, "suppressions": None}


def option_list(*items):
    return ":".join(filter(None, items))


def sanitizer_environment(env):
    """Leak detection on, with the suppressions for third-party libraries."""
    if SANITIZED and SANITIZER_SETTINGS["suppressions"]:
        # Without the table of suppressions used that LSan prints at exit:
        # the programs' stderr is checked line by line. The path is quoted,
        # as the sanitizers split their options at spaces.
        env["LSAN_OPTIONS"] = option_list(env.get("LSAN_OPTIONS"),
                                          f"suppressions=\"{SANITIZER_SETTINGS['suppressions']}\"",
                                          "print_suppressions=0")
        env["ASAN_OPTIONS"] = option_list(env.get("ASAN_OPTIONS"), "detect_leaks=1")
    return env


def tool_environment(display):
    """For the tools that drive a demo and for test executables."""
    env = sanitizer_environment(base_environment())
    env["DISPLAY"] = display
    return env


def preload_settings(libraries):
    """LD_PRELOAD, in this order, for LIBRARIES (empty when there are none).
    The loader splits LD_PRELOAD at spaces and takes no quotes: a library
    whose path holds white space is preloaded by its bare file name, found
    through its folder, which goes last in LD_LIBRARY_PATH (split at colons
    and semicolons only)."""
    names, folders = [], []
    for library in libraries:
        if any(c.isspace() for c in library):
            names.append(os.path.basename(library))
            folders.append(os.path.dirname(library))
        else:
            names.append(library)
    settings = {"LD_PRELOAD": " ".join(names)} if names else {}
    if folders:
        settings["LD_LIBRARY_PATH"] = ":".join(filter(None, [os.environ.get("LD_LIBRARY_PATH")] + folders))
    return settings


def preload(program, *libraries):
    """The preload settings for a program: ASan's runtime must come first,
    and Mesa's driver stays loaded to the end so that its leaks carry its name."""
    result = subprocess.run(["ldd", program], capture_output=True, text=True, timeout=scaled(10.0))
    runtimes = [line.split("=>")[1].split()[0] for line in result.stdout.splitlines()
                if "libasan.so" in line and "=>" in line]
    driver = [SANITIZER_SETTINGS["driver"]] if runtimes and SANITIZER_SETTINGS["driver"] else []
    return preload_settings(runtimes + driver + list(libraries))


class Demo:
    """A running demo on the display, ended and reaped whatever happens."""

    def __init__(self, program, display, workdir, extra_env=None, wrapper=(), closed=(), argv0=None):
        self.program = program
        # The tools that drive it see the display but not its preloads.
        self.env = tool_environment(display)
        env = sanitizer_environment(base_environment())
        env["DISPLAY"] = display
        env.update(preload(program))
        env.update(extra_env or {})
        self.stdout = open(os.path.join(workdir, "stdout"), "w+")
        # Bytes that are no UTF-8 read as U+FFFD, which no expected line holds.
        self.stderr = open(os.path.join(workdir, "stderr"), "w+", errors="replace")
        def prepare():
            # A shell that runs this in the background ignores SIGINT and
            # SIGQUIT, and the programs leave an ignored signal ignored: start
            # from the defaults a user's terminal gives. No core files.
            for number in (signal.SIGINT, signal.SIGQUIT):
                signal.signal(number, signal.SIG_DFL)
            resource.setrlimit(resource.RLIMIT_CORE, (0, 0))
            for descriptor in closed:
                os.close(descriptor)

        command = list(wrapper) + [program if argv0 is None else argv0]
        self.process = subprocess.Popen(command, executable=None if argv0 is None else program, env=env,
                                        cwd=workdir, stdin=subprocess.DEVNULL, stdout=self.stdout,
                                        stderr=self.stderr, preexec_fn=prepare)
        self.window = None
        self.helpers = []

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        for process in [self.process] + self.helpers:
            if process.poll() is None:
                process.kill()
            process.wait()
        self.stdout.close()
        self.stderr.close()

    def find_window(self):
        """The window by the program's process id: a name could match a stale window."""
        deadline = time.monotonic() + start_bound()
        while True:
            expect(self.running(), f"{self.name()} ended before its window showed: status "
                                   f"{self.process.returncode}, stderr: {self.errors()!r}")
            remaining = deadline - time.monotonic()
            expect(remaining > 0, f"no visible window of {self.name()} in time")
            try:
                result = subprocess.run(
                    ["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(self.process.pid)],
                    env=self.env, capture_output=True, text=True, timeout=remaining)
            except subprocess.TimeoutExpired:
                continue
            ids = result.stdout.split()
            if ids:
                self.window = ids[0]
                return self.window
            # The search walks every window; one that another test's program
            # destroys meanwhile makes it fail. Look again.
            time.sleep(0.1)

    def helper(self, command):
        """A process beside the program, ended with it."""
        self.helpers.append(subprocess.Popen(command, env=self.env, stdout=subprocess.DEVNULL,
                                             stderr=subprocess.DEVNULL))
        return self.helpers[-1]

    def name(self):
        return os.path.basename(self.program)

    def errors(self):
        self.stderr.seek(0)
        return self.stderr.read()

    def running(self):
        return self.process.poll() is None

    def wait_end(self, what, since=None, bound=None):
        """Waits for the exit that `what`, done at time `since`, should cause:
        status 0 within bound."""
        start = time.monotonic() if since is None else since
        bound = end_bound() if bound is None else bound
        try:
            status = self.process.wait(timeout=max(0.0, start + bound - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise CheckFailed(f"{what}: {self.name()} still running {bound:.1f} s later (bound scaled by the "
                              f"machine's contention, {scaled(1.0):.1f})")
        elapsed = time.monotonic() - start
        expect(status == 0, f"{what}: {self.name()} ended with status {status}; stderr: {self.errors()!r}")
        self.stdout.seek(0)
        printed = self.stdout.read()
        expect(not printed, f"{what}: {self.name()} printed {printed[:200]!r}")
        return elapsed


def run_tool(args, env, timeout=None):
    """Runs one of the probe's commands, which takes a moment on an idle
    machine: past the start bound, it is stuck on the X server."""
    timeout = start_bound() if timeout is None else timeout
    env = dict(env, **preload(args[0]))  # the probe of a sanitizer build loads Mesa too
    try:
        result = subprocess.run(args, env=env, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise CheckFailed(f"{' '.join(args)} did not finish within {timeout:.1f} s")
    expect(result.returncode == 0, f"{' '.join(args)} failed: {result.stderr.strip()}")
    return result.stdout


# ------------------------------------------------------------------ window and input

def check_window(args, program, workdir):
    display = display_from(args.state)
    with Demo(program, display, workdir) as demo:
        wid = demo.find_window()
        # The window shows before the program sets its title: look again
        # until it has one.
        deadline = time.monotonic() + start_bound()
        while True:
            info = run_tool([args.probe, "info", wid], demo.env).splitlines()
            fields = dict(line.split("=", 1) for line in info if not line.startswith("drawable "))
            if fields.get("name") not in (None, "<none>") or time.monotonic() > deadline:
                break
            time.sleep(0.1)
        expect(fields.get("name") == CAPTION, f"window title is {fields.get('name')!r}")
        icon_title = fields.get("icon_name")
        limitation = None
        if icon_title != CAPTION:
            # The compatibility layer over SDL 2 (1.2.60) sets the window title
            # but no icon title; the classic library sets both.
            expect(sdl_flavour(demo.process.pid) == "compat" and icon_title in (None, "<none>"),
                   f"icon title is {icon_title!r}")
            limitation = "the SDL 1.2 compatibility layer sets no icon title (WM_ICON_NAME)"
        expect(fields.get("size") == f"{WIDTH}x{HEIGHT}", f"window size is {fields.get('size')}")
        # GL draws into the innermost window of the program's size.
        drawables = [dict(item.split("=", 1) for item in line.split()[1:])
                     for line in info if line.startswith("drawable ")]
        drawn = [d for d in drawables if d["size"] == f"{WIDTH}x{HEIGHT}"][-1]
        expect(drawn["gl"] == "1" and drawn["rgba"] == "1",
               f"window {drawn['id']} has no GLX RGBA visual: {drawn}")
        expect(drawn["double"] == "1", f"window {drawn['id']} is not double-buffered: {drawn}")
        expect(fields.get("delete_protocol") == "1", "the window does not take WM_DELETE_WINDOW")
        run_tool([args.probe, "close", wid], demo.env)
        demo.wait_end("close request")
    print(f"{os.path.basename(program)}: window {drawn['id']} {fields['size']}, visual {drawn['visual']} "
          "double-buffered, window title as expected")
    if limitation:
        raise KnownLimitation(limitation)


def sdl_flavour(pid):
    """'compat' when the process runs on the compatibility layer over SDL 2."""
    with open(f"/proc/{pid}/maps") as maps:
        return "compat" if "libSDL2" in maps.read() else "classic"


def settle(demo, log=None):
    """Lets the program reach its frame loop, and checks that it still runs.
    Events that come before the loop's first poll are drained unread at
    start, so a key sent earlier would be lost. With the swap log, two swaps
    show the loop running; without it, 0.3 s on an idle machine, scaled."""
    if log is not None:
        log.wait_for(demo, 2, start_bound())
    else:
        time.sleep(scaled(0.3))
    expect(demo.running(), f"{demo.name()} ended on its own: status {demo.process.returncode}")


def end_by_close(args, demo):
    run_tool([args.probe, "close", demo.window], demo.env)


def end_by_signal(number):
    return lambda args, demo: demo.process.send_signal(number)


def press_key(args, demo):
    # Without a window manager a key goes to the focused window only.
    run_tool(["xdotool", "windowfocus", "--sync", demo.window, "key", "--delay", "50", "space"], demo.env)


def key_after_motion(args, demo):
    # A steady stream of pointer motion over the window for about 3 s; it
    # goes on until the program has ended, or stops by itself once the
    # window is gone.
    moves = []
    for i in range(300):
        moves += ["mousemove", "--window", demo.window, str(40 + (i * 37) % 560), str(40 + (i * 53) % 400),
                  "sleep", "0.01"]
    stream = demo.helper(["xdotool"] + moves)
    time.sleep(1.0)
    expect(stream.poll() is None, "the motion stream ended too early to overlap the key press")
    expect(demo.running(), f"pointer motion ended {demo.name()}: status {demo.process.returncode}")
    start = time.monotonic()
    press_key(args, demo)
    return start


ENDINGS = {
    "ending": [
        ("close request", end_by_close),
        ("SIGINT", end_by_signal(signal.SIGINT)),
        ("SIGTERM", end_by_signal(signal.SIGTERM)),
    ],
    "keys": [
        ("key press", press_key),
        ("key press during pointer motion", key_after_motion),
    ],
}


def check_endings(args, program, workdir):
    display = display_from(args.state)
    failures = []
    for what, action in ENDINGS[args.check]:
        try:
            with Demo(program, display, workdir) as demo:
                demo.find_window()
                settle(demo)
                start = time.monotonic()
                start = action(args, demo) or start
                elapsed = demo.wait_end(what, start)
                print(f"{demo.name()}: {what} -> status 0 after {elapsed:.2f} s")
        except CheckFailed as failure:
            failures.append(str(failure))
    expect(not failures, "\n".join(failures))


def check_no_display(args, program, workdir):
    name = os.path.basename(program)
    cases = [
        ("DISPLAY at no server, TERM set", {"DISPLAY": unused_display(), "TERM": "xterm"}),
        ("DISPLAY at no server, no TERM", {"DISPLAY": unused_display()}),
        ("no DISPLAY, TERM set", {"TERM": "xterm"}),
        ("no DISPLAY, no TERM", {}),
    ]
    failures = []
    for what, settings in cases:
        env = sanitizer_environment(base_environment())
        env.pop("TERM", None)
        env.update(settings)
        run_dir = tempfile.mkdtemp(dir=workdir)
        start = time.monotonic()
        try:
            result = subprocess.run([program], env=env, cwd=run_dir, stdin=subprocess.DEVNULL,
                                    capture_output=True, timeout=end_bound())
        except subprocess.TimeoutExpired:
            failures.append(f"{what}: still running after {end_bound():.1f} s")
            continue
        elapsed = time.monotonic() - start
        stderr = result.stderr.decode(errors="replace")
        problems = []
        if result.returncode != 1:
            problems.append(f"status {result.returncode}, not 1")
        if result.stdout:
            problems.append(f"stdout not empty: {result.stdout[:80]!r}")
        if stderr.count("\n") != 1 or not stderr.endswith("\n") or not stderr.startswith(name + ":"):
            problems.append(f"stderr is not one line naming {name}: {stderr!r}")
        if any(entry.startswith("core") for entry in os.listdir(run_dir)):
            problems.append("left a core dump")
        if problems:
            failures.append(f"{what}: " + "; ".join(problems))
        else:
            print(f"{name}: {what} -> status 1 after {elapsed:.2f} s: {stderr.strip()}")
    expect(not failures, "\n".join(failures))


# ------------------------------------------------------------------ the picture

POSITIONS = np.array([(-1, -1), (1, -1), (1, 1), (-1, 1)], dtype=float)
RED, YELLOW, GREEN, BLUE = (1, 0, 0), (1, 1, 0), (0, 1, 0), (0, 0, 1)
PALETTE_A = np.array([BLUE, RED, YELLOW, GREEN], dtype=float)
PALETTE_B = np.array([RED, YELLOW, GREEN, BLUE], dtype=float)

# At eye distance 4, with a 45 degree vertical field of view and the aspect
# 4/3 of a 640 x 480 viewport, one unit of the quad spans
# 240 px * cot(22.5 deg) / 4 = 320 px * cot(22.5 deg) / (4 * 4/3) horizontally
# and vertically alike: about 144.85 px, the square's half-side.
HALF_SIDE = 240 / math.tan(math.radians(22.5)) / 4
CENTRE = (WIDTH / 2, HEIGHT / 2)

# Pixels whose centre lies within this distance of an edge are not judged:
# the rasteriser snaps vertices to a subpixel grid (1/256 px in llvmpipe)
# and the float transform is off by far less than 0.01 px, so 1 px is ample
# and still finds a square misplaced, mis-sized or mis-turned by a pixel.
EDGE_MARGIN = 1.0
# How far in from a corner, along the diagonal, its colour is sampled (px).
CORNER_STEP = 3.0
# Within one triangle the colour is linear; across the side of 2 * HALF_SIDE
# px it changes by at most 1 per channel, so its gradient is at most
# sqrt(2) / (2 * HALF_SIDE) per px. The sampled pixel's centre lies at most
# CORNER_STEP + sqrt(1/2) px from the corner, which bounds its difference from
# the corner's own colour; add 1 for rounding to 8 bits and 1 for llvmpipe's
# fixed-point interpolation: 7 units per channel.
CORNER_TOLERANCE = math.ceil(255 * (CORNER_STEP + math.sqrt(0.5)) * math.sqrt(2) / (2 * HALF_SIDE)) + 2
# Neighbouring pixels differ by at most that gradient (1.25 units) plus the
# same two roundings.
NEIGHBOUR_TOLERANCE = 3
# Every palette colour has channels summing to at least 1, and so has every
# blend of them: no interior pixel may be (nearly) black.
MIN_INTERIOR_SUM = 250
# The faults of one rule that a failure lists; the rest are counted.
SHOWN_FAULTS = 5

FRAMES = [1, 10, 11, 15, 25, 90, 360, 1000]
# The clock at each frame: the float sum of 0.1, once per frame, in order.
CLOCK = np.add.accumulate(np.full(max(FRAMES), np.float32(0.1)))

# Every pixel's centre in GL's window coordinates about the centre of the
# view (GL's rows run upwards, an image's downwards).
ROWS, COLUMNS = np.mgrid[0:HEIGHT, 0:WIDTH]
PIXEL_X = COLUMNS + 0.5 - CENTRE[0]
PIXEL_Y = HEIGHT - (ROWS + 0.5) - CENTRE[1]


def clock_of(frame):
    return CLOCK[frame - 1]


def angle_of(frame, rate):
    """The turn at a frame in degrees, the float product the programs make."""
    return clock_of(frame) * np.float32(rate)


def colours_at(t, scale):
    """Each corner's colour (4 x 3, 0..1) at clock t. The blend factor is
    the fractional part of the float product t * scale, which fmod gives
    exactly; the direction comes from the parity of the clock's whole part."""
    scaled = float(t * np.float32(scale))
    a = math.fmod(scaled, 1.0) if scaled > 0 else 0.0
    start, end = (PALETTE_A, PALETTE_B) if int(t) % 2 == 1 else (PALETTE_B, PALETTE_A)
    return start * (1 - a) + end * a


def read_ppm(path):
    """An 8-bit binary PPM as an array of rows x columns x 3."""
    with open(path, "rb") as f:
        data = f.read()
    # One whitespace byte ends the header; the pixels may begin with more.
    header = re.match(rb"P6\s+(\d+)\s+(\d+)\s+255\s", data)
    expect(header is not None, f"{path} is not an 8-bit binary PPM")
    width, height = int(header.group(1)), int(header.group(2))
    pixels = np.frombuffer(data, dtype=np.uint8, offset=header.end())
    expect(pixels.size == width * height * 3, f"{path} is truncated")
    return pixels.reshape(height, width, 3)


def reach(degrees):
    """How far each pixel's centre lies from the centre of the square turned
    counter-clockwise by degrees, in px along the square's own axes: inside
    the square exactly where this is at most HALF_SIDE."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    return np.maximum(np.abs(c * PIXEL_X + s * PIXEL_Y), np.abs(-s * PIXEL_X + c * PIXEL_Y))


def inside(degrees):
    """The pixels judged as the square's interior."""
    return reach(degrees) < HALF_SIDE - EDGE_MARGIN


def corner_pixels(degrees):
    """(row, column) of the pixel CORNER_STEP px inside each corner along its diagonal."""
    c, s = math.cos(math.radians(degrees)), math.sin(math.radians(degrees))
    turned = POSITIONS @ np.array([[c, s], [-s, c]]) * (HALF_SIDE - CORNER_STEP / math.sqrt(2))
    return np.stack([np.floor(HEIGHT - (CENTRE[1] + turned[:, 1])), np.floor(CENTRE[0] + turned[:, 0])],
                    axis=1).astype(int)


def listed(mask, what):
    """One fault line for the pixels of mask, if any: how many, and where
    the first few are as (column, row)."""
    where = np.argwhere(mask)
    if len(where) == 0:
        return []
    shown = ", ".join(f"({x}, {y})" for y, x in where[:SHOWN_FAULTS])
    return [f"{len(where)} {what}: {shown}{' ...' if len(where) > SHOWN_FAULTS else ''}"]


def judge_frame(picture, frame, rate, scale):
    """Every fault found in one captured frame, as text, and the largest
    difference of a corner's colour."""
    if picture.shape != (HEIGHT, WIDTH, 3):
        return [f"frame {frame}: picture is {picture.shape[1]}x{picture.shape[0]}"], 0
    degrees = angle_of(frame, rate)
    pixels = picture.astype(int)
    interior = inside(degrees)
    # Each pixel against the one below it and the one to its right, where both are interior.
    rows = (np.abs(np.diff(pixels, axis=0)).max(axis=2) > NEIGHBOUR_TOLERANCE) & interior[1:] & interior[:-1]
    columns = (np.abs(np.diff(pixels, axis=1)).max(axis=2) > NEIGHBOUR_TOLERANCE) & interior[:, 1:] & interior[:, :-1]
    faults = (listed(picture.any(axis=2) & (reach(degrees) > HALF_SIDE + EDGE_MARGIN),
                     "pixels outside the square not black")
              + listed(interior & (pixels.sum(axis=2) < MIN_INTERIOR_SUM), "interior pixels too dark")
              + listed(rows, "colour jumps from an interior pixel to the one below")
              + listed(columns, "colour jumps from an interior pixel to the one on its right"))
    corners = corner_pixels(degrees)
    expected = np.rint(colours_at(clock_of(frame), scale) * 255)
    got = pixels[corners[:, 0], corners[:, 1]]
    difference = np.abs(got - expected).max(axis=1)
    for i in np.flatnonzero(difference > CORNER_TOLERANCE):
        faults.append(f"corner {i} at pixel ({corners[i, 1]}, {corners[i, 0]}) is {tuple(got[i])}, expected "
                      f"{tuple(expected[i].astype(int))} within {CORNER_TOLERANCE}")
    return [f"frame {frame} (clock {clock_of(frame)!r}, angle {degrees!r} deg): {fault}" for fault in faults], \
        int(difference.max())


def judge_screenshot(picture, captured):
    """The live window from outside: black around a square of the captured
    frames' size, centred. Its frame number is unknown, so its angle too."""
    expect(picture.shape == (HEIGHT, WIDTH, 3), f"the screenshot is {picture.shape[1]}x{picture.shape[0]}")
    lit = picture.any(axis=2)
    distance = np.hypot(PIXEL_X, PIXEL_Y)
    faults = (listed(lit & (distance > HALF_SIDE * math.sqrt(2) + EDGE_MARGIN),
                     "screenshot pixels beyond the square's corners lit")
              + listed(~lit & (distance < HALF_SIDE - EDGE_MARGIN),
                       "screenshot pixels inside the square's inner circle black"))
    # The area is the same at every angle; the pixels on the edge may go
    # either way, about one per pixel of perimeter at most.
    if abs(lit.sum() - captured) > 8 * HALF_SIDE:
        faults.append(f"screenshot: {lit.sum()} lit pixels, the captured frame has {captured}")
    if lit.any() and math.hypot(PIXEL_X[lit].mean(), PIXEL_Y[lit].mean()) > 1.0:
        faults.append(f"screenshot: the lit area is centred {PIXEL_X[lit].mean():.1f}, {PIXEL_Y[lit].mean():.1f} px "
                      "from the window's centre")
    return faults


def check_picture(args, program, workdir):
    display = display_from(args.state)
    name = os.path.basename(program)
    expect(args.rate is not None and args.scale is not None, "picture needs --rate and --scale")
    folder = os.path.join(args.artifacts, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    capture = {
        **preload(program, args.capture),
        "ORMATH_CAPTURE_DIR": folder,
        "ORMATH_CAPTURE_FRAMES": ",".join(map(str, FRAMES)),
    }
    paths = {frame: os.path.join(folder, f"frame_{frame}.ppm") for frame in FRAMES}
    with Demo(program, display, workdir, capture) as demo:
        wid = demo.find_window()
        deadline = time.monotonic() + start_bound()
        while not all(os.path.exists(p) for p in paths.values()) and time.monotonic() < deadline:
            expect(demo.running(), f"{name} ended while frames were captured; stderr: {demo.errors()!r}")
            time.sleep(0.05)
        missing = [frame for frame, p in paths.items() if not os.path.exists(p)]
        expect(not missing, f"frames {missing} were not captured in {folder}")
        screenshot = os.path.join(folder, "screenshot.ppm")
        run_tool([args.probe, "shot", wid, screenshot], demo.env)
        run_tool([args.probe, "close", wid], demo.env)
        demo.wait_end("close request")
    faults = []
    worst = 0
    for frame in FRAMES:
        found, difference = judge_frame(read_ppm(paths[frame]), frame, args.rate, args.scale)
        faults += found
        worst = max(worst, difference)
    faults += judge_screenshot(read_ppm(screenshot), int(read_ppm(paths[1]).any(axis=2).sum()))
    if faults:
        raise CheckFailed("\n".join(faults) + f"\nthe pictures are kept in {folder}")
    shutil.rmtree(folder)
    print(f"{name}: frames {FRAMES} and a live screenshot as expected; corner colours within {worst} "
          f"of {CORNER_TOLERANCE} units")


# ------------------------------------------------------------------ the frame loop under stress

class SwapLog:
    """The log the capture library keeps while the program runs (see
    frame_capture.cpp): a header of 64-bit words, then one time per swap."""

    HEADER = struct.Struct("<6Q")
    NO_STOP = 2 ** 64 - 1

    def __init__(self, workdir, frames=0):
        self.path = os.path.join(workdir, "swaps.log")
        self.environment = {"ORMATH_SWAP_LOG": self.path, "ORMATH_SWAP_LOG_FRAMES": str(frames)}

    def header(self):
        """swaps, the swap count when the first stopping event was taken
        (None before one), stopping events, all events taken."""
        try:
            with open(self.path, "rb") as f:
                data = f.read(self.HEADER.size)
        except OSError:
            return 0, None, 0, 0
        if len(data) < self.HEADER.size:
            return 0, None, 0, 0
        swaps, first_stop, stops, events, _, _ = self.HEADER.unpack(data)
        return swaps, None if first_stop == self.NO_STOP else first_stop, stops, events

    def raised_at(self):
        """When the library raised a signal inside SDL_SetVideoMode, on time.monotonic()'s clock."""
        try:
            with open(self.path, "rb") as f:
                data = f.read(self.HEADER.size)
            raised = self.HEADER.unpack(data)[5]
        except (OSError, struct.error):
            return None
        return raised / 1e9 if raised else None

    def times(self):
        """Each logged swap's time and the process's CPU time then, in ns,
        up to the capacity."""
        words = array.array("Q")
        with open(self.path, "rb") as f:
            f.seek(self.HEADER.size)
            words.frombytes(f.read())
        capacity = len(words) // 2
        count = min(self.header()[0], capacity)
        return words[:count], words[capacity:capacity + count]

    def wait_for(self, demo, frames, bound):
        deadline = time.monotonic() + bound
        while self.header()[0] < frames:
            expect(demo.running(), f"{demo.name()} ended after {self.header()[0]} frames; "
                                   f"stderr: {demo.errors()[-2000:]!r}")
            expect(time.monotonic() < deadline, f"{demo.name()} drew {self.header()[0]} frames in {bound:.1f} s, "
                                                f"not {frames}")
            time.sleep(0.05)


# Each case is sent by the probe on one connection while the program is
# stopped, so that all of it is queued before the program takes any of it.
STORMS = [
    ("a storm of motion, button, focus, expose and resize events, then a key",
     ["storm=100", "key=space"]),
    ("two keys at once", ["key=a+b"]),
    ("a close request and a key together", ["close", "key=space"]),
    ("a key and a close request together", ["key=Escape", "close"]),
]


def check_storms(args, program, workdir):
    display = display_from(args.state)
    failures = []
    for what, items in STORMS:
        log = SwapLog(tempfile.mkdtemp(dir=workdir))
        try:
            with Demo(program, display, workdir,
                      dict(log.environment, **preload(program, args.capture))) as demo:
                wid = demo.find_window()
                settle(demo, log)
                before = log.header()
                demo.process.send_signal(signal.SIGSTOP)
                try:
                    run_tool([args.probe, "send", wid] + items, demo.env, timeout=scaled(60.0))
                finally:
                    demo.process.send_signal(signal.SIGCONT)
                start = time.monotonic()
                try:
                    elapsed = demo.wait_end(what, start)
                finally:
                    swaps, first_stop, stops, events = log.header()
                    if first_stop is None:
                        # SDL 1.2 turns every pending X event into one of its own
                        # at each poll and drops whatever its queue (127 events)
                        # cannot hold: a key behind a full queue is lost.
                        print(f"{demo.name()}: {what}: {events - before[3]} events taken since, none a key "
                              "or quit event")
                expect(first_stop is not None, f"{what}: {demo.name()} ended without taking a key or quit event")
                expect(swaps == first_stop + 1,
                       f"{what}: {swaps - first_stop} frames swapped after the first stopping event, not 1")
                print(f"{demo.name()}: {what} -> {events - before[3]} events taken, {stops} of them "
                      f"stopping; one more frame (swap {swaps}) and status 0 after {elapsed:.2f} s")
        except CheckFailed as failure:
            failures.append(str(failure))
    expect(not failures, "\n".join(failures))


# ------------------------------------------------------------------ hostile starts

def sdl_in_use(program):
    """('classic' or 'layer', version) of the SDL 1.2 library that the program
    loads in this environment: the test command picks the runtime through
    LD_LIBRARY_PATH. The layer over SDL 2 numbers its versions from 1.2.50."""
    result = subprocess.run(["ldd", program], capture_output=True, text=True, timeout=scaled(10.0))
    paths = [line.split("=>")[1].split()[0] for line in result.stdout.splitlines()
             if "libSDL-1.2.so" in line and "=>" in line]
    expect(paths, f"ldd finds no SDL 1.2 library for {program}:\n{result.stdout}")
    linked = ctypes.CDLL(paths[0]).SDL_Linked_Version
    linked.restype = ctypes.POINTER(ctypes.c_uint8 * 3)
    version = tuple(linked().contents)
    return ("layer" if version[2] >= 50 else "classic"), ".".join(map(str, version))


RAISED = "raised inside SDL_SetVideoMode"
RUNNING = "once frames run"
# A stop that is no signal: window_probe destroys the program's window.
DESTROY = "destroy"
NO_DISPLAY = "a display with no server"
SILENT_DISPLAY = "a display that accepts and never answers"
# The one line each refusal must give, after the program's name.
DEEP_SCREEN_LINE = "more than 8 bits per colour channel"
X_ERROR_LINE = "the X server refused a request"

# what, needs, settings, stop (a signal or DESTROY, when), statuses accepted, the one line
# (None: nothing printed). A stop sent 0 or 250 ms after start may come before
# the program takes the signal, and then kills it (a shell shows 130 or 143);
# any later it must end with status 0. In settings: "closed" descriptors,
# "argv0", "screen" ("deep": the fixture's 30-bit screen), "display"
# (NO_DISPLAY) and plain environment variables.
HOSTILE_STARTS = [
    ("SIGTERM " + RAISED, None, {}, (signal.SIGTERM, RAISED), {0}, None),
    ("SIGINT " + RAISED, None, {}, (signal.SIGINT, RAISED), {0}, None),
    ("SIGTERM at start", None, {}, (signal.SIGTERM, 0.0), {0, -signal.SIGTERM}, None),
    ("SIGINT at start", None, {}, (signal.SIGINT, 0.0), {0, -signal.SIGINT}, None),
    ("SIGTERM 250 ms after start", None, {}, (signal.SIGTERM, 0.25), {0, -signal.SIGTERM}, None),
    ("SIGINT 250 ms after start", None, {}, (signal.SIGINT, 0.25), {0, -signal.SIGINT}, None),
    ("SIGTERM 1 s after start", None, {}, (signal.SIGTERM, 1.0), {0}, None),
    ("SIGINT 1 s after start", None, {}, (signal.SIGINT, 1.0), {0}, None),
    ("stderr closed, a driver notice forced", None, {"closed": (2,), "LIBGL_DEBUG": "verbose"},
     (signal.SIGTERM, RUNNING), {0}, None),
    ("stdin and stdout closed, a driver notice forced", None, {"closed": (0, 1), "LIBGL_DEBUG": "verbose"},
     (signal.SIGTERM, RUNNING), {0}, None),
    ("descriptors 0, 1 and 2 closed, a driver notice forced", None,
     {"closed": (0, 1, 2), "LIBGL_DEBUG": "verbose"}, (signal.SIGTERM, RUNNING), {0}, None),
    ("SIGQUIT while frames run", None, {}, (signal.SIGQUIT, RUNNING), {-signal.SIGQUIT}, None),
    # ASan takes SIGSEGV for itself.
    ("SIGSEGV while frames run", "no sanitizer", {}, (signal.SIGSEGV, RUNNING), {-signal.SIGSEGV}, None),
    ("30-bit screen, refused", "classic", {"screen": "deep"}, None, {1}, DEEP_SCREEN_LINE),
    ("30-bit screen, served", "layer", {"screen": "deep"}, (signal.SIGTERM, RUNNING), {0}, None),
    # The next frame draws into a window that is gone: an X error on every
    # SDL and Mesa (unlike an empty LIBGL_DRIVERS_PATH, which Mesa 25 ignores).
    ("its window destroyed by another client: an X error", None, {}, (DESTROY, RUNNING), {1}, X_ERROR_LINE),
    # The X library waits for the server's answer for ever; a stop signal still ends the program.
    ("a display that never answers, SIGTERM 1 s after start", None, {"display": SILENT_DISPLAY},
     (signal.SIGTERM, 1.0), {0}, None),
    ("argv[0] ending in /", None, {"argv0": "bin/quad_demo/", "display": NO_DISPLAY}, None, {1}, "cannot open"),
    ("argv[0] with a newline and escape codes", None,
     {"argv0": "bin/odd\n\x1b[2Jname\x07", "display": NO_DISPLAY}, None, {1}, "cannot open"),
    # A C1 control on its own, a byte that starts nothing, a lead byte cut short.
    ("argv[0] with bytes that are no UTF-8", None,
     {"argv0": b"bin/raw\x9b[31m\xff\xc3", "display": NO_DISPLAY}, None, {1}, "cannot open"),
    # 200 bytes: the name is cut to fit, between two letters.
    ("argv[0] of 100 two-byte letters", None, {"argv0": "\u00e9" * 100, "display": NO_DISPLAY}, None, {1},
     "cannot open"),
]
# What the programs keep of their name: 127 bytes and the terminating NUL.
NAME_BYTES = 127


def catches(pid, number):
    """Whether process pid has a handler of its own for signal number."""
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("SigCgt:"):
                    return bool(int(line.split()[1], 16) >> (number - 1) & 1)
    except OSError:
        pass
    return False


def wait_until_caught(demo, number, what):
    deadline = time.monotonic() + start_bound()
    while not catches(demo.process.pid, number):
        expect(demo.running(), f"{what}: {demo.name()} ended before it caught the signal: {demo.errors()!r}")
        expect(time.monotonic() < deadline,
               f"{what}: {demo.name()} had no handler for the signal after {start_bound():.1f} s")
        time.sleep(0.02)


def expected_name(argv0, program):
    r"""The program's name as its message gives it, by Python's own UTF-8
    decoder: the last non-empty path element; each byte that is no UTF-8,
    and the C0, DEL and C1 controls, as \xHH (\n, \t, \r, \\ named); cut to
    NAME_BYTES between two characters or escapes."""
    raw = argv0 if isinstance(argv0, bytes) else os.fsencode(argv0 or program)
    name = [part for part in raw.split(b"/") if part][-1]
    named = {"\n": "\\n", "\t": "\\t", "\r": "\\r", "\\": "\\\\"}
    result, used = "", 0
    # surrogateescape turns each byte the decoder rejects into U+DC80..U+DCFF.
    for c in name.decode("utf-8", errors="surrogateescape"):
        code = ord(c)
        if 0xDC80 <= code <= 0xDCFF:
            piece = f"\\x{code - 0xDC00:02x}"
        elif c in named:
            piece = named[c]
        elif code < 0x20 or code == 0x7F:
            piece = f"\\x{code:02x}"
        elif 0x80 <= code <= 0x9F:
            piece = "".join(f"\\x{b:02x}" for b in c.encode())
        else:
            piece = c
        if used + len(piece.encode()) > NAME_BYTES:
            break
        result += piece
        used += len(piece.encode())
    return result


def judge_stderr(text, name, line):
    """Faults of a program's stderr: no line of its own when line is None,
    else exactly one, naming it and containing line. Mesa's notices ("libGL:"
    asked for by LIBGL_DEBUG, "libGL error:" before an X error) come from the
    driver, not the program, and are allowed."""
    own = [entry for entry in text.splitlines() if not entry.startswith("libGL")]
    if line is None:
        return [] if not own else [f"printed {own[-3:]!r}"]
    if not text.endswith("\n") or len(own) != 1 or not own[0].startswith(name + ": ") or line not in own[0]:
        return [f"stderr is not one line '{name}: ...{line}...' (after Mesa's notices at most): {text[-600:]!r}"]
    return []


def run_hostile_start(args, program, workdir, row, display, deep_screen):
    what, _, settings, stop, statuses, line = row
    env = preload(program, args.capture)
    log = SwapLog(tempfile.mkdtemp(dir=workdir))
    env.update(log.environment)
    env.update({key: value for key, value in settings.items() if key.isupper()})
    if stop and stop[1] == RAISED:
        env["ORMATH_RAISE_IN_SET_VIDEO_MODE"] = str(int(stop[0]))
    target = {"deep": deep_screen}.get(settings.get("screen"), display)
    if settings.get("display") in (NO_DISPLAY, SILENT_DISPLAY):
        target = unused_display()
    silent = None
    if settings.get("display") == SILENT_DISPLAY:
        # Connections wait in the listen queue, never accepted or answered.
        os.makedirs("/tmp/.X11-unix", exist_ok=True)
        silent = socket.socket(socket.AF_UNIX)
        silent.bind(f"/tmp/.X11-unix/X{target[1:]}")
        silent.listen(4)
    try:
        return watch_hostile_start(args, program, workdir, row, target, env, log)
    finally:
        if silent is not None:
            os.unlink(silent.getsockname())
            silent.close()


def watch_hostile_start(args, program, workdir, row, target, env, log):
    what, _, settings, stop, statuses, line = row
    with Demo(program, target, workdir, env, closed=settings.get("closed", ()), argv0=settings.get("argv0")) as demo:
        start = time.monotonic()
        if stop is None:
            since = start
        elif stop[1] == RAISED:
            try:
                demo.process.wait(timeout=start_bound())
            except subprocess.TimeoutExpired:
                pass
            since = log.raised_at()
            expect(since is not None, f"{what}: the signal was not raised in time; stderr: {demo.errors()!r}")
        else:
            if stop[1] == RUNNING:
                log.wait_for(demo, 10, start_bound())
            else:
                time.sleep(max(0.0, start + stop[1] - time.monotonic()))
                if stop[1] >= 1.0:
                    # "After start" means with the handlers in place, as on an
                    # idle machine 1 s after start; a loaded machine may take
                    # longer to get there, which is not what the row is about.
                    wait_until_caught(demo, stop[0], what)
            window = demo.find_window() if stop[0] == DESTROY else None
            since = time.monotonic()
            if window:
                run_tool([args.probe, "destroy", window], demo.env)
            else:
                demo.process.send_signal(stop[0])
        try:
            status = demo.process.wait(timeout=max(0.0, since + end_bound() - time.monotonic()))
        except subprocess.TimeoutExpired:
            raise CheckFailed(f"{what}: still running {end_bound():.1f} s later")
        elapsed = time.monotonic() - since
        faults = [] if status in statuses else [f"status {status}, not {' or '.join(map(str, sorted(statuses)))}"]
        faults += judge_stderr(demo.errors(), expected_name(settings.get("argv0"), program), line)
        if any(entry.startswith("core") for entry in os.listdir(workdir)):
            faults.append("left a core file")
        expect(not faults, f"{what}: " + "; ".join(faults))
        return status, elapsed, demo.errors().strip().splitlines()[-1:] if line else []


def check_hostile(args, program, workdir):
    display = display_from(args.state)
    with open(args.state) as f:
        deep_screen = dict(entry.rstrip("\n").split("=", 1) for entry in f if "=" in entry).get("deep_screen")
    runtime, version = sdl_in_use(program)
    unmet = {
        "classic": None if runtime == "classic" else f"need the classic SDL 1.2 (in use: the layer, {version})",
        "layer": None if runtime == "layer" else f"need the SDL 1.2 layer over SDL 2 (in use: {version})",
        "no sanitizer": "need a build without ASan, which takes SIGSEGV" if SANITIZED else None,
    }
    skipped = {}
    failures = []
    for row in HOSTILE_STARTS:
        what, needs, settings = row[:3]
        reason = unmet.get(needs)
        if reason is None and settings.get("screen") == "deep" and not deep_screen:
            reason = "need the fixture's 30-bit screen (the display in use has none)"
        if reason:
            skipped.setdefault(reason, []).append(what)
            continue
        try:
            status, elapsed, said = run_hostile_start(args, program, workdir, row, display, deep_screen)
            print(f"{os.path.basename(program)} on SDL {version}: {what} -> status {status} after {elapsed:.2f} s"
                  + (f": {said[0]}" if said else ""))
        except CheckFailed as failure:
            failures.append(f"on SDL {version}: {failure}")
    if skipped:
        print(f"skipped {sum(map(len, skipped.values()))} of {len(HOSTILE_STARTS)} rows: " +
              "; ".join(f"{len(rows)} {reason} ({', '.join(rows)})" for reason, rows in skipped.items()))
    expect(not failures, "\n".join(failures))


SOAK_FRAMES = 200_000
SOAK_SECONDS = 180
SOAK_WARMUP = 5_000
SOAK_RSS_GROWTH_KIB = 1024
SOAK_RATE_RATIO = 0.9


def resident_kib(pid):
    with open(f"/proc/{pid}/status") as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    raise CheckFailed(f"no VmRSS for process {pid}")


def median_rate(times):
    """Frames per second: one over the median of the frames' times (ns)."""
    return 1e9 / max(1, statistics.median(b - a for a, b in zip(times, times[1:])))


def check_soak(args, program, workdir):
    display = display_from(args.state)
    log = SwapLog(workdir, SOAK_FRAMES)
    with Demo(program, display, workdir,
              dict(log.environment, **preload(program, args.capture))) as demo:
        demo.find_window()
        log.wait_for(demo, SOAK_WARMUP, scaled(60.0))
        baseline = (log.header()[0], resident_kib(demo.process.pid))
        start = time.monotonic()
        highest = baseline
        while log.header()[0] < SOAK_FRAMES and time.monotonic() - start < SOAK_SECONDS:
            expect(demo.running(), f"{demo.name()} ended on its own after {log.header()[0]} frames: "
                                   f"status {demo.process.returncode}, stderr: {demo.errors()[-2000:]!r}")
            sample = (log.header()[0], resident_kib(demo.process.pid))
            highest = max(highest, sample, key=lambda s: s[1])
            time.sleep(0.5)
        last = (log.header()[0], resident_kib(demo.process.pid))
        highest = max(highest, last, key=lambda s: s[1])
        key_time = time.monotonic()
        press_key(args, demo)
        elapsed = demo.wait_end("key press after the soak", key_time)
    wall, cpu = log.times()
    tenth = len(wall) // 10
    # The rate is judged by the wall clock, as a user sees it. The process's
    # CPU time per frame is printed beside it but is no steadier: it counts
    # llvmpipe's worker threads, whose share varies from run to run while
    # the wall-clock rate holds.
    rates = {name: (median_rate(clock[tenth:2 * tenth]), median_rate(clock[-tenth:]))
             for name, clock in (("wall", wall), ("cpu", cpu))}
    second, final = rates["wall"]
    peak = highest[1] - baseline[1]
    print(f"{demo.name()}: {len(wall)} frames in {(wall[-1] - wall[0]) / 1e9:.1f} s; RSS {baseline[1]} KiB at "
          f"frame {baseline[0]}, {last[1]} KiB at frame {last[0]}, highest {highest[1]} KiB at frame {highest[0]} "
          f"(+{peak} KiB); median frame rate {second:.0f}/s in the second tenth, {final:.0f}/s in the last "
          f"(ratio {final / second:.3f}); per CPU second {rates['cpu'][0]:.0f} and {rates['cpu'][1]:.0f} "
          f"(ratio {rates['cpu'][1] / rates['cpu'][0]:.3f}); ended by a key with status 0 after {elapsed:.2f} s")
    print("  frames per CPU second, by tenth: " +
          " ".join(f"{median_rate(cpu[i * tenth:(i + 1) * tenth]):.0f}" for i in range(10)))
    print("  frames per wall-clock second, by tenth: " +
          " ".join(f"{median_rate(wall[i * tenth:(i + 1) * tenth]):.0f}" for i in range(10)))
    # Growth is judged at the end: a leak never gives memory back, while the
    # driver's buffers may swell by more than a megabyte for a while and
    # shrink again; the peak is printed.
    expect(last[1] - baseline[1] < SOAK_RSS_GROWTH_KIB,
           f"RSS grew by {last[1] - baseline[1]} KiB from frame {baseline[0]} to frame {last[0]}")
    expect(final >= SOAK_RATE_RATIO * second,
           f"the median frame rate fell from {second:.0f}/s in the second tenth to {final:.0f}/s in the last")


VALGRIND_FRAMES = 300


def frames_of(error):
    return [(frame.findtext("obj") or "", frame.findtext("fn") or "?") for frame in error.iter("frame")]


def culprit(frames):
    """Where an error or allocation happens: its first frame that is neither
    valgrind's nor the C library's allocator."""
    for obj, fn in frames:
        name = os.path.basename(obj)
        if not (name.startswith("vgpreload_") or name.startswith("libc.so") or name.startswith("ld-linux")):
            return obj, fn
    return "", "?"


def check_valgrind(args, program, workdir):
    display = display_from(args.state)
    log = SwapLog(workdir)
    report = os.path.join(args.artifacts, f"valgrind-{os.path.basename(program)}.xml")
    os.makedirs(args.artifacts, exist_ok=True)
    memcheck = ["valgrind", "--tool=memcheck", "--leak-check=full", "--show-leak-kinds=definite",
                "--errors-for-leak-kinds=definite", "--num-callers=40", "--xml=yes", f"--xml-file={report}",
                f"--suppressions={args.valgrind_suppressions}"]
    # One rendering thread: llvmpipe's worker threads only slow memcheck down.
    settings = dict(log.environment, **preload_settings(filter(None, [args.driver, args.capture])),
                    LP_NUM_THREADS="0")
    with Demo(program, display, workdir, settings, wrapper=memcheck) as demo:
        demo.find_window()
        log.wait_for(demo, VALGRIND_FRAMES, scaled(240.0))
        # The close request needs no input focus, so these runs need not take turns.
        close_time = time.monotonic()
        end_by_close(args, demo)
        demo.wait_end("close request under memcheck", close_time, bound=scaled(120.0))
    own = os.path.realpath(program)
    ours, theirs = [], []
    for error in ElementTree.parse(report).getroot().iter("error"):
        obj, fn = culprit(frames_of(error))
        text = f"{error.findtext('kind')} in {fn} ({os.path.basename(obj) or '?'}): " + \
               (error.findtext("what") or error.findtext("xwhat/text") or "")
        (ours if os.path.realpath(obj or "/") == own else theirs).append(text)
    print(f"{os.path.basename(program)}: {VALGRIND_FRAMES}+ frames under memcheck; {len(ours)} errors of its own "
          f"code, {len(theirs)} unsuppressed in other libraries; the report is {report}")
    for text in theirs:
        print(f"  not ours: {text}")
    expect(not ours, "\n".join(ours))
    expect(not theirs, "errors in third-party libraries that no suppression explains: add an entry to "
                       f"{args.valgrind_suppressions} with its reason, or fix the caller")


def check_gtest(args, command, workdir):
    env = tool_environment(display_from(args.state))
    env.update(preload(command[0]))
    sys.stdout.flush()
    result = subprocess.run(command, env=env, cwd=workdir, stdin=subprocess.DEVNULL, timeout=scaled(120.0))
    expect(result.returncode == 0, f"{os.path.basename(command[0])} ended with status {result.returncode}")


CHECKS = {
    "window": check_window,
    "ending": check_endings,
    "keys": check_endings,
    "no-display": check_no_display,
    "picture": check_picture,
    "storms": check_storms,
    "hostile": check_hostile,
    "soak": check_soak,
    "valgrind": check_valgrind,
}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--state", required=True)
    parser.add_argument("--probe", required=True)
    parser.add_argument("--capture", required=True)
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--driver", help="Mesa's DRI driver, preloaded under the sanitizers and memcheck")
    parser.add_argument("--lsan-suppressions")
    parser.add_argument("--valgrind-suppressions")
    parser.add_argument("--rate", type=float, help="picture: the program's rotation_rate, from the tests' table")
    parser.add_argument("--scale", type=float, help="picture: the program's colour_time_scale, from the tests' table")
    parser.add_argument("check", choices=sorted(CHECKS) + ["gtest"])
    parser.add_argument("program", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    SANITIZER_SETTINGS.update(driver=args.driver, suppressions=args.lsan_suppressions)
    # SIGTERM and SIGHUP end the check as Ctrl-C does: through the finally
    # blocks that end its programs and remove its folder.
    for number in (signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, lambda number, _frame: sys.exit(128 + number))
    workdir = tempfile.mkdtemp(prefix="ormath-display-")
    try:
        if args.check == "gtest":
            check_gtest(args, args.program, workdir)
        else:
            CHECKS[args.check](args, args.program[0], workdir)
    except CheckFailed as failure:
        print(f"FAIL: {failure}")
        return 1
    except KnownLimitation as limitation:
        print(f"SKIP: known limitation: {limitation}")
        return SKIP
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
