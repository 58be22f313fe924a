#!/usr/bin/env python3
"""The static server and the headless Chromium the web tests share.

  web_fixture.py start-server STATE_FILE SITE
  web_fixture.py start-browser STATE_FILE
  web_fixture.py stop STATE_FILE

start-server serves SITE (the web build's site) on 127.0.0.1 at a free port;
start-browser starts Chromium with WebGL on SwiftShader and an empty profile.
Each writes "pid=PID" and where to reach it to STATE_FILE; stop ends that
process, by its id, with its children, and removes what it left.
"""
import os
import shutil
import signal
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "web"))
import chromium  # noqa: E402


def read_state(path):
    try:
        with open(path) as f:
            return dict(line.rstrip("\n").split("=", 1) for line in f if "=" in line)
    except OSError:
        return {}


def write_state(path, **values):
    with open(path, "w") as f:
        f.writelines(f"{key}={value}\n" for key, value in values.items())


def stop(path):
    state = read_state(path)
    if "pid" in state:
        try:
            os.killpg(int(state["pid"]), signal.SIGTERM)
            deadline = time.monotonic() + 5
            while time.monotonic() < deadline:
                os.killpg(int(state["pid"]), 0)
                time.sleep(0.1)
            os.killpg(int(state["pid"]), signal.SIGKILL)
        except ProcessLookupError:
            pass
    if "profile" in state:
        shutil.rmtree(state["profile"], ignore_errors=True)
    if os.path.exists(path):
        os.remove(path)


def main():
    if len(sys.argv) < 3 or sys.argv[1] not in ("start-server", "start-browser", "stop"):
        print(__doc__.strip(), file=sys.stderr)
        return 2
    command, path = sys.argv[1:3]
    if command == "stop":
        stop(path)
        return 0
    stop(path)  # whatever an interrupted run left
    log = path + ".log"
    try:
        if command == "start-server":
            site = sys.argv[3]
            if not os.path.exists(os.path.join(site, "index.html")):
                print(f"FAIL: no web site in {site}: build it with scripts/web.sh --build")
                return 1
            process, url = chromium.start_server(site, log)
            write_state(path, pid=process.pid, url=url, site=os.path.abspath(site))
            print(f"serving {site} at {url}")
        else:
            process, profile, port = chromium.start_browser(log_path=log)
            write_state(path, pid=process.pid, profile=profile, port=port)
            print(f"headless Chromium, DevTools on port {port}")
    except chromium.BrowserError as error:
        print(f"FAIL: {error}")
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
