"""Headless Chromium driven through its DevTools protocol, and the static
server for the site: what scripts/web.sh --headless and the web tests share.

The protocol's WebSocket is python3-websocket's client. WebGL comes from
SwiftShader, Chromium's software renderer, so no GPU or display is needed.
"""
import contextlib
import json
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request


WIDTH, HEIGHT = 640, 480


def site_programs(site):
    """The programs of a built site: a page each, beside the index."""
    return sorted(name[:-len(".html")] for name in os.listdir(site) if name.endswith(".html") and name != "index.html")

# The network stays closed: no background requests, no updates, no sync, no
# QUIC; this machine's firewall would refuse them, and they cost time.
BROWSER_FLAGS = [
    "--headless", "--no-sandbox", "--use-gl=angle", "--use-angle=swiftshader", "--enable-unsafe-swiftshader",
    "--disable-quic", "--no-first-run", "--no-default-browser-check", "--disable-background-networking",
    "--disable-component-update", "--disable-sync", "--disable-extensions", "--mute-audio",
    # Every page runs at full rate whether or not it has the focus.
    "--disable-background-timer-throttling", "--disable-renderer-backgrounding",
    "--disable-backgrounding-occluded-windows",
    # Room for the index page's four programs, none of them scrolled out of view.
    "--window-size=1400,1600", "--remote-debugging-port=0",
    # Shared memory in TMPDIR, which is inside the profile, rather than in
    # /dev/shm, where a browser that is killed leaves its files.
    "--disable-dev-shm-usage",
]
# Chromium makes its singleton socket at TMPDIR/.org.chromium.Chromium.XXXXXX/
# SingletonSocket, and a socket's path holds at most 107 bytes: with the
# profile (and TMPDIR inside it) under a longer TMPDIR than this, the
# browser aborts. Such a profile goes in /tmp instead.
LONGEST_TMPDIR = 32


def end_on_signals():
    """SIGINT, SIGTERM and SIGHUP end this process through every finally
    block, so that what it started is stopped and removed, with the shell's
    status for the signal and no traceback."""
    def stop(number, _frame):
        raise SystemExit(128 + number)
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop)


class BrowserError(Exception):
    pass


# ------------------------------------------------------------------ processes

def start_server(site, log_path):
    """The site on 127.0.0.1 at a free port: (process, base URL)."""
    serve = os.path.join(os.path.dirname(os.path.abspath(__file__)), "serve.py")
    log = open(log_path, "w")
    process = subprocess.Popen([sys.executable, serve, site, "0"], stdout=subprocess.PIPE, stderr=log,
                               stdin=subprocess.DEVNULL, text=True, start_new_session=True)
    line = process.stdout.readline().strip()
    if not line.startswith("http://"):
        process.kill()
        process.wait()
        raise BrowserError(f"the static server did not start: {line!r}; see {log_path}")
    return process, line


def start_browser(extra_flags=(), log_path=os.devnull):
    """Headless Chromium with an empty profile: (process, profile folder, DevTools port)."""
    binary = shutil.which("chromium") or shutil.which("chromium-browser")
    if binary is None:
        raise BrowserError("chromium is not installed (scripts/web.sh installs it)")
    temp = tempfile.gettempdir()
    profile = tempfile.mkdtemp(prefix="ormath-chromium-", dir=temp if len(temp) <= LONGEST_TMPDIR else "/tmp")
    # Chromium leaves folders of its own in TMPDIR; inside the profile they go
    # when the profile does.
    scratch = os.path.join(profile, "tmp")
    os.mkdir(scratch)
    log = open(log_path, "w")
    process = subprocess.Popen([binary, f"--user-data-dir={profile}"] + BROWSER_FLAGS + list(extra_flags),
                               stdin=subprocess.DEVNULL, stdout=log, stderr=log, start_new_session=True,
                               env=dict(os.environ, TMPDIR=scratch))
    port_file = os.path.join(profile, "DevToolsActivePort")
    deadline = time.monotonic() + 60
    while time.monotonic() < deadline:
        if process.poll() is not None:
            break
        try:
            with open(port_file) as f:
                port = int(f.readline())
            return process, profile, port
        except (OSError, ValueError):
            time.sleep(0.1)
    stop_process(process)
    shutil.rmtree(profile, ignore_errors=True)
    raise BrowserError(f"chromium did not open its DevTools port; see {log_path}")


def stop_process(process, grace=5):
    """Ends a process started in a session of its own, with its children."""
    if process.poll() is None:
        try:
            os.killpg(process.pid, signal.SIGTERM)
            process.wait(timeout=grace)
        except subprocess.TimeoutExpired:
            os.killpg(process.pid, signal.SIGKILL)
            process.wait()
        except ProcessLookupError:
            pass


# ------------------------------------------------------------------ the protocol

@contextlib.contextmanager
def site_in_browser(site, logs):
    """Serves site and opens headless Chromium on it: yields (address, DevTools).
    Both end, and the browser's profile is removed, however the block ends."""
    server, url = start_server(site, os.path.join(logs, "server.log"))
    try:
        browser, profile, port = start_browser(log_path=os.path.join(logs, "chromium.log"))
        try:
            devtools = DevTools(port)
            try:
                yield url, devtools
            finally:
                devtools.close()
        finally:
            stop_process(browser)
            shutil.rmtree(profile, ignore_errors=True)
    finally:
        stop_process(server)


class DevTools:
    """One connection to the browser; pages are sessions on it."""

    def __init__(self, port, timeout=60):
        # Imported here: the server's own checks use this module too, in the
        # default suite, where the web group's python3-websocket may be absent.
        import websocket
        self.failures = (OSError, websocket.WebSocketException)
        with urllib.request.urlopen(f"http://127.0.0.1:{port}/json/version", timeout=timeout) as response:
            url = json.load(response)["webSocketDebuggerUrl"]
        try:
            # No proxy: DevTools listens on this machine only.
            self.socket = websocket.create_connection(url, timeout=timeout, suppress_origin=True,
                                                      http_no_proxy=["127.0.0.1", "localhost"])
        except self.failures as error:
            raise BrowserError(f"DevTools refused the WebSocket: {error}")
        self.next_id = 0
        self.events = []

    def call(self, method, session=None, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        try:
            self.socket.send(json.dumps(message))
            while True:
                reply = json.loads(self.socket.recv())
                if reply.get("id") == self.next_id:
                    if "error" in reply:
                        raise BrowserError(f"{method}: {reply['error'].get('message')}")
                    return reply.get("result", {})
                if "method" in reply:
                    self.events.append(reply)
        except self.failures as error:
            raise BrowserError(f"{method}: the DevTools connection failed: {error}")

    def close(self):
        self.socket.close()


# The page's side of the tests: counts the frames the program draws (one
# glClear each) and, right after the animation-frame callback that drew a
# wanted frame, reads the drawing buffer back; after that callback the
# browser presents and discards it. It also notes the frame count when the
# first key arrives, before the program's own handler sees it.
#
# For the frames whose matrices are wanted it keeps the model-view and
# projection matrices that the last draw call of the frame used, as the
# float bit patterns handed to WebGL (8 hex digits each, column by column).
# The legacy-GL emulation hands the program's own matrices over unchanged,
# as uniforms u_modelView and u_projection of its shader, and uploads one
# only when the program loaded it anew: each program's last upload is kept.
# With no such frames nothing of WebGL's but clear is wrapped.
FRAME_HOOK = r"""
(() => {
  const wanted = new Set(%s);
  const matrixFrames = new Set(%s);
  const state = {frames: 0, keyFrames: null, shots: {}, png: null, snap: false, firstFrame: null, matrices: {}};
  window.__ormath = state;
  let gl = null;
  const getContext = HTMLCanvasElement.prototype.getContext;
  HTMLCanvasElement.prototype.getContext = function (type, attributes) {
    const context = getContext.call(this, type, attributes);
    if (context && type.indexOf("webgl") >= 0) gl = context;
    return context;
  };
  let clears = 0;
  const clear = WebGLRenderingContext.prototype.clear;
  WebGLRenderingContext.prototype.clear = function (mask) { clears++; return clear.call(this, mask); };
  function grab(frame) {
    const pixels = new Uint8Array(%d * %d * 4);
    gl.readPixels(0, 0, %d, %d, gl.RGBA, gl.UNSIGNED_BYTE, pixels);
    let text = "";
    for (let i = 0; i < pixels.length; i += 0x8000) {
      text += String.fromCharCode.apply(null, pixels.subarray(i, i + 0x8000));
    }
    state.shots[frame] = btoa(text);
  }
  // Per shader program, the matrices last uploaded to it; those of the
  // frame's last draw call.
  const uniformNames = {u_modelView: "modelview", u_projection: "projection"};
  const locations = new Map();
  const uploaded = new Map();
  let drawn = null;
  if (matrixFrames.size) {
    const prototype = WebGLRenderingContext.prototype;
    const getUniformLocation = prototype.getUniformLocation;
    prototype.getUniformLocation = function (program, name) {
      const location = getUniformLocation.call(this, program, name);
      if (location && name in uniformNames) locations.set(location, [program, uniformNames[name]]);
      return location;
    };
    const uniformMatrix4fv = prototype.uniformMatrix4fv;
    prototype.uniformMatrix4fv = function (location, transpose, data) {
      const known = locations.get(location);
      if (known && !transpose) {  // WebGL refuses a transposed matrix
        if (!uploaded.has(known[0])) uploaded.set(known[0], {});
        uploaded.get(known[0])[known[1]] = Float32Array.from(data);  // the caller may reuse its array
      }
      return uniformMatrix4fv.apply(this, arguments);
    };
    for (const draw of ["drawArrays", "drawElements"]) {
      const real = prototype[draw];
      prototype[draw] = function () {
        drawn = Object.assign({}, uploaded.get(this.getParameter(this.CURRENT_PROGRAM)));
        return real.apply(this, arguments);
      };
    }
  }
  function hex(matrix) {
    return matrix ? Array.from(new Uint32Array(matrix.buffer), (word) => word.toString(16).padStart(8, "0")) : null;
  }
  function keepMatrices(frame) {
    state.matrices[frame] = drawn && {modelview: hex(drawn.modelview), projection: hex(drawn.projection)};
  }
  const requestFrame = window.requestAnimationFrame;
  window.requestAnimationFrame = function (callback) {
    return requestFrame.call(window, (time) => {
      const before = clears;
      drawn = null;
      try {
        callback(time);
      } finally {
        if (clears !== before && gl) {
          state.frames = clears;
          if (state.firstFrame === null) state.firstFrame = performance.now();
          if (wanted.has(clears)) grab(clears);
          if (matrixFrames.has(clears)) keepMatrices(clears);
          if (state.snap) {
            state.png = gl.canvas.toDataURL("image/png");
            state.snap = false;
          }
        }
      }
    });
  };
  addEventListener("keydown", () => { if (state.keyFrames === null) state.keyFrames = clears; }, true);
  // The page's animation frames, drawn into or not, to compare the frame rate with.
  state.ticks = 0;
  const tick = () => { state.ticks++; requestFrame.call(window, tick); };
  requestFrame.call(window, tick);
})();
"""


class Page:
    """A tab of the browser with the frame hook in place before any script runs."""

    def __init__(self, devtools, wanted_frames=(), matrix_frames=()):
        self.devtools = devtools
        target = devtools.call("Target.createTarget", url="about:blank")["targetId"]
        self.target = target
        self.session = devtools.call("Target.attachToTarget", targetId=target, flatten=True)["sessionId"]
        self.call("Page.enable")
        self.call("Runtime.enable")
        self.call("Log.enable")
        hook = FRAME_HOOK % (json.dumps(sorted(wanted_frames)), json.dumps(sorted(matrix_frames)), WIDTH, HEIGHT,
                             WIDTH, HEIGHT)
        self.call("Page.addScriptToEvaluateOnNewDocument", source=hook)

    def call(self, method, **params):
        return self.devtools.call(method, self.session, **params)

    def open(self, url):
        self.call("Page.navigate", url=url)

    def evaluate(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True)
        if "exceptionDetails" in result:
            raise BrowserError(f"{expression}: {result['exceptionDetails'].get('text')}")
        return result["result"].get("value")

    def wait_for(self, expression, bound, what):
        """Polls a page expression until it is truthy; its value."""
        deadline = time.monotonic() + bound
        problem = ""
        while True:
            try:
                value = self.evaluate(expression)
                if value:
                    return value
            except BrowserError as error:
                # While a page loads, its document may not have a body yet.
                problem = f" ({error})"
            if time.monotonic() > deadline:
                raise BrowserError(f"{what} not within {bound} s{problem}")
            time.sleep(0.05)

    def press_key(self):
        """A real key press, through the browser's input pipeline."""
        for kind in ("keyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, key="q", code="KeyQ", windowsVirtualKeyCode=81,
                      text="q" if kind == "keyDown" else "")

    def console_problems(self):
        """Errors and warnings the page logged, other than the program's stderr."""
        problems = []
        for event in self.devtools.events:
            if event.get("sessionId") != self.session:
                continue
            params = event.get("params", {})
            if event["method"] == "Runtime.exceptionThrown":
                problems.append(params["exceptionDetails"].get("text", "exception"))
            elif event["method"] == "Runtime.consoleAPICalled" and params.get("type") == "error":
                problems.append(" ".join(str(a.get("value")) for a in params.get("args", [])))
            elif event["method"] == "Log.entryAdded" and params["entry"].get("level") == "error":
                problems.append(params["entry"].get("text", ""))
        return problems

    def close(self):
        self.devtools.call("Target.closeTarget", targetId=self.target)
