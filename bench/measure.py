#!/usr/bin/env python3
"""Runs the demos and the benchmark's reference programs under the frame
probe, and the per-frame harnesses under callgrind; writes JSON results.

  measure.py throughput   BUILD OUT.json [--reps 9 --warmup 1 --seconds 3]
  measure.py memory       BUILD OUT.json
  measure.py instructions BUILD OUT.json [--jobs 2] [--programs NAME,...]

--programs limits the instruction counts to the named programs' frames
(no clock harness): the quick check that a change kept the per-frame figures.

The programs need DISPLAY (an X server with GLX) and LP_NUM_THREADS set.
"""
import argparse
import concurrent.futures
import json
import os
import re
import signal
import subprocess
import sys
import tempfile
import threading
import time

REFERENCES = ["bare_quad", "null_frame"]


def demo_programs(build):
    """The programs as the build lists them (BUILD/programs.json)."""
    with open(os.path.join(build, "programs.json")) as f:
        return [program["name"] for program in json.load(f)]


class Interrupted(Exception):
    pass


# The runs in progress, so that an interruption ends them at once: callgrind
# would otherwise go on for half a minute and report its killed guest.
RUNNING = set()
RUNNING_LOCK = threading.Lock()
STOPPING = threading.Event()


def run(command, timeout, **options):
    """subprocess.run for the measured programs, which stop() can end."""
    if STOPPING.is_set():
        raise Interrupted
    with subprocess.Popen(command, **options) as process:
        with RUNNING_LOCK:
            RUNNING.add(process)
            if STOPPING.is_set():
                process.kill()
        try:
            stdout, stderr = process.communicate(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            process.wait()
            raise
        finally:
            with RUNNING_LOCK:
                RUNNING.discard(process)
    if STOPPING.is_set():
        raise Interrupted
    return subprocess.CompletedProcess(command, process.returncode, stdout, stderr)


def stop(_number, _frame):
    STOPPING.set()
    with RUNNING_LOCK:
        for process in RUNNING:
            process.kill()
    raise Interrupted


def die(message):
    print(f"measure: {message}", file=sys.stderr)
    sys.exit(1)


def binary(build, name):
    folder = "bench" if name in REFERENCES else "programs"
    path = os.path.realpath(os.path.join(build, folder, name))
    if not os.access(path, os.X_OK):
        die(f"{path} is not built")
    return path


def probe(build):
    path = os.path.join(build, "bench", "libframe_probe.so")
    if not os.path.exists(path):
        die(f"{path} is not built")
    return path


def run_probed(build, name, marks_env, timeout, wrapper=(), extra_env=None):
    """Runs one program under the probe; returns (exec ns, [marks])."""
    with tempfile.NamedTemporaryFile("r", suffix=".marks") as out:
        env = dict(os.environ)
        # By bare name through the library path: the loader splits
        # LD_PRELOAD at spaces, which the build folder's path may hold.
        folder = os.path.dirname(probe(build))
        library_path = ":".join(filter(None, [folder, env.get("LD_LIBRARY_PATH")]))
        env.update({"LD_LIBRARY_PATH": library_path, "LD_PRELOAD": os.path.basename(probe(build)),
                    "FRAMEPROBE_OUT": out.name})
        env.update(marks_env)
        env.update(extra_env or {})
        started = time.clock_gettime_ns(time.CLOCK_MONOTONIC)
        try:
            done = run([*wrapper, binary(build, name)], env=env, timeout=timeout,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
        except subprocess.TimeoutExpired:
            die(f"{name} did not finish within {timeout} s")
        if done.returncode != 0:
            tail = done.stderr.strip().splitlines()[-1:] or ["no message"]
            die(f"{name} exited with status {done.returncode}: {tail[0]}")
        marks = [{k: int(v) for k, v in (f.split("=") for f in line.split())} for line in out if line.strip()]
    if not marks:
        die(f"{name} swapped no frame")
    return started, marks


def throughput(args):
    """Frame rate of every program and reference, interleaved: each
    repetition runs all of them once, in an order rotated by one each time,
    so that a slow spell of the shared machine hits all alike."""
    names = REFERENCES + demo_programs(args.build)
    runs = {name: [] for name in names}
    for rep in range(args.reps):
        order = names[rep % len(names):] + names[:rep % len(names)]
        for name in order:
            started, marks = run_probed(args.build, name, {"FRAMEPROBE_SECONDS": f"{args.warmup},{args.seconds}"},
                                        timeout=args.warmup + args.seconds + 60)
            first, begin, end = marks[0], marks[1], marks[2]
            fps = (end["frame"] - begin["frame"]) / ((end["ns"] - begin["ns"]) / 1e9)
            cpu_us = (end["cpu_us"] - begin["cpu_us"]) / (end["frame"] - begin["frame"])
            runs[name].append({"rep": rep, "fps": fps, "cpu_us_per_frame": cpu_us,
                               "startup_ms": (first["ns"] - started) / 1e6, "startup_cpu_ms": first["cpu_us"] / 1e3})
        print(f"measure: throughput repetition {rep + 1}/{args.reps}: " +
              ", ".join(f"{n} {runs[n][-1]['fps']:.0f}" for n in names), file=sys.stderr)
    return {"reps": args.reps, "warmup_s": args.warmup, "seconds": args.seconds,
            "lp_num_threads": os.environ.get("LP_NUM_THREADS"), "runs": runs}


def memory(args):
    """Allocations and resident memory over 10,000 frames after the first 100."""
    result = {}
    for name in REFERENCES + demo_programs(args.build):
        _, marks = run_probed(args.build, name, {"FRAMEPROBE_MARKS": "100,5100,10100"}, timeout=300)
        m100, m5100, m10100 = marks[1], marks[2], marks[3]
        frames = m10100["frame"] - m100["frame"]
        result[name] = {
            "frames": frames,
            "own_allocations": m10100["own_allocations"] - m100["own_allocations"],
            "all_allocations": m10100["all_allocations"] - m100["all_allocations"],
            "startup_own_allocations": m100["own_allocations"],
            "rss_kib_at_100": m100["rss_kib"], "rss_kib_at_5100": m5100["rss_kib"],
            "peak_kib": m10100["peak_kib"],
        }
        print(f"measure: memory {name}: {result[name]}", file=sys.stderr)
    return result


# ---------------------------------------------------------------- callgrind

LIBM_TRIG = re.compile(r"^(__)?(sin|cos|sincos)f(_\w+)?$")


def parse_callgrind(path):
    """Self cost per (object, function), cost of the calls made to each
    (object, function), and the total, from a callgrind output file. A call
    still in progress when the counts were dumped is written with a count of
    0 but its cost so far, which belongs to the callee like any other."""
    names = {}
    self_cost, called_cost = {}, {}
    total = 0
    ob = fn = cob = cfn = None
    in_call = False

    def resolve(kind, text):
        m = re.match(r"^\((\d+)\)(?: (.*))?$", text)
        if not m:
            return text
        if m.group(2) is not None:
            names[(kind, m.group(1))] = m.group(2)
        return names[(kind, m.group(1))]

    with open(path) as f:
        for line in f:
            line = line.rstrip("\n")
            if not line:
                continue
            if line[0].isdigit() or line[0] in "+-*":
                parts = line.split()
                ir = int(parts[1]) if len(parts) > 1 else 0
                if in_call:
                    key = (cob or ob, cfn)
                    called_cost[key] = called_cost.get(key, 0) + ir
                    in_call, cob = False, None
                else:
                    self_cost[(ob, fn)] = self_cost.get((ob, fn), 0) + ir
            elif line.startswith("fn="):
                fn = resolve("fn", line[3:])
            elif line.startswith("cfn="):
                cfn = resolve("fn", line[4:])
            elif line.startswith("ob="):
                ob = resolve("ob", line[3:])
            elif line.startswith("cob="):
                cob = resolve("ob", line[4:])
            elif line.startswith("calls="):
                in_call = True
            elif line.startswith("totals:") or line.startswith("summary:"):
                total = int(line.split()[1])
            elif "=" in line.split(":")[0]:
                kind, _, text = line.partition("=")
                if kind in ("fl", "fi", "fe", "cfi", "cfl"):
                    resolve("fl", text)
    return self_cost, called_cost, total


def own_cost(self_cost, executable, skip=()):
    """The project's own instructions: functions of the executable (not its
    PLT stubs, which have no name) and libm's sinf/cosf, by function."""
    per_function = {}
    for (ob, function), ir in self_cost.items():
        if function is None:
            continue
        mine = ob == executable and not function.startswith("0x") and function not in skip
        if mine or LIBM_TRIG.match(function):
            per_function[function] = per_function.get(function, 0) + ir
    return per_function


def callgrind(command, out_file, env=None):
    done = run(["valgrind", "--tool=callgrind", f"--callgrind-out-file={out_file}", *command],
                          env=env, stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True, timeout=600)
    if done.returncode != 0:
        die(f"callgrind on {os.path.basename(command[0])} failed: {done.stderr.strip().splitlines()[-1:]}")


def program_instructions(build, name, folder, short, long):
    """One run under callgrind that dumps its counts at frame `short` and
    again at frame `long`: the second dump is what a run of `long` frames
    costs beyond one of `short` frames, start-up excluded."""
    out = os.path.join(folder, f"{name}.callgrind")
    run_probed(build, name, {"FRAMEPROBE_MARKS": f"{short},{long}", "FRAMEPROBE_DUMP": "1"}, timeout=900,
               wrapper=["valgrind", "--tool=callgrind", f"--callgrind-out-file={out}"])
    part = out + ".2"
    frames = long - short
    self_cost, called_cost, total = parse_callgrind(part)
    exe = binary(build, name)
    own = own_cost(self_cost, exe)
    stage = {f: called_cost.get((exe, f), 0) / frames
             for f in ("library_modelview(float)", "fixed_modelview(float)", "animate_colours(float)",
                       "draw_quad_arrays()", "draw_quad_immediate()", "scene_render(float)")
             if (exe, f) in called_cost}
    # The first dump: start-up and the first `short` frames.
    _, _, before = parse_callgrind(out + ".1")
    return {"frames": frames, "total": total / frames, "own": sum(own.values()) / frames,
            "startup": before - short * total / frames,
            "own_by_function": {f: v / frames for f, v in sorted(own.items(), key=lambda kv: -kv[1])},
            "inclusive": stage}


def harness_instructions(build, name, folder, clock, short, long):
    """scene_render over the GL stubs: a run of `long` frames minus one of
    `short` frames, from the same clock value."""
    exe = os.path.realpath(os.path.join(build, "bench", f"frame_cost_{name}"))
    runs = {}
    for frames in (short, long):
        out = os.path.join(folder, f"frame_cost_{name}.{clock}.{frames}.callgrind")
        callgrind([exe, clock, str(frames)], out)
        self_cost, _, _ = parse_callgrind(out)
        stubs = {f for _, f in self_cost if f and re.match(r"^glu?[A-Z]", f)}
        runs[frames] = sum(own_cost(self_cost, exe, skip=stubs | {"main"}).values())
    return (runs[long] - runs[short]) / (long - short)


def instructions(args):
    folder = args.keep or tempfile.mkdtemp(prefix="callgrind.")
    os.makedirs(folder, exist_ok=True)
    result = {"programs": {}, "harness": {}, "short": args.short, "long": args.long}
    programs = demo_programs(args.build)
    names = args.programs.split(",") if args.programs else REFERENCES + programs
    unknown = sorted(set(names) - set(REFERENCES + programs))
    if unknown:
        die(f"unknown program {unknown[0]}")
    with concurrent.futures.ThreadPoolExecutor(max_workers=args.jobs) as pool:
        jobs = {pool.submit(program_instructions, args.build, n, folder, args.short, args.long): n for n in names}
        # Clock values: the first frames from 1.0 on, then ever larger ones up
        # to just under 2^21, where the clock reaches its ceiling after eight
        # frames and stays.
        clocks = {"1": "0.9", "1000": "999.9", "2^20": "1048575.9", "2^21": "2097151"}
        hjobs = {pool.submit(harness_instructions, args.build, n, folder, c, 1000, 3000): (n, label)
                 for n in ([] if args.programs else programs) for label, c in clocks.items()}
        for job, name in jobs.items():
            result["programs"][name] = job.result()
            stage = result["programs"][name]["inclusive"]
            transform = stage.get("library_modelview(float)", stage.get("fixed_modelview(float)"))
            print(f"measure: instructions {name}: total {result['programs'][name]['total']:.0f}, "
                  f"own {result['programs'][name]['own']:.1f} per frame" +
                  (f", transform stage {transform:.1f} at its call site" if transform is not None else ""),
                  file=sys.stderr)
        for job, (name, label) in hjobs.items():
            result["harness"].setdefault(name, {})[label] = job.result()
    return result


def main():
    parser = argparse.ArgumentParser(description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("what", choices=["throughput", "memory", "instructions"])
    parser.add_argument("build")
    parser.add_argument("out")
    parser.add_argument("--reps", type=int, default=9)
    parser.add_argument("--warmup", type=float, default=1.0)
    parser.add_argument("--seconds", type=float, default=3.0)
    parser.add_argument("--jobs", type=int, default=2)
    parser.add_argument("--short", type=int, default=50)
    parser.add_argument("--long", type=int, default=250)
    parser.add_argument("--keep", help="folder for the callgrind files")
    parser.add_argument("--programs", help="instructions: only these programs, comma-separated, no clock harness")
    args = parser.parse_args()
    if "DISPLAY" not in os.environ:
        die("DISPLAY is not set: the programs need an X server")
    for number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP):
        signal.signal(number, stop)
    try:
        result = {"throughput": throughput, "memory": memory, "instructions": instructions}[args.what](args)
    except Interrupted:
        STOPPING.set()
        print("measure: interrupted; the runs in progress are stopped", file=sys.stderr)
        return 130
    with open(args.out, "w") as f:
        json.dump(result, f, indent=1)


if __name__ == "__main__":
    sys.exit(main())
