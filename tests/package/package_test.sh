#!/usr/bin/env bash
# Builds the programs' Debian package, installs it with apt-get as a user
# would, runs the installed quad_fixed_arrays on a private X server until a
# key ends it with status 0, and removes the package again.
set -euo pipefail
build_dir=$1 source_dir=$2
work=$(mktemp -d)
package=ormath-quad-demos
sudo=""
[ "$(id -u)" -eq 0 ] || sudo=sudo

cleanup() {
    [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null
    if dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
        DEBIAN_FRONTEND=noninteractive $sudo apt-get remove -y -qq "$package" >/dev/null
    fi
    rm -rf "$work"
    xvfb_stop
}
. "$source_dir/scripts/xvfb.sh"
trap cleanup EXIT

(cd "$work" && cpack -G DEB --config "$build_dir/CPackConfig.cmake" >/dev/null)
deb=$(ls "$work"/${package}_*.deb)
echo "package: $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$deb" >/dev/null
for program in quad_mathlib_arrays quad_mathlib_immediate quad_fixed_arrays quad_fixed_immediate; do
    [ -x "/usr/bin/$program" ] || { echo "package_test: /usr/bin/$program was not installed" >&2; exit 1; }
done
[ -f /usr/share/doc/$package/LICENSE ] || { echo "package_test: no licence in /usr/share/doc/$package" >&2; exit 1; }

xvfb_start
/usr/bin/quad_fixed_arrays &
pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --pid "$pid" | head -n 1) || true
[ -n "$window" ] || { echo "package_test: the installed program opened no window" >&2; exit 1; }
xdotool windowfocus --sync "$window" key --delay 50 space
status=0
timeout 10 tail --pid="$pid" -f /dev/null || { echo "package_test: no exit within 10 s of a key" >&2; exit 1; }
wait "$pid" || status=$?
pid=""
echo "installed quad_fixed_arrays ended with status $status"
[ "$status" -eq 0 ]
