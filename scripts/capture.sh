#!/usr/bin/env bash
# Records the first frames of each program on a private X server and writes
# docs/img/<program>.gif (every second frame of the first 120: a third of a
# turn, six colour swings) and docs/img/<program>.png (frame 45), as the
# README shows them. Frames are read back exactly, by number, by the display
# tests' capture library, so the pictures do not depend on timing.
#
#   scripts/capture.sh [PROGRAM...]     (default: every program)
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."

. scripts/programs.sh
all=$(demo_programs | tr '\n' ' ')
all=${all% }
programs=("$@")
[ ${#programs[@]} -gt 0 ] || read -r -a programs <<<"$all"
for program in "${programs[@]}"; do
    case "$program" in
        -h|--help) sed -n '2,8s/^# \{0,1\}//p' "$0"; exit 0 ;;
    esac
    case " $all " in
        *" $program "*) ;;
        *) echo "capture.sh: unknown program '$program'; usage: scripts/capture.sh [PROGRAM...]," \
               "PROGRAM one of: $all" >&2; exit 2 ;;
    esac
done

. scripts/guard.sh
guard_build_folder build
scripts/setup.sh build test headless
[ -f build/CMakeCache.txt ] || run_child cmake --preset dev >/dev/null
run_child cmake --build build --parallel "$(nproc)" --target frame_capture "${programs[@]}" >/dev/null
# Preloaded by its bare name and found through LD_LIBRARY_PATH: the loader
# splits LD_PRELOAD at spaces, which the checkout's path may hold.
capture_folder=$PWD/build/tests/display

. scripts/xvfb.sh
xvfb_start
work=$(mktemp -d)
pid=""
# A program started in the background ignores Ctrl-C: an interrupted
# capture ends it itself, before its X server.
trap '[ -z "$pid" ] || kill "$pid" 2>/dev/null || true; rm -rf "$work"; xvfb_stop' EXIT
mkdir -p docs/img

still=45
frames=$(seq -s, 2 2 120)
for program in "${programs[@]}"; do
    rm -rf "${work:?}"/*
    # SDL12COMPAT_OPENGL_SCALING=0: with the layer over SDL 2 the program
    # then draws into the window's own back buffer, which is what is read.
    ORMATH_CAPTURE_DIR=$work ORMATH_CAPTURE_FRAMES="$still,$frames" SDL12COMPAT_OPENGL_SCALING=0 \
        LD_LIBRARY_PATH="${LD_LIBRARY_PATH:+$LD_LIBRARY_PATH:}$capture_folder" LD_PRELOAD=libframe_capture.so \
        "build/programs/$program" &
    pid=$!
    for _ in $(seq 100); do
        [ -f "$work/frame_120.ppm" ] && break
        sleep 0.1
    done
    window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1)
    xdotool windowfocus --sync "$window" key --delay 50 space
    wait "$pid"
    pid=""
    [ -f "$work/frame_120.ppm" ] || { echo "capture.sh: $program did not reach frame 120" >&2; exit 1; }

    mapfile -t gif_frames < <(ls "$work"/frame_*.ppm | sort -t_ -k2 -n | grep -v "frame_$still.ppm")
    convert -delay 5 -loop 0 "${gif_frames[@]}" -resize 240x180 -layers Optimize "docs/img/$program.gif"
    convert "$work/frame_$still.ppm" -resize 320x240 "docs/img/$program.png"
    echo "capture.sh: docs/img/$program.gif, docs/img/$program.png"
done
