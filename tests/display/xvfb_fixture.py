#!/usr/bin/env python3
"""The X server the display tests share.

  xvfb_fixture.py start STATE_FILE WINDOW_PROBE [DRIVER [LSAN_SUPPRESSIONS]]
  xvfb_fixture.py stop STATE_FILE

start uses the display named by DISPLAY when there is one; otherwise it starts
Xvfb with GLX on a display number the server picks itself (-displayfd, so two
runs never race for one), checks that GLX offers a double-buffered visual, and
writes "display=:N" and "pid=PID" to STATE_FILE. Its second screen has 30 bits
per pixel, 10 per colour channel ("deep_screen=:N.1"), for the tests of a
screen that the classic SDL 1.2 cannot serve. DRIVER and
LSAN_SUPPRESSIONS serve the probe of a sanitizer build, as in
display_checks.py. When no such server can be had it writes
"unavailable=REASON": the tests then skip, except under CI=true, where this
step fails and so does every test that needs it.
stop ends the Xvfb that start began, by its process id, and removes the file.
"""
import os
import select
import shutil
import signal
import subprocess
import sys
import time


def is_xvfb(pid):
    try:
        with open(f"/proc/{pid}/cmdline", "rb") as f:
            return os.path.basename(f.read().split(b"\0")[0]) == b"Xvfb"
    except OSError:
        return False


def stop_server(pid):
    if not is_xvfb(pid):
        return
    os.kill(pid, signal.SIGTERM)
    deadline = time.monotonic() + 5
    while is_xvfb(pid) and time.monotonic() < deadline:
        time.sleep(0.05)
    if is_xvfb(pid):
        os.kill(pid, signal.SIGKILL)


def read_state(path):
    state = {}
    try:
        with open(path) as f:
            for line in f:
                key, _, value = line.rstrip("\n").partition("=")
                state[key] = value
    except OSError:
        pass
    return state


def probe_environment(probe, display, driver, suppressions):
    """As the display checks run the probe: in a sanitizer build with leak
    detection on, the third-party suppressions, and Mesa's driver preloaded
    after the ASan runtime so that its leaks keep its name."""
    env = dict(os.environ, DISPLAY=display)
    env.pop("LD_PRELOAD", None)
    result = subprocess.run(["ldd", probe], capture_output=True, text=True, timeout=10)
    runtimes = [line.split("=>")[1].split()[0] for line in result.stdout.splitlines()
                if "libasan.so" in line and "=>" in line]
    if runtimes:
        env["LD_PRELOAD"] = " ".join(runtimes + ([driver] if driver and os.path.exists(driver) else []))
        if suppressions:
            env["LSAN_OPTIONS"] = ":".join(filter(None, [env.get("LSAN_OPTIONS"), f'suppressions="{suppressions}"']))
    return env


def has_glx(probe, display, driver=None, suppressions=None):
    env = probe_environment(probe, display, driver, suppressions)
    try:
        result = subprocess.run([probe, "glx"], env=env, capture_output=True, text=True, timeout=20)
    except subprocess.TimeoutExpired:
        return "the GLX check did not answer within 20 s"
    return None if result.returncode == 0 else (result.stderr.strip() or "the GLX check failed")


def start_xvfb(log_path):
    """Returns (display, pid) or raises RuntimeError with the reason."""
    xvfb = shutil.which("Xvfb")
    if xvfb is None:
        raise RuntimeError("Xvfb is not installed (Debian: xvfb)")
    read_end, write_end = os.pipe()
    with open(log_path, "wb") as log:
        # A session of its own and no pipe shared with CTest: the server
        # outlives this step, and CTest must not wait for its output.
        server = subprocess.Popen(
            [xvfb, "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-screen", "1", "1024x768x30",
             "+extension", "GLX",
             "-noreset", "-nolisten", "tcp"],
            stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(write_end,), start_new_session=True)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 15
    while not number.endswith(b"\n") and time.monotonic() < deadline:
        ready, _, _ = select.select([read_end], [], [], 0.1)
        if ready:
            chunk = os.read(read_end, 16)
            if not chunk:
                break
            number += chunk
        elif server.poll() is not None:
            break
    os.close(read_end)
    if not number.strip().isdigit():
        if server.poll() is None:
            stop_server(server.pid)
        with open(log_path, errors="replace") as log:
            last = (log.read().strip().splitlines() or ["no message"])[-1]
        raise RuntimeError(f"Xvfb did not start: {last}")
    return ":" + number.decode().strip(), server.pid


def start(state_path, probe, driver=None, suppressions=None):
    old = read_state(state_path)
    if old.get("pid", "").isdigit():  # left by a run that was killed
        stop_server(int(old["pid"]))
    lines, pid = [], None
    try:
        display = os.environ.get("DISPLAY", "")
        if display:
            lines.append(f"display={display}")
        else:
            display, pid = start_xvfb(state_path + ".log")
            lines += [f"display={display}", f"deep_screen={display}.1"]
        problem = has_glx(probe, display, driver, suppressions)
        if problem:
            raise RuntimeError(f"display {display} has no usable GLX: {problem}")
        if pid is not None:
            lines.append(f"pid={pid}")
    except RuntimeError as error:
        if pid is not None:
            stop_server(pid)
        lines.append(f"unavailable={error}")
        print(f"xvfb_fixture: {error}", file=sys.stderr)
    with open(state_path, "w") as f:
        f.write("".join(line + "\n" for line in lines))
    if any(line.startswith("unavailable=") for line in lines):
        return 1 if os.environ.get("CI") == "true" else 0
    print(f"xvfb_fixture: using display {lines[0].split('=', 1)[1]}")
    return 0


def stop(state_path):
    state = read_state(state_path)
    if state.get("pid", "").isdigit():
        stop_server(int(state["pid"]))
    for path in (state_path, state_path + ".log"):
        if os.path.exists(path):
            os.remove(path)
    return 0


if __name__ == "__main__":
    if len(sys.argv) in (4, 5, 6) and sys.argv[1] == "start":
        sys.exit(start(*sys.argv[2:]))
    if len(sys.argv) == 3 and sys.argv[1] == "stop":
        sys.exit(stop(sys.argv[2]))
    sys.exit("usage: xvfb_fixture.py start STATE_FILE WINDOW_PROBE [DRIVER [LSAN_SUPPRESSIONS]] | stop STATE_FILE")
