#!/usr/bin/env bash
# The demo command: installs what building and showing a program needs
# (nothing for the tests), builds it in the dev preset's folder, runs it.
#
#   scripts/demo.sh [PROGRAM]      (default: the first in programs/CMakeLists.txt)
#
# With a display the program opens its window; any key or closing the window
# ends it. Without one (DISPLAY unset) it runs for a few seconds on a private
# X server, a screenshot of its window is saved under build/, and a key ends it.
set -euo pipefail
# The checkout is the folder above this script's own, also when run through a link.
cd "$(dirname "$(readlink -f "$0")")/.."

. scripts/programs.sh
programs=$(demo_programs | tr '\n' ' ')
programs=${programs% }
program=${1:-${programs%% *}}
usage="usage: scripts/demo.sh [PROGRAM], PROGRAM one of: $programs"
case "$program" in
    -h|--help) sed -n '2,9s/^# \{0,1\}//p' "$0"; exit 0 ;;
esac
[ $# -le 1 ] || { echo "demo.sh: takes one program at most; $usage" >&2; exit 2; }
case " $programs " in
    *" $program "*) ;;
    *) echo "demo.sh: unknown program '$program'; $usage" >&2; exit 2 ;;
esac

. scripts/guard.sh
guard_build_folder build
groups=(build)
[ -n "${DISPLAY:-}" ] || groups+=(headless)
scripts/setup.sh "${groups[@]}"
# The tests are not configured here, so that their packages are not needed;
# scripts/test.sh turns them on in the same folder and reuses what is built.
[ -f build/CMakeCache.txt ] || run_child cmake --preset dev -DBUILD_TESTING=OFF >/dev/null
echo "--- building $program"
run_child cmake --build build --parallel "$(nproc)" --target "$program" >/dev/null
binary="build/programs/$program"

if [ -n "${DISPLAY:-}" ]; then
    status=0
    "$binary" || status=$?
    echo "$program ended with status $status"
    exit "$status"
fi

. scripts/xvfb.sh
xvfb_start
"$binary" &
pid=$!
# A program started in the background ignores Ctrl-C: an interrupted demo
# ends it itself, before its X server.
trap '{ kill "$pid" && wait "$pid"; } 2>/dev/null || true; xvfb_stop' EXIT
window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
if [ -z "$window" ]; then
    kill "$pid" 2>/dev/null || true
    echo "demo.sh: $program opened no window on $DISPLAY" >&2
    exit 1
fi
sleep 3
picture="build/$program.png"
import -window "$window" "$picture"
xdotool windowfocus --sync "$window" key --delay 50 space
status=0
timeout 10 tail --pid="$pid" -f /dev/null || { kill "$pid" 2>/dev/null; echo "demo.sh: $program did not end on a key" >&2; }
wait "$pid" || status=$?
echo "$program ended with status $status; its window after 3 seconds: $picture"
exit "$status"
