#!/usr/bin/env bash
# Checks the frame probe on a private Xvfb: it must count frames at the
# swap, attribute to the executable exactly the allocations its own code
# makes (probe_check makes two per frame, plus one through strdup), and end
# the program at its last mark with status 0.
#
#   probe_check.sh BUILD_DIR SOURCE_DIR
set -euo pipefail
build=$1
. "$2/scripts/xvfb.sh"
xvfb_start
out=$(mktemp)
trap 'rm -f "$out"; xvfb_stop' EXIT

# By bare name through the library path: the loader splits LD_PRELOAD at
# spaces, which the build folder's path may hold.
LP_NUM_THREADS=0 LD_LIBRARY_PATH="$build/bench${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}" \
    LD_PRELOAD=libframe_probe.so FRAMEPROBE_OUT="$out" \
    FRAMEPROBE_MARKS=10,30 timeout 60 "$build/bench/probe_check" 1000
python3 - "$out" <<'PY'
import sys
marks = [dict((k, int(v)) for k, v in (f.split("=") for f in line.split())) for line in open(sys.argv[1])]
frames = [m["frame"] for m in marks]
if frames != [1, 10, 30]:
    sys.exit(f"probe_check: marks at frames {frames}, expected [1, 10, 30]")
own = marks[2]["own_allocations"] - marks[1]["own_allocations"]
every = marks[2]["all_allocations"] - marks[1]["all_allocations"]
if own != 2 * 20:
    sys.exit(f"probe_check: {own} own allocations in 20 frames, expected 40")
if every < 3 * 20:
    sys.exit(f"probe_check: {every} allocations in all in 20 frames, expected at least 60")
if not (marks[1]["ns"] < marks[2]["ns"] and marks[2]["rss_kib"] > 0 and marks[2]["cpu_us"] > 0):
    sys.exit(f"probe_check: implausible marks {marks}")
PY
echo "probe_check: frames, own and all allocations counted as expected"
