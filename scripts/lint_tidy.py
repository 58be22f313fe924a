#!/usr/bin/env python3
"""clang-tidy on the project's own sources, as the build compiles them,
files in parallel, with a line of progress as each file is done.

  lint_tidy.py BUILD_DIR JOBS

Reads BUILD_DIR/compile_commands.json and takes each source inside the
checkout once. clang-tidy's findings are printed whole under the file they
belong to; only its count of warnings it did not show (those in system
headers) is left out. Exits 1 when any file has findings. SIGINT, SIGTERM
and SIGHUP end the clang-tidy runs in progress before it exits.
"""
import concurrent.futures
import json
import os
import re
import signal
import subprocess
import sys
import threading
import time

SUPPRESSED_COUNT = re.compile(r"^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings")

running = set()
lock = threading.Lock()
stopping = threading.Event()


def sources(build_dir):
    seen = []
    with open(os.path.join(build_dir, "compile_commands.json")) as f:
        for entry in json.load(f):
            path = os.path.relpath(os.path.join(entry["directory"], entry["file"]))
            if not path.startswith("..") and path not in seen:
                seen.append(path)
    return seen


def tidy(build_dir, path):
    start = time.monotonic()
    if stopping.is_set():
        return path, None, "", 0
    process = subprocess.Popen(["clang-tidy", "-p", build_dir, "--quiet", path], stdout=subprocess.PIPE,
                               stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL, text=True)
    with lock:
        running.add(process)
        if stopping.is_set():
            process.terminate()
    output, _ = process.communicate()
    with lock:
        running.discard(process)
    kept = "".join(line for line in output.splitlines(keepends=True) if not SUPPRESSED_COUNT.match(line.strip()))
    return path, process.returncode, kept, time.monotonic() - start


def stop(number, _frame):
    stopping.set()
    with lock:
        for process in running:
            process.terminate()
    raise KeyboardInterrupt


def main():
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        print("lint_tidy.py: usage: lint_tidy.py BUILD_DIR JOBS", file=sys.stderr)
        return 2
    build_dir, jobs = sys.argv[1], max(1, int(sys.argv[2]))
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop)
    files = sources(build_dir)
    failed = []
    done = 0
    pool = concurrent.futures.ThreadPoolExecutor(jobs)
    try:
        futures = [pool.submit(tidy, build_dir, path) for path in files]
        for future in concurrent.futures.as_completed(futures):
            path, status, output, seconds = future.result()
            done += 1
            if output.strip():
                sys.stdout.write(output if output.endswith("\n") else output + "\n")
            verdict = "clean" if status == 0 and not output.strip() else f"findings (status {status})"
            if status != 0:
                failed.append(path)
            print(f"lint: [{done}/{len(files)}] {path}: {verdict}, {seconds:.0f} s", flush=True)
    except KeyboardInterrupt:
        stopping.set()
        pool.shutdown(wait=True, cancel_futures=True)
        print(f"lint: interrupted after {done} of {len(files)} files", file=sys.stderr)
        return 130
    pool.shutdown()
    if failed:
        print(f"lint.sh: clang-tidy found problems in {len(failed)} of {len(files)} files: {' '.join(failed)}",
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
