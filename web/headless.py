#!/usr/bin/env python3
"""Each program's page in headless Chromium: runs it for about 3 seconds,
saves its canvas, presses a key and prints the program's exit status.

  headless.py SITE OUTPUT_FOLDER

Writes OUTPUT_FOLDER/<program>.png (640 x 480); exits 1 unless every
program ended with status 0.
"""
import base64
import os
import shutil
import sys
import tempfile
import time

import chromium

RUN_SECONDS = 3.0
# Starting Chromium and compiling a page's module on a busy machine.
LOAD_BOUND = 60


def shoot(page, url, png_path):
    """The page's status after a run, a saved canvas and a key press."""
    page.open(url)
    page.wait_for("window.__ormath && window.__ormath.frames > 0 || document.body.dataset.exitStatus",
                  LOAD_BOUND, "the first frame")
    started = time.monotonic()
    while time.monotonic() - started < RUN_SECONDS and page.evaluate("document.body.dataset.exitStatus") is None:
        time.sleep(0.1)
    if page.evaluate("document.body.dataset.exitStatus") is None:
        page.evaluate("window.__ormath.snap = true")
        data = page.wait_for("window.__ormath.png", 10, "the canvas")
        with open(png_path, "wb") as f:
            f.write(base64.b64decode(data.split(",", 1)[1]))
        page.press_key()
    status = page.wait_for("document.body.dataset.exitStatus", 10, "the program's end")
    line = page.evaluate("document.getElementById('status').textContent")
    return int(status), line


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    site, output = sys.argv[1:]
    chromium.end_on_signals()
    logs = tempfile.mkdtemp(prefix="ormath-web-")
    failed = None  # an interruption removes the logs too
    try:
        failed = run(site, output, logs)
    except chromium.BrowserError as error:
        print(f"headless.py: {error}", file=sys.stderr)
        failed = True
    finally:
        # The browser's and the server's logs stay only where a page failed.
        if failed:
            print(f"headless: the browser's and the server's logs are in {logs}", file=sys.stderr)
        else:
            shutil.rmtree(logs, ignore_errors=True)
    return 1 if failed else 0


def run(site, output, logs):
    """True when a program did not end with status 0."""
    failed = False
    with chromium.site_in_browser(site, logs) as (url, devtools):
        for program in chromium.site_programs(site):
            png = os.path.join(output, f"{program}.png")
            page = chromium.Page(devtools)
            try:
                status, line = shoot(page, f"{url}{program}.html", png)
            except chromium.BrowserError as error:
                status, line = None, str(error)
            page.close()
            failed = failed or status != 0
            saved = png if status == 0 else "no picture"
            print(f"{program}: status {status}, {saved}: {line}")
    return failed


if __name__ == "__main__":
    sys.exit(main())
