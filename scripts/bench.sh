#!/usr/bin/env bash
# The benchmark command: installs what is missing, builds Release in
# build-bench/, runs every benchmark and measurement, and writes
# docs/performance.md with its plots (docs/perf-*.png). About 12 minutes on
# two cores; keep the machine otherwise idle for meaningful times.
#
#   scripts/bench.sh
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."

case "$#:${1:-}" in
    0:) ;;
    1:-h|1:--help) sed -n '2,7s/^# \{0,1\}//p' "$0"; exit 0 ;;
    *) echo "bench.sh: takes no arguments, not '$*'; usage: scripts/bench.sh" >&2; exit 2 ;;
esac

. scripts/guard.sh
. scripts/programs.sh
started=$SECONDS
build=build-bench
results=$build/results
guard_build_folder "$build"

stage() {
    echo "=== bench: $1 ($((SECONDS - started)) s so far)" >&2
}

stage "installing what is missing"
scripts/setup.sh build bench

stage "building (Release)"
run_child cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF \
    -DORMATH_DEMOS_BUILD_BENCHMARKS=ON >/dev/null
run_child cmake --build "$build" --parallel 2 >/dev/null
rm -rf "$results"
mkdir -p "$results" docs

# Google Benchmark: medians of 5 repetitions, run in random interleaved
# order so that a slow spell hits every implementation alike.
gbench() {
    run_child "$build/bench/$1" --benchmark_repetitions=5 --benchmark_enable_random_interleaving=true \
        --benchmark_report_aggregates_only=true --benchmark_min_time=0.1 \
        --benchmark_out="$results/$2.json" --benchmark_out_format=json >/dev/null
}
stage "Ormath micro-benchmarks, default target"
gbench ormath_bench_default ormath_default
stage "Ormath micro-benchmarks, -march=native"
gbench ormath_bench_native ormath_native
stage "colour step"
gbench colour_bench colour
stage "elementary functions beside glibc's and Eigen's"
gbench elementary_bench elementary

# The programs run on a private X server, stopped by its pid at exit.
. scripts/xvfb.sh
xvfb_start
# llvmpipe rasterises on the program's own thread: the second core is left
# to the X server, and the figure does not depend on how threads share two cores.
export LP_NUM_THREADS=0
export LIBGL_ALWAYS_SOFTWARE=1
renderer=$(glxinfo -B 2>/dev/null | sed -n 's/^OpenGL renderer string: //p')

stage "frame throughput and start-up (9 interleaved repetitions)"
run_child /usr/bin/python3 bench/measure.py throughput "$build" "$results/throughput.json" --reps 9 --warmup 1 --seconds 2.5
stage "memory"
run_child /usr/bin/python3 bench/measure.py memory "$build" "$results/memory.json"
stage "instructions per frame (callgrind)"
run_child /usr/bin/python3 bench/measure.py instructions "$build" "$results/instructions.json" --jobs 2 --keep "$results/callgrind"
xvfb_stop

stage "writing docs/performance.md"
duration="$(((SECONDS - started) / 60)) min $(((SECONDS - started) % 60)) s"
RENDERER="$renderer" DURATION="$duration" /usr/bin/python3 - "$results/machine.json" "$build/programs/$(demo_programs | head -n 1)" <<'EOF'
import json, os, platform, re, subprocess, sys

def run(*cmd):
    try:
        return subprocess.run(cmd, capture_output=True, text=True).stdout.strip()
    except OSError:
        return ""

def package(name):
    return run("dpkg-query", "-W", "-f=${Version}", name) or "not installed"

cpu = re.search(r"^Model name:\s*(.*)$", run("lscpu"), re.M)
memory = re.search(r"^MemTotal:\s*(\d+)", open("/proc/meminfo").read(), re.M)
os_name = re.search(r'^PRETTY_NAME="(.*)"', open("/etc/os-release").read(), re.M)
# The SDL library the programs actually load, and its package.
sdl_path = re.search(r"libSDL-1\.2\.so\.0 => (\S+)", run("ldd", sys.argv[2]))
sdl_package = run("dpkg", "-S", os.path.realpath(sdl_path.group(1))).split(":")[0] if sdl_path else ""
sdl = f"{sdl_package} {package(sdl_package)}" if sdl_package else "unknown"
machine = {
    "CPU": f"{cpu.group(1) if cpu else platform.processor()}, {os.cpu_count()} cores",
    "memory": f"{int(memory.group(1)) // 1024 // 1024} GiB",
    "system": f"{os_name.group(1) if os_name else 'unknown'}, Linux {platform.release()}",
    "compiler": run("c++", "--version").splitlines()[0],
    "OpenGL": f"{os.environ.get('RENDERER') or 'unknown'} (Mesa {package('libgl1-mesa-dri')}), on Xvfb "
              f"{package('xvfb')}, LP_NUM_THREADS={os.environ.get('LP_NUM_THREADS')}",
    "SDL": sdl,
    "libraries": f"Google Benchmark {package('libbenchmark-dev')} (Debian's build, which reports itself as a "
                 f"debug build), Eigen {package('libeigen3-dev')}, valgrind {package('valgrind')}",
}
with open(sys.argv[1], "w") as f:
    json.dump({"command": "scripts/bench.sh", "duration": os.environ["DURATION"], "machine": machine}, f, indent=1)
EOF
run_child /usr/bin/python3 bench/report.py "$results" docs
stage "done: docs/performance.md"
