#!/usr/bin/env python3
"""Weight, first frame and frame rate of each program's page in headless
Chromium, written as the last section of docs/performance.md.

  measure.py SITE PERFORMANCE_MD

Each page is loaded 5 times in a fresh tab, one at a time; the figures are
medians. Weight is what the page fetches (its page, script and module),
each file as gzip -9 would send it. The first frame is the time from the
start of navigation to the end of the first animation-frame callback that
drew. The frame rate compares the frames the program drew over 3 seconds
with the animation frames the page was offered in that time.
"""
import datetime
import gzip
import os
import platform
import shutil
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.parse

import chromium

SECTION = "## 6. In the browser"
RUNS = 5
RATE_SECONDS = 3.0
WEIGHT_GOAL_KB = 100
FIRST_FRAME_GOAL_MS = 500


def weight(site, urls):
    """Bytes of the fetched files as gzip -9 compresses them."""
    total = 0
    for url in urls:
        name = os.path.basename(urllib.parse.urlparse(url).path)
        with open(os.path.join(site, name), "rb") as f:
            total += len(gzip.compress(f.read(), 9))
    return total


def one_run(devtools, site, url):
    page = chromium.Page(devtools)
    page.call("Network.enable")
    page.call("Network.setCacheDisabled", cacheDisabled=True)
    devtools.events.clear()
    page.open(url)
    page.wait_for("window.__ormath && window.__ormath.frames > 0", 60, "the first frame")
    first = page.evaluate("window.__ormath.firstFrame")
    start = page.evaluate("[window.__ormath.frames, window.__ormath.ticks, performance.now()]")
    time.sleep(RATE_SECONDS)
    end = page.evaluate("[window.__ormath.frames, window.__ormath.ticks, performance.now()]")
    fetched = sorted({e["params"]["request"]["url"] for e in devtools.events
                      if e["method"] == "Network.requestWillBeSent" and e.get("sessionId") == page.session
                      and e["params"]["request"]["url"].startswith("http")})
    page.close()
    seconds = (end[2] - start[2]) / 1000
    return {"weight": weight(site, fetched), "files": len(fetched), "first": first,
            "fps": (end[0] - start[0]) / seconds, "rate": (end[1] - start[1]) / seconds,
            "dropped": (end[1] - start[1]) - (end[0] - start[0])}


def section(results, seconds):
    version = subprocess.run(["chromium", "--version"], capture_output=True, text=True).stdout.strip()
    load = os.getloadavg()[0]
    lines = [SECTION, "",
             f"Written by `scripts/web.sh --measure` (took {seconds:.0f} s) on {datetime.date.today()}, "
             f"{platform.machine()}, {os.cpu_count()} cores (load average {load:.1f} at the end: SwiftShader "
             "renders on the CPU, so a busy machine lowers the frame rate and delays the first frame), "
             f"in headless {version} with WebGL on SwiftShader "
             "(software). Each page loaded 5 times in a fresh tab, one page at a time, from the local static "
             "server; medians. *Weight*: the page, its script and its WebAssembly module, each as `gzip -9` "
             "sends it. *First frame*: from the start of navigation to the end of the first animation-frame "
             "callback that drew. *Frame rate*: frames the program drew over 3 s against the animation frames "
             "the browser offered the page; *dropped* counts animation frames without a frame of ours "
             "(worst run).", "",
             f"Goals: at most {WEIGHT_GOAL_KB} KB gzip per page, the first frame within "
             f"{FIRST_FRAME_GOAL_MS} ms of navigation, one frame per animation frame.", "",
             "| page | weight KB (gzip) | first frame ms | frames/s | animation frames/s | dropped | goals |",
             "|---|---|---|---|---|---|---|"]
    for program, runs in results.items():
        kb = statistics.median(r["weight"] for r in runs) / 1000
        first = statistics.median(r["first"] for r in runs)
        fps = statistics.median(r["fps"] for r in runs)
        rate = statistics.median(r["rate"] for r in runs)
        dropped = max(r["dropped"] for r in runs)
        met = kb <= WEIGHT_GOAL_KB and first <= FIRST_FRAME_GOAL_MS and dropped == 0
        lines.append(f"| {program} | {kb:.1f} | {first:.0f} | {fps:.1f} | {rate:.1f} | {dropped} | "
                     f"{'met' if met else 'missed'} |")
    return "\n".join(lines) + "\n"


def main():
    if len(sys.argv) != 3:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    site, document = sys.argv[1:]
    started = time.monotonic()
    chromium.end_on_signals()
    logs = tempfile.mkdtemp(prefix="ormath-web-")
    results = {}
    keep_logs = False
    try:
        with chromium.site_in_browser(site, logs) as (url, devtools):
            for program in chromium.site_programs(site):
                results[program] = [one_run(devtools, site, f"{url}{program}.html") for _ in range(RUNS)]
                print(f"{program}: {results[program]}", file=sys.stderr)
    except chromium.BrowserError as error:
        # The logs stay for a browser that failed; an interruption removes them.
        keep_logs = True
        print(f"measure.py: {error}; the browser's and the server's logs are in {logs}", file=sys.stderr)
        return 1
    finally:
        if not keep_logs:
            shutil.rmtree(logs, ignore_errors=True)
    with open(document) as f:
        text = f.read()
    cut = text.find(SECTION)
    text = (text[:cut] if cut >= 0 else text).rstrip() + "\n\n"
    with open(document, "w") as f:
        f.write(text + section(results, time.monotonic() - started))
    print(f"measure: wrote the section \"{SECTION[3:]}\" of {document}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
