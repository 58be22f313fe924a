#!/usr/bin/env python3
"""The project's commands met as a careless user meets them: each row runs
one command line and says what must come of it. Every row ends before the
command installs or builds anything.

  script_checks.py SOURCE_DIR
"""
import fcntl
import os
import re
import subprocess
import sys
import tempfile

USAGE = r"; usage: scripts/"
# (row, script, arguments, status, stderr as a regular expression that must
# match it whole; one line). "link:" runs the script through a symbolic link
# in a folder of its own, so that nothing beside the link is the checkout.
ROWS = [
    ("test.sh: an option's value missing", "test.sh", ["--sdl-headers"], 2,
     r"test\.sh: --sdl-headers needs a value, classic or compat" + USAGE + r"test\.sh .*"),
    ("test.sh: an option's value unknown", "test.sh", ["--sdl-headers", "new"], 2,
     r"test\.sh: --sdl-headers takes classic or compat, not 'new'" + USAGE + r"test\.sh .*"),
    ("test.sh: an unknown option", "test.sh", ["--fast"], 2, r"test\.sh: unknown option '--fast'" + USAGE + r".*"),
    ("web.sh: --port without a number", "web.sh", ["--port"], 2, r"web\.sh: --port needs a number" + USAGE + r".*"),
    ("web.sh: --port not a number", "web.sh", ["--port", "abc"], 2,
     r"web\.sh: --port takes a number from 0 to 65535, not 'abc'" + USAGE + r".*"),
    ("web.sh: --port out of range", "web.sh", ["--port", "65536"], 2, r"web\.sh: --port takes .*, not '65536'; .*"),
    ("web.sh: --port signed", "web.sh", ["--port", "-1"], 2, r"web\.sh: --port takes .*, not '-1'; .*"),
    ("setup.sh: an option's value missing", "setup.sh", ["build", "--sdl-headers"], 2,
     r"setup\.sh: --sdl-headers needs a value, classic or compat" + USAGE + r"setup\.sh .*"),
    ("lint.sh: two options", "lint.sh", ["--fix", "--fix"], 2, r"lint\.sh: takes at most one option" + USAGE + r".*"),
    ("bench.sh: an argument", "bench.sh", ["now"], 2, r"bench\.sh: takes no arguments, not 'now'" + USAGE + r".*"),
    ("demo.sh: two programs", "demo.sh", ["quad_fixed_arrays", "quad_fixed_arrays"], 2,
     r"demo\.sh: takes one program at most" + USAGE + r".*"),
    ("capture.sh: an unknown program", "capture.sh", ["quad_fixed_arrays", "bogus"], 2,
     r"capture\.sh: unknown program 'bogus'" + USAGE + r"capture\.sh .*, PROGRAM one of: (.* )?quad_fixed_arrays( .*)?"),
    ("setup.sh through a link finds what lies beside it", "link:setup.sh", ["bogus"], 2,
     r"setup\.sh: unknown option or group 'bogus'"),
    ("test.sh through a link", "link:test.sh", ["--sdl-headers"], 2, r"test\.sh: --sdl-headers needs a value.*"),
    # The check holds build-lint/'s lock as a running lint.sh would.
    ("lint.sh: a second run in the same build folder", "locked:lint.sh", [], 1,
     r"lint\.sh: another command is running in build-lint/ \(pid [^)]*\); wait for it to end, or use another "
     r"build folder"),
]


def run_row(source, workdir, script, arguments):
    if script.startswith("locked:"):
        folder = os.path.join(source, "build-lint")
        os.makedirs(folder, exist_ok=True)
        with open(os.path.join(folder, ".run.lock"), "a") as lock:
            try:
                fcntl.flock(lock, fcntl.LOCK_EX | fcntl.LOCK_NB)
            except BlockingIOError:
                pass  # a lint.sh that runs holds it: the same for the row
            return run_row(source, workdir, script.removeprefix("locked:"), arguments)
    path = os.path.join(source, "scripts", script.removeprefix("link:"))
    if script.startswith("link:"):
        link = os.path.join(workdir, "bin", os.path.basename(path))
        os.makedirs(os.path.dirname(link), exist_ok=True)
        if not os.path.lexists(link):
            os.symlink(path, link)
        path = link
    return subprocess.run([path] + arguments, cwd=workdir, stdin=subprocess.DEVNULL, capture_output=True,
                          text=True, timeout=60)


def main():
    source = os.path.abspath(sys.argv[1])
    failures = 0
    with tempfile.TemporaryDirectory() as workdir:
        for row, script, arguments, status, pattern in ROWS:
            result = run_row(source, workdir, script, arguments)
            problems = []
            if result.returncode != status:
                problems.append(f"status {result.returncode}, not {status}")
            if not re.fullmatch(pattern + r"\n", result.stderr):
                problems.append(f"stderr {result.stderr!r} is not one line matching {pattern!r}")
            if problems:
                failures += 1
                print(f"FAIL {row}: " + "; ".join(problems))
            else:
                print(f"ok   {row}: status {status}")
    print(f"{len(ROWS) - failures} passed, {failures} failed")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
