#!/usr/bin/env python3
"""The demos' web pages in headless Chromium, judged as the display tests
judge the native programs.

  web_checks.py --server STATE --browser STATE [--x-state STATE --capture LIBRARY]
                --artifacts DIR CHECK [PROGRAM]

CHECK is one of
  picture   frames 1, 10, 45 and 100 of PROGRAM's page (PROGRAM is the native
            binary), read back inside the animation-frame callback that drew
            them: judged like the native frames, and within 2 units per
            channel of the native program's same frames inside the square
  matrices  the model-view and projection matrices that PROGRAM's page (an
            Ormath program, PROGRAM its native binary) hands WebGL for
            frames 1 to 200: bit for bit those the native program loads
            for the same frames
  ending    PROGRAM's page: its title is the caption; a key ends the program
            after exactly one more frame with status 0, which the page says
            in one line; nothing on the console is an error
  no-webgl  every page in a browser without WebGL says so in one line and
            its program reports status 1
  index     the index page runs every program of the site at once
  cannot-start
            PROGRAM's pages whose module or script is missing, cut short or failing,
            and a page opened from file://: each says "<program>: cannot
            start: <reason>" within START_BOUND and reports status 1
  context-loss
            PROGRAM's page after its WebGL context is lost: it says so and
            reports status 1
  server    web/serve.py, started on its own on a small site, answers each
            malformed request with an HTTP error, listens with a backlog of
            128, drops an idle connection, and ends quietly on Ctrl-C

The server and browser come from the state files web_fixture.py writes, the
X server for the native frames and matrices from the display tests' fixture.
"""
import argparse
import base64
import os
import shutil
import struct
import sys
import tempfile
import time

import numpy as np

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "display"))
sys.path.insert(0, os.path.join(HERE, "..", "..", "web"))
import chromium  # noqa: E402
import display_checks as native  # noqa: E402
from display_checks import CheckFailed, expect  # noqa: E402
from web_fixture import read_state  # noqa: E402

FRAMES = [1, 10, 45, 100]
# Chromium's SwiftShader and Mesa's llvmpipe interpolate colours with
# different fixed-point arithmetic: one unit each way, plus one for rounding.
NATIVE_TOLERANCE = 2
# Frames, never wall time, decide every check; these bounds only end a hung
# page, generously, since CI machines are busy.
LOAD_BOUND = 90
END_BOUND = 30


def connect(args):
    server = read_state(args.server)
    browser = read_state(args.browser)
    expect("url" in server, f"no static server recorded in {args.server}")
    expect("port" in browser, f"no browser recorded in {args.browser}")
    return server["url"], chromium.DevTools(int(browser["port"]))


def wait(page, expression, bound, what):
    try:
        return page.wait_for(expression, bound, what)
    except chromium.BrowserError as error:
        raise CheckFailed(str(error))


def write_ppm(path, picture):
    with open(path, "wb") as f:
        f.write(b"P6\n%d %d\n255\n" % (native.WIDTH, native.HEIGHT) + picture.tobytes())


def page_frame(page, frame):
    """A frame the page read back, as rows x columns x 3 from the top, as a
    PPM stores them (GL's rows run upwards)."""
    raw = base64.b64decode(page.evaluate(f"window.__ormath.shots[{frame}]"))
    return np.frombuffer(raw, dtype=np.uint8).reshape(native.HEIGHT, native.WIDTH, 4)[::-1, :, :3]


def native_frames(args, program, workdir):
    """The native program's FRAMES through the frame capture library."""
    folder = os.path.join(workdir, "native")
    os.makedirs(folder)
    capture = {
        **native.preload(program, args.capture),
        "ORMATH_CAPTURE_DIR": folder,
        "ORMATH_CAPTURE_FRAMES": ",".join(map(str, FRAMES)),
    }
    paths = {frame: os.path.join(folder, f"frame_{frame}.ppm") for frame in FRAMES}
    with native.Demo(program, native.display_from(args.x_state), workdir, capture) as demo:
        deadline = time.monotonic() + native.scaled(60)
        while not all(os.path.exists(p) for p in paths.values()):
            expect(demo.running(), f"the native {demo.name()} ended early; stderr: {demo.errors()!r}")
            expect(time.monotonic() < deadline, f"frames of the native {demo.name()} not captured in time")
            time.sleep(0.05)
    return {frame: native.read_ppm(path) for frame, path in paths.items()}


def differences_inside(web, reference, frame, rate):
    """The largest channel difference inside the square, and where (column, row)."""
    difference = np.abs(web.astype(int) - reference.astype(int)).max(axis=2) \
        * native.inside(native.angle_of(frame, rate))
    row, column = np.unravel_index(difference.argmax(), difference.shape)
    return int(difference[row, column]), (int(column), int(row))


def check_picture(args, program, workdir):
    name = os.path.basename(program)
    expect(args.rate is not None and args.scale is not None, "picture needs --rate and --scale")
    rate, scale = args.rate, args.scale
    reference = native_frames(args, program, workdir)
    url, devtools = connect(args)
    page = chromium.Page(devtools, FRAMES)
    try:
        page.open(f"{url}{name}.html")
        wait(page, f"window.__ormath && window.__ormath.frames >= {FRAMES[-1]}", LOAD_BOUND, f"frame {FRAMES[-1]}")
        shots = {frame: page_frame(page, frame) for frame in FRAMES}
    finally:
        page.close()
    folder = os.path.join(args.artifacts, name)
    shutil.rmtree(folder, ignore_errors=True)
    os.makedirs(folder)
    faults, corners, worst = [], 0, 0
    for frame in FRAMES:
        path = os.path.join(folder, f"web_frame_{frame}.ppm")
        write_ppm(path, shots[frame])
        found, corner = native.judge_frame(shots[frame], frame, rate, scale)
        faults += found
        corners = max(corners, corner)
        difference, where = differences_inside(shots[frame], reference[frame], frame, rate)
        worst = max(worst, difference)
        if difference > NATIVE_TOLERANCE:
            write_ppm(os.path.join(folder, f"native_frame_{frame}.ppm"), reference[frame])
            faults.append(f"frame {frame}: pixel {where} differs from the native frame by {difference} units")
    if faults:
        raise CheckFailed("\n".join(faults) + f"\nthe pictures are kept in {folder}")
    shutil.rmtree(folder)
    print(f"{name}: frames {FRAMES} as expected; corner colours within {corners} of {native.CORNER_TOLERANCE} "
          f"units, within {worst} of the native frames inside the square")


# Frames 1 to 200 turn the square by 200 degrees, through sines and cosines
# of every sign.
MATRIX_FRAMES = 200
MATRICES = ["modelview", "projection"]


def native_matrices(args, program, workdir):
    """The matrices the native program loads for frames 1 to MATRIX_FRAMES,
    as the frame capture library logs them: {frame: {matrix: 16 hex words}}."""
    path = os.path.join(workdir, "matrices.log")
    log = {
        **native.preload(program, args.capture),
        "ORMATH_MATRIX_LOG": path,
        "ORMATH_MATRIX_LOG_FRAMES": str(MATRIX_FRAMES),
    }
    with native.Demo(program, native.display_from(args.x_state), workdir, log) as demo:
        bound = native.start_bound()
        deadline = time.monotonic() + bound
        while not os.path.exists(path):
            expect(demo.running(), f"the native {demo.name()} ended early; stderr: {demo.errors()!r}")
            expect(time.monotonic() < deadline,
                   f"the native {demo.name()} did not reach frame {MATRIX_FRAMES} within {bound:.0f} s")
            time.sleep(0.05)
    matrices = {}
    with open(path) as f:
        for line in f:
            frame, matrix, *words = line.split()
            matrices.setdefault(int(frame), {})[matrix] = words
    return matrices


def wait_for_frame(page, frame):
    """Waits until the page has drawn frame `frame`. Frames decide: it fails
    only when the page ends or draws no frame for LOAD_BOUND seconds."""
    count, since = -1, time.monotonic()
    while True:
        try:
            now, ended = page.evaluate("[window.__ormath ? window.__ormath.frames : 0, "
                                       "document.body && document.body.dataset.exitStatus]")
        except chromium.BrowserError:  # a document still loading
            now, ended = max(count, 0), None
        if now >= frame:
            return
        expect(ended is None, f"the page ended with status {ended} after frame {now}")
        if now != count:
            count, since = now, time.monotonic()
        expect(time.monotonic() - since < LOAD_BOUND, f"the page drew no frame after frame {count} "
                                                      f"for {LOAD_BOUND} s")
        time.sleep(0.05)


def as_float(word):
    return struct.unpack("<f", struct.pack("<I", int(word, 16)))[0]


def check_matrices(args, program, workdir):
    name = os.path.basename(program)
    reference = native_matrices(args, program, workdir)
    url, devtools = connect(args)
    frames = range(1, MATRIX_FRAMES + 1)
    page = chromium.Page(devtools, matrix_frames=frames)
    try:
        page.open(f"{url}{name}.html")
        wait_for_frame(page, MATRIX_FRAMES)
        web = page.evaluate("window.__ormath.matrices")
    finally:
        page.close()
    for frame in frames:
        expect(str(frame) in web, f"frame {frame}: not recorded on the page")
        expect(web[str(frame)] is not None, f"frame {frame}: the page drew nothing")
        for matrix in MATRICES:
            want = reference.get(frame, {}).get(matrix)
            got = web[str(frame)].get(matrix)
            expect(want is not None and len(want) == 16, f"frame {frame}: the native {name} loaded no {matrix} matrix")
            expect(got is not None and len(got) == 16, f"frame {frame}: the page handed WebGL no {matrix} matrix")
            for i, (g, w) in enumerate(zip(got, want)):
                expect(g == w, f"frame {frame}: {matrix} element {i} (column {i // 4}, row {i % 4}) is 0x{g} "
                               f"({as_float(g)!r}) on the page, 0x{w} ({as_float(w)!r}) natively")
    print(f"{name}: the {' and '.join(MATRICES)} matrices of frames 1 to {MATRIX_FRAMES} on the page are the "
          "native program's, bit for bit")


def check_ending(args, name, workdir):
    url, devtools = connect(args)
    page = chromium.Page(devtools)
    try:
        page.open(f"{url}{name}.html")
        wait(page, "window.__ormath && window.__ormath.frames >= 10", LOAD_BOUND, "frame 10")
        title = page.evaluate("document.title")
        expect(title == native.CAPTION, f"the page's title is {title!r}")
        page.press_key()
        status = wait(page, "document.body.dataset.exitStatus", END_BOUND, "the end after a key")
        key, frames = page.evaluate("[window.__ormath.keyFrames, window.__ormath.frames]")
        line = page.evaluate("document.getElementById('status').textContent")
        problems = page.console_problems()
    finally:
        page.close()
    expect(status == "0", f"{name} ended with status {status}; the page says {line!r}")
    expect(key is not None and frames == key + 1,
           f"{name} drew {frames} frames, the key came after {key}: not exactly one more")
    expect(line == f"{name} ended with status 0", f"the page's status line is {line!r}")
    expect(not problems, "errors on the console:\n" + "\n".join(problems))
    print(f"{name}: title, a key after frame {key} ends it after frame {frames} with status 0, a quiet console")


def check_no_webgl(args, _, workdir):
    server = read_state(args.server)
    expect("url" in server, f"no static server recorded in {args.server}")
    try:
        browser, profile, port = chromium.start_browser(["--disable-webgl"], os.path.join(workdir, "chromium.log"))
    except chromium.BrowserError as error:
        raise CheckFailed(str(error))
    failures = []
    try:
        devtools = chromium.DevTools(port)
        for name in chromium.site_programs(server["site"]):
            page = chromium.Page(devtools)
            page.open(f"{server['url']}{name}.html")
            status = wait(page, "document.body.dataset.exitStatus", LOAD_BOUND, f"{name}'s end without WebGL")
            line = page.evaluate("document.getElementById('status').textContent")
            thrown = [e for e in devtools.events
                      if e["method"] == "Runtime.exceptionThrown" and e.get("sessionId") == page.session]
            page.close()
            if status != "1" or "\n" in line or not line.startswith(f"{name}: ") or "WebGL" not in line:
                failures.append(f"{name}: status {status}, the page says {line!r}")
            elif thrown:
                failures.append(f"{name}: an exception was thrown: {thrown[0]['params']['exceptionDetails']}")
            else:
                print(f"{name}: status 1, {line!r}")
        devtools.close()
    finally:
        chromium.stop_process(browser)
        shutil.rmtree(profile, ignore_errors=True)
    expect(not failures, "\n".join(failures))


def check_index(args, _, workdir):
    url, devtools = connect(args)
    programs = len(chromium.site_programs(read_state(args.server)["site"]))
    page = chromium.Page(devtools)
    frames = "[...document.querySelectorAll('iframe')].map(f => f.contentWindow.__ormath ? " \
             "f.contentWindow.__ormath.frames : 0)"
    try:
        page.open(f"{url}index.html")
        wait(page, f"{frames}.length === {programs} && {frames}.every(n => n >= 30)", LOAD_BOUND,
             f"30 frames of each of the {programs} programs")
        counts = page.evaluate(frames)
        ended = page.evaluate("[...document.querySelectorAll('iframe')]"
                              ".filter(f => f.contentDocument.body.dataset.exitStatus !== undefined).length")
    finally:
        page.close()
    expect(ended == 0, f"{ended} of the programs on the index page ended by themselves")
    print(f"index: all {programs} programs running at once, frames {counts}")


# A page that cannot start must say why within this many seconds from its
# opening: a user reads the reason instead of "loading". Each fault below
# is met by an event in the page, none by waiting out a timer.
START_BOUND = 5


def cut_short(path):
    with open(path, "rb") as f:
        data = f.read()
    with open(path, "wb") as f:
        f.write(data[:len(data) // 2])


def replace_with(text):
    def change(path):
        with open(path, "w") as f:
            f.write(text)
    return change


# (fault, the file of the page's program it touches, what is done to it, a
# word the page's reason must hold, ignoring case).
BROKEN_PAGES = [
    ("the module missing", ".wasm", os.remove, "wasm"),
    ("the module cut short", ".wasm", cut_short, "wasm"),
    ("the module not WebAssembly", ".wasm", replace_with("<html>not found</html>\n"), "wasm"),
    ("the script missing", ".js", os.remove, ".js"),
    ("the script cut short", ".js", cut_short, "js"),
    ("the script throwing at once", ".js", replace_with("throw new Error('the script gave up');\n"), "gave up"),
]


def open_until_end(page, url, bound):
    """Opens url; (seconds until the page reports an exit status, the status,
    the page's status line), or None for the status when it did not."""
    start = time.monotonic()
    page.open(url)
    while time.monotonic() - start < bound:
        status = page.evaluate("document.body && document.body.dataset.exitStatus")
        if status is not None:
            line = page.evaluate("document.getElementById('status').textContent")
            return time.monotonic() - start, status, line
        time.sleep(0.05)
    return bound, None, page.evaluate("document.getElementById('status') && "
                                      "document.getElementById('status').textContent")


def check_cannot_start(args, program, workdir):
    import subprocess
    server = read_state(args.server)
    expect("site" in server, f"no static server recorded in {args.server}")
    _, devtools = connect(args)
    rows = []
    for fault, suffix, change, word in BROKEN_PAGES:
        site = os.path.join(workdir, fault.replace(" ", "_"))
        os.makedirs(site)
        for name in (".html", ".js", ".wasm"):
            shutil.copy(os.path.join(server["site"], program + name), site)
        change(os.path.join(site, program + suffix))
        rows.append((fault, site, word))
    serve = subprocess.Popen([sys.executable, os.path.join(HERE, "..", "..", "web", "serve.py"), workdir, "0"],
                             stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    failures = []
    try:
        url = serve.stdout.readline().strip()
        expect(url.startswith("http://"), "serve.py did not start on the broken pages")
        targets = [(fault, f"{url}{os.path.basename(site)}/{program}.html", word) for fault, site, word in rows]
        targets.append(("opened from file://", f"file://{os.path.join(server['site'], program)}.html", "file://"))
        for fault, target, word in targets:
            page = chromium.Page(devtools)
            try:
                seconds, status, line = open_until_end(page, target, START_BOUND)
            finally:
                page.close()
            if (status != "1" or not line.startswith(f"{program}: cannot start: ") or "\n" in line
                    or word.lower() not in line.lower()):
                failures.append(f"{fault}: status {status} after {seconds:.1f} s, the page says {line!r}")
            else:
                print(f"{fault}: status 1 after {seconds:.1f} s, {line!r}")
    finally:
        serve.kill()
        serve.wait()
    expect(not failures, "\n".join(failures))


def check_context_loss(args, name, workdir):
    url, devtools = connect(args)
    page = chromium.Page(devtools)
    try:
        page.open(f"{url}{name}.html")
        wait(page, "window.__ormath && window.__ormath.frames >= 10", LOAD_BOUND, "frame 10")
        page.evaluate("Module.ctx.getExtension('WEBGL_lose_context').loseContext()")
        status = wait(page, "document.body.dataset.exitStatus", END_BOUND, "the end after a lost context")
        line = page.evaluate("document.getElementById('status').textContent")
        before = page.evaluate("window.__ormath.ticks")
        wait(page, f"window.__ormath.ticks >= {before} + 10", END_BOUND, "ten more animation frames")
        frames = page.evaluate("[window.__ormath.frames, Module.ctx.isContextLost()]")
    finally:
        page.close()
    expect(status == "1" and line == f"{name}: stopped: the WebGL context was lost",
           f"status {status}, the page says {line!r}")
    print(f"{name}: a lost context ends it with status 1, {line!r}, after {frames[0]} frames")


# (what, the raw request, the status the server must answer with).
SERVER_REQUESTS = [
    ("a file", b"GET /index.html HTTP/1.1\r\nHost: a\r\n\r\n", 200),
    ("a NUL byte in the path", b"GET /index.html%00.png HTTP/1.1\r\nHost: a\r\n\r\n", 400),
    ("a path that is not UTF-8", b"GET /%ff%fe HTTP/1.1\r\nHost: a\r\n\r\n", 400),
    ("a path out of the site", b"GET /../../../etc/passwd HTTP/1.1\r\nHost: a\r\n\r\n", 404),
    ("a request line of one word", b"NONSENSE\r\n\r\n", 400),
    ("a TLS greeting", b"\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\r\n\r\n", 400),
    ("an unknown protocol version", b"GET / HTTP/7.0\r\n\r\n", 505),
    ("a request line of 70 000 bytes", b"GET /" + b"a" * 70000 + b" HTTP/1.1\r\n\r\n", 414),
    ("a method the server does not have", b"DELETE /index.html HTTP/1.1\r\nHost: a\r\n\r\n", 501),
]
# The idle timeout the server is started with here, and how long its close
# may take: a busy machine delays it, a connection held forever never ends.
IDLE_TIMEOUT = 1
IDLE_BOUND = 8


def status_of(port, request):
    import socket
    with socket.create_connection(("127.0.0.1", port), timeout=10) as connection:
        connection.sendall(request)
        answer = b""
        while b"\r\n" not in answer:
            piece = connection.recv(4096)
            if not piece:
                break
            answer += piece
    line = answer.split(b"\r\n", 1)[0].decode("latin-1")
    return int(line.split()[1]) if line.startswith("HTTP/") and len(line.split()) > 1 else repr(line[:60])


def check_server(args, _, workdir):
    import signal
    import socket
    import subprocess
    site = os.path.join(workdir, "site")
    os.makedirs(site)
    for name in ("index.html", "a.wasm"):
        with open(os.path.join(site, name), "w") as f:
            f.write("x")
    server = subprocess.Popen([sys.executable, os.path.join(HERE, "..", "..", "web", "serve.py"),
                               "--idle-timeout", str(IDLE_TIMEOUT), site, "0"],
                              stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    failures = []
    try:
        address = server.stdout.readline().strip()
        if not address.startswith("http://127.0.0.1:"):
            server.kill()
            raise CheckFailed(f"serve.py did not start: {server.communicate()[1].strip()!r}")
        port = int(address.rsplit(":", 1)[1].rstrip("/"))
        for what, request, status in SERVER_REQUESTS:
            answer = status_of(port, request)
            (failures.append if answer != status else print)(f"{what}: {answer}, expected {status}")
        listing = subprocess.run(["ss", "-ltnH", f"sport = :{port}"], capture_output=True, text=True).stdout
        backlog = int(listing.split()[2]) if listing.split() else 0
        (failures.append if backlog < 128 else print)(f"listen backlog {backlog}, expected at least 128")
        with socket.create_connection(("127.0.0.1", port), timeout=IDLE_BOUND) as idle:
            idle.sendall(b"GET /index.html HT")
            start = time.monotonic()
            try:
                idle.recv(4096)
                closed = time.monotonic() - start
            except socket.timeout:
                closed = None
        (failures.append if closed is None else print)(
            f"a half-sent request closed after {closed:.1f} s (idle timeout {IDLE_TIMEOUT} s)" if closed is not None
            else f"a half-sent request still open after {IDLE_BOUND} s (idle timeout {IDLE_TIMEOUT} s)")
        server.send_signal(signal.SIGINT)
        status = server.wait(timeout=10)
        errors = server.stderr.read()
        (failures.append if status != 0 or "Traceback" in errors else print)(
            f"Ctrl-C: status {status}, {'a traceback' if 'Traceback' in errors else 'no traceback'}")
    finally:
        if server.poll() is None:
            server.kill()
            server.wait()
    expect(not failures, "\n".join(failures))


CHECKS = {"picture": check_picture, "matrices": check_matrices, "ending": check_ending, "no-webgl": check_no_webgl,
          "index": check_index, "server": check_server, "cannot-start": check_cannot_start,
          "context-loss": check_context_loss}


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--server", default="")
    parser.add_argument("--browser", default="")
    parser.add_argument("--x-state")
    parser.add_argument("--capture")
    parser.add_argument("--artifacts", required=True)
    parser.add_argument("--rate", type=float, help="picture: the program's rotation_rate, from the tests' table")
    parser.add_argument("--scale", type=float, help="picture: the program's colour_time_scale, from the tests' table")
    parser.add_argument("check", choices=sorted(CHECKS))
    parser.add_argument("program", nargs="?")
    args = parser.parse_args()
    chromium.end_on_signals()
    workdir = tempfile.mkdtemp(prefix="ormath-web-")
    try:
        CHECKS[args.check](args, args.program, workdir)
    except (CheckFailed, chromium.BrowserError) as failure:
        print(f"FAIL: {failure}")
        return 1
    finally:
        shutil.rmtree(workdir, ignore_errors=True)
    return 0


if __name__ == "__main__":
    sys.exit(main())
